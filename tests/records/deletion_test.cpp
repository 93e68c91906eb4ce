#include "core/shown_texts.h"
#include "records/deletion.h"
#include "support/window_fixture.h"

using namespace pylomir;
using namespace pylomir::testing;
using core::MsgAnswer;

namespace {

class DeletionTest : public WindowFixture {
protected:
    records::Deletion& deletion() { return window->deletion(); }
    // Files on the fake disk, listed in this order.
    void list(const QStringList& names, qint64 size = 100) {
        QStringList paths;
        for (const QString& n : names) {
            fs.add(QStringLiteral("/r/") + n, size);
            paths << QStringLiteral("/r/") + n;
        }
        model().foundList.assign(paths);
    }
    bool onDisk(const QString& name) {
        return fs.findFirst(QStringLiteral("/r/") + name).has_value();
    }
    QStringList listed() { return model().foundList.paths(); }
    // The deleted names in the order they were deleted, from the log blocks.
    QStringList deletedInOrder() {
        QStringList names;
        const QStringList& log = model().records.logBlocks;
        for (qsizetype i = 1; i < log.size(); i += 8)
            names << log[i].mid(13);
        return names;
    }
};

// Selection decides, never the check mark or the current entry; the last
// entry goes first.
TEST_F(DeletionTest, SelectedEntriesGoLastToFirstWhateverIsCheckedOrCurrent) {
    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("c.tmp")});
    core::FoundList& found = model().foundList;
    found.setSelected(0, true);
    found.setSelected(2, true);
    found.setChecked(0, true);
    found.setChecked(1, true); // checked, not selected: stays
    found.setCurrent(1);
    ui.answers = {MsgAnswer::Yes};
    deletion().deleteSelected();

    EXPECT_EQ(deletedInOrder(), QStringList({"c.tmp", "a.tmp"}));
    EXPECT_EQ(listed(), QStringList({"/r/b.tmp"}));
    EXPECT_TRUE(onDisk(QStringLiteral("b.tmp")));
    EXPECT_EQ(model().status.statusText, "Usunięto zaznaczone pliki");
    EXPECT_EQ(model().scan.foundCaption, core::FoundCaption::Remaining);
    EXPECT_EQ(model().scan.foundCount, 1);
    EXPECT_EQ(core::sessionDeletedFilesText(model().records), "2 plików");
    EXPECT_EQ(model().records.deletedPathLines,
              QStringList({"Lokalizacja: /r/c.tmp", "Lokalizacja: /r/a.tmp"}));
}

TEST_F(DeletionTest, NoAndCancelDeleteNothingAndNoRunsTheBackup) {
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel}) {
        SetUp();
        int backups = 0;
        deletion().backupAll = [&backups] {
            ++backups;
            return records::Deletion::BackupBeforeDeletion{true, {}};
        };
        list({QStringLiteral("a.tmp")});
        model().foundList.setSelected(0, true);
        ui.answers = {answer};
        deletion().deleteSelected();
        EXPECT_EQ(listed().size(), 1);
        EXPECT_TRUE(onDisk(QStringLiteral("a.tmp")));
        EXPECT_EQ(backups, answer == MsgAnswer::No ? 1 : 0);
    }
}

// The quick delete takes everything left after the ignore comparison, and
// nothing on an ignore list at that moment, path or mask.
TEST_F(DeletionTest, QuickDeleteTakesAllButWhatIsIgnoredNow) {
    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("keep.bak"),
          QStringLiteral("d.tmp")});
    model().ignore.ignoredFiles.append(QStringLiteral("/r/b.tmp"));
    model().ignore.ignoredMasks = {QStringLiteral("KEEP.*")}; // added after the scan
    model().foundList.setChecked(0, true);
    model().options.backupBeforeQuickDelete = false;
    deletion().quickDelete();

    EXPECT_EQ(deletedInOrder(), QStringList({"d.tmp", "a.tmp"}));
    EXPECT_TRUE(onDisk(QStringLiteral("b.tmp")));
    EXPECT_TRUE(onDisk(QStringLiteral("keep.bak")));
    EXPECT_EQ(listed(), QStringList({"/r/keep.bak"}));
    EXPECT_EQ(deletion().lastOutcome().skipped, 1);
    EXPECT_TRUE(model().foundListEnabled);
    EXPECT_FALSE(model().alert.shownAlert);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DeletionTest, QuickDeleteStopsWhenTheBackupStopsAndSaysSoOnAnEmptyList) {
    deletion().backupAll = [] { return records::Deletion::BackupBeforeDeletion{}; };
    deletion().quickDelete();
    EXPECT_EQ(ui.texts(), QStringList({"Brak plików na liście przeznaczonych do usunięcia !"}));

    list({QStringLiteral("a.tmp")});
    model().options.backupBeforeQuickDelete = true;
    deletion().quickDelete();
    EXPECT_TRUE(onDisk(QStringLiteral("a.tmp")));
    EXPECT_EQ(listed().size(), 1);
    EXPECT_TRUE(model().foundListEnabled);
}

// After a backup only what the archive holds whole goes; the rest stays
// listed and is named. While an archive operation runs nothing is deleted.
TEST_F(DeletionTest, QuickDeleteTakesOnlyWhatTheBackupStored) {
    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("c.tmp")});
    model().options.backupBeforeQuickDelete = true;
    deletion().backupAll = [] {
        return records::Deletion::BackupBeforeDeletion{true, {"/r/a.tmp", "/r/c.tmp"}};
    };
    model().archive.busy = true;
    deletion().quickDelete();
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(ui.texts(), QStringList({QString::fromUtf8(core::kArchiveBusyMessage)}));

    model().archive.busy = false;
    ui.boxes.clear();
    deletion().quickDelete();
    EXPECT_EQ(deletedInOrder(), QStringList({"c.tmp", "a.tmp"}));
    EXPECT_EQ(listed(), QStringList({"/r/b.tmp"}));
    EXPECT_EQ(deletion().lastOutcome().notBackedUp, QStringList({"/r/b.tmp"}));
    EXPECT_EQ(ui.texts(),
              QStringList({"Nie usunięto 1 plików, których nie ma w kopii zapasowej:\n/r/b.tmp"}));
}

// A file that stays keeps its entry and is neither counted nor recorded;
// one box at the end names it with the system's reason. A file that was
// already gone leaves the list uncounted.
TEST_F(DeletionTest, FilesThatStayOrVanishedAreNotCounted) {
    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("c.tmp")}, 1000);
    fs.undeletable.insert(QStringLiteral("/r/b.tmp"));
    model().foundList.append(QStringLiteral("/r/gone.tmp"));
    deletion().quickDelete();

    EXPECT_EQ(listed(), QStringList({"/r/b.tmp"}));
    EXPECT_EQ(model().records.deletedCount, 2);
    EXPECT_EQ(model().statistics.totalDeletedBytesText, "2000");
    EXPECT_EQ(model().statistics.totalDeletedFilesText, "2");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Nie udało się usunąć 1 plików:\n/r/b.tmp: Permission denied");
    EXPECT_NE(model().status.statusText, "Usuwanie zakończone !");
    EXPECT_EQ(deletion().lastOutcome().vanished, 1);
}

TEST_F(DeletionTest, TheFailureBoxNamesTenFiles) {
    QStringList names;
    for (int i = 0; i < 12; ++i)
        names << QStringLiteral("f%1.tmp").arg(i, 2, 10, QLatin1Char('0'));
    list(names);
    for (const QString& n : names)
        fs.undeletable.insert(QStringLiteral("/r/") + n);
    deletion().quickDelete();
    ASSERT_EQ(ui.boxes.size(), 1u);
    const QStringList lines = ui.boxes[0].text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), "Nie udało się usunąć 12 plików:");
    EXPECT_EQ(lines.size(), 12); // the count, ten files, how many more
    EXPECT_EQ(lines.last(), "(i jeszcze 2)");
}

TEST_F(DeletionTest, SingleDeletionOfTheCurrentEntry) {
    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")});
    deletion().deleteOneFile();
    EXPECT_EQ(model().status.statusText, "Brak plików do usunięcia !");
    EXPECT_EQ(listed().size(), 2);

    model().foundList.setCurrent(0);
    model().alert.shownAlert = core::AlertLevel::High;
    deletion().deleteOneFile();
    EXPECT_EQ(listed(), QStringList({"/r/b.tmp"}));
    EXPECT_FALSE(onDisk(QStringLiteral("a.tmp")));
    EXPECT_FALSE(model().alert.shownAlert);

    model().foundList.setCurrent(0);
    fs.undeletable.insert(QStringLiteral("/r/b.tmp"));
    deletion().deleteCurrent();
    EXPECT_EQ(listed(), QStringList({"/r/b.tmp"}));
    EXPECT_EQ(model().records.deletedCount, 1);
}

// While a scan runs it moves the current entry after every file: the
// commands on found entries do nothing.
TEST_F(DeletionTest, CommandsDuringAScanDoNothing) {
    list({QStringLiteral("a.tmp")});
    model().foundList.setCurrent(0);
    model().foundList.setSelected(0, true);
    model().scan.running = true;
    deletion().deleteCurrent();
    deletion().deleteOneFile();
    deletion().deleteSelected();
    deletion().quickDelete();
    deletion().openCurrentFile();
    EXPECT_EQ(listed().size(), 1);
    EXPECT_TRUE(onDisk(QStringLiteral("a.tmp")));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.opened.isEmpty());
}

// Another command empties the list while the batch lets events through:
// the batch acts on nothing that is no longer listed.
TEST_F(DeletionTest, ABatchActsOnlyOnEntriesStillListed) {
    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("c.tmp"),
          QStringLiteral("d.tmp")});
    model().foundList.setChecked(1, true);
    pump.action = [this](int call) {
        if (call == 1)
            deletion().dropCheckedFound(); // b leaves, the others move
        if (call == 2)
            deletion().clearFoundList();
    };
    deletion().quickDelete();
    EXPECT_EQ(deletedInOrder(), QStringList({"d.tmp", "c.tmp"}));
    EXPECT_TRUE(onDisk(QStringLiteral("a.tmp")));
    EXPECT_TRUE(onDisk(QStringLiteral("b.tmp")));
    EXPECT_TRUE(listed().isEmpty());
}

// The records describe the deleted file itself, escaped in the report.
TEST_F(DeletionTest, RecordsDescribeTheDeletedFile) {
    const QString name = QStringLiteral("a&<b>\".log");
    list({name}, 5000);
    fs.folders[QStringLiteral("/r/")].back().times.lastWrite = {2026, 3, 0, 4, 9, 8, 7, 0};
    model().options.htmlReportsEnabled = true;
    model().alert.details = core::FileDetails{}; // an earlier assessment: not used
    model().alert.details->name = QStringLiteral("other.tmp");
    model().foundList.setCurrent(0);
    deletion().deleteCurrent();

    const QStringList expectedLog = {
        "",
        "Plik:        a&<b>\".log",
        "Lokalizacja: /r/a&<b>\".log",
        "Typ pliku:   .log",
        "Rozmiar:     5000 bajtów,  4 KB",
        "Alert:       Niski",
        "Data modyf.: 4.03.2026,  09:08:07",
        "____________________________",
    };
    EXPECT_EQ(model().records.logBlocks, expectedLog);
    const QStringList& html = model().records.htmlFragments;
    ASSERT_EQ(html.size(), 38);
    EXPECT_EQ(html[10], "    <TD><span class=\"style6\">a&amp;&lt;b&gt;&quot;.log</span>");
    EXPECT_EQ(html[15], "      <TD><span class=\"style6\">/r/a&amp;&lt;b&gt;&quot;.log</span>");
    EXPECT_EQ(html[25], "            <TD><span class=\"style6\">5000 bajtów,  4 KB</span>");
    EXPECT_EQ(html[30], "            <TD><span class=\"style6\">Niski</span><TR>");
    EXPECT_EQ(html[37], "  </TABLE>");
    EXPECT_EQ(model().records.htmlReportedCount, 1);

    // With reports off, only the log and the path line grow.
    list({QStringLiteral("x.tmp")});
    model().options.htmlReportsEnabled = false;
    model().foundList.setCurrent(0);
    deletion().deleteCurrent();
    EXPECT_EQ(model().records.logBlocks.size(), 16);
    EXPECT_EQ(model().records.htmlFragments.size(), 38);
}

TEST_F(DeletionTest, ListCommandsSayWhatTheyDid) {
    struct Case {
        void (records::Deletion::*command)();
        const char* status;
    };
    const Case onEmpty[] = {
        {&records::Deletion::deleteSelected, "Brak plików do usunięcia !"},
        {&records::Deletion::selectAllFound, "Lista znalezionych plików jest pusta"},
        {&records::Deletion::dropCheckedFound,
         "Brak zaznaczonych (ptaszkiem) plików do wyrzucenia"},
        {&records::Deletion::openCurrentFile, "Nie wybrano pliku do otwarcia"},
        {&records::Deletion::clearFoundList, "Odświeżono listę"},
    };
    for (const Case& c : onEmpty) {
        (deletion().*c.command)();
        EXPECT_EQ(model().status.statusText, QString::fromUtf8(c.status));
    }
    EXPECT_TRUE(ui.boxes.empty());

    list({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")});
    deletion().deleteSelected();
    EXPECT_EQ(model().status.statusText, "Nie zaznaczono plików do usunięcia !");
    deletion().selectAllFound();
    EXPECT_TRUE(model().foundList.isSelected(0) && model().foundList.isSelected(1));
    EXPECT_EQ(model().status.statusText, "Zaznaczono wszystkie pliki");
    model().foundList.setChecked(0, true);
    deletion().dropCheckedFound();
    EXPECT_EQ(listed(), QStringList({"/r/b.tmp"}));
    EXPECT_TRUE(onDisk(QStringLiteral("a.tmp")));
    EXPECT_EQ(model().status.statusText, "Wyrzucono pliki z listy");
}

TEST_F(DeletionTest, OpenTakesTheCurrentEntryOfTheActiveTab) {
    list({QStringLiteral("a.tmp")});
    model().foundList.setCurrent(0);
    model().ignore.ignoredFiles.append(QStringLiteral("/r/ign.tmp"));
    model().ignore.ignoredFiles.setCurrent(0);
    deletion().openCurrentFile();
    model().activeTab = core::MainTab::IgnoreLists;
    deletion().openCurrentFile();
    model().activeTab = core::MainTab::Settings;
    deletion().openCurrentFile();
    EXPECT_EQ(ui.opened, QStringList({"/r/a.tmp", "/r/ign.tmp"}));
    ui.openSucceeds = false;
    model().activeTab = core::MainTab::FoundList;
    deletion().openCurrentFile();
    EXPECT_EQ(model().status.statusText, "Nie można otworzyć pliku");
}

// Once sorted, the list stays sorted: a scan puts its files in their place.
TEST_F(DeletionTest, SortedListTakesScannedFilesInOrder) {
    model().foundList.assign({QStringLiteral("/r/M.tmp"), QStringLiteral("/r/c.tmp")});
    model().foundList.setCurrent(0);
    deletion().sortFoundList();
    EXPECT_EQ(listed(), QStringList({"/r/c.tmp", "/r/M.tmp"}));
    EXPECT_EQ(model().foundList.current(), 1); // the current entry moved with it
    for (const char* n : {"z.tmp", "B.tmp", "n.tmp"})
        fs.add(QStringLiteral("/r/") + QString::fromLatin1(n));
    scan();
    EXPECT_EQ(listed(), QStringList({"/r/B.tmp", "/r/c.tmp", "/r/M.tmp", "/r/n.tmp", "/r/z.tmp"}));
}

} // namespace
