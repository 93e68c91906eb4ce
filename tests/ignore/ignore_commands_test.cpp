#include "core/shown_texts.h"
#include "engine/mask.h"
#include "ignore/ignore_lists.h"
#include "support/window_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pylomir;
using core::MsgAnswer;

namespace {

class IgnoreCommandsTest : public pylomir::testing::WindowFixture {
protected:
    ignore::IgnoreLists& lists() { return window->ignoreLists(); }
    core::IgnoreListsState& state() { return model().ignore; }
    QByteArray fileBytes(const QString& name) {
        QFile f(filtersPath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    void spoil(const QString& name) {
        QFile f(filtersPath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stale\r\n");
    }
};

TEST_F(IgnoreCommandsTest, CheckedFoundEntriesMoveLastFirstWithoutADuplicateCheck) {
    for (const char* p : {"/r/A.tmp", "/r/B.tmp", "/r/C.tmp", "/r/D.tmp"})
        model().foundList.append(QString::fromLatin1(p));
    state().ignoredFiles.assign({QStringLiteral("/r/B.tmp")});
    run().checkAllFound();
    model().foundList.setChecked(3, false);
    run().moveCheckedToIgnoredFiles();

    EXPECT_EQ(state().ignoredFiles.paths(),
              QStringList({"/r/B.tmp", "/r/C.tmp", "/r/B.tmp", "/r/A.tmp"}));
    EXPECT_EQ(model().foundList.paths(), QStringList({"/r/D.tmp"}));
    EXPECT_EQ(core::foundCaptionText(model().scan.foundCaption), QStringLiteral("Zostało: "));
    EXPECT_EQ(core::foundCountText(model().scan), QStringLiteral("1 plików"));
    EXPECT_EQ(model().status.statusText, QStringLiteral("Dodano plik(i) do listy ignorowań"));
    EXPECT_EQ(state().ignoredFilesCount, 4);
    EXPECT_EQ(readList("ignoralplik.dat"), state().ignoredFiles.paths());

    // Into a sorted list, each moved path lands in its place.
    lists().sortIgnoredFiles();
    model().foundList.assign({QStringLiteral("/r/a0.tmp"), QStringLiteral("/r/Z.tmp")});
    run().checkAllFound();
    run().moveCheckedToIgnoredFiles();
    EXPECT_EQ(state().ignoredFiles.paths(), QStringList({"/r/A.tmp", "/r/a0.tmp", "/r/B.tmp",
                                                         "/r/B.tmp", "/r/C.tmp", "/r/Z.tmp"}));
    EXPECT_EQ(readList("ignoralplik.dat"), state().ignoredFiles.paths());
}

// Every add rewrites its file, also when nothing was added.
TEST_F(IgnoreCommandsTest, AddingByHandRefusesEmptyDuplicateAndBrokenEntries) {
    struct Case {
        bool masks;
        QStringList listed;
        QString typed;
        QStringList after;
        QString message; // information box
        QString error;
    } cases[] = {
        {false, {"/r/a.tmp"}, "/r/b.tmp", {"/r/a.tmp", "/r/b.tmp"}, {}, {}},
        {false, {"/r/a.tmp"}, "/r/a.tmp", {"/r/a.tmp"}, {}, {}},
        // Paths compare as the file system does: letter case counts here.
        {false, {"/r/a.tmp"}, "/r/A.tmp", {"/r/a.tmp", "/r/A.tmp"}, {}, {}},
        {false, {"/r/a.tmp"}, "", {"/r/a.tmp"}, "Nie podano ścieżki do żadnego pliku !", {}},
        {true, {"r?port.*"}, "R?PORT.*", {"r?port.*"}, {}, {}},
        {true, {"r?port.*"}, "*.old", {"r?port.*", "*.old"}, {}, {}},
        {true, {}, "", {}, "Nie podano żadnego typu filtra !", {}},
        {true, {"*.old"}, "[a", {"*.old"}, {}, "'[a' is an invalid mask at (3)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        SetUp();
        const QString file = c.masks ? "ignoraltyp.dat" : "ignoralplik.dat";
        if (c.masks) {
            state().ignoredMasks = c.listed;
            state().newIgnoredMaskText = c.typed;
        } else {
            state().ignoredFiles.assign(c.listed);
            state().newIgnoredFileText = c.typed;
        }
        spoil(file);
        c.masks ? lists().addIgnoredMask() : lists().addIgnoredFile();
        const QStringList now = c.masks ? state().ignoredMasks : state().ignoredFiles.paths();
        EXPECT_EQ(now, c.after);
        EXPECT_EQ(c.masks ? state().ignoredMasksCount : state().ignoredFilesCount, c.after.size());
        EXPECT_EQ(readList(file), c.after);
        EXPECT_EQ(ui.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(ui.errors, c.error.isEmpty() ? QStringList() : QStringList{c.error});
        // The field keeps its text.
        EXPECT_EQ(c.masks ? state().newIgnoredMaskText : state().newIgnoredFileText, c.typed);
    }
}

TEST_F(IgnoreCommandsTest, SortedListsInsertInOrderUntilTheNextStart) {
    state().ignoredFiles.assign({QStringLiteral("/r/c"), QStringLiteral("/r/a")});
    lists().sortIgnoredFiles();
    EXPECT_EQ(readList("ignoralplik.dat"), QStringList({"/r/a", "/r/c"}));
    state().newIgnoredFileText = QStringLiteral("/r/B");
    lists().addIgnoredFile();
    EXPECT_EQ(state().ignoredFiles.paths(), QStringList({"/r/a", "/r/B", "/r/c"}));

    state().ignoredMasks = {"*.b", "*.C", "*.a"};
    lists().sortIgnoredMasks();
    state().newIgnoredMaskText = QStringLiteral("*.B0");
    lists().addIgnoredMask();
    EXPECT_EQ(readList("ignoraltyp.dat"), QStringList({"*.a", "*.b", "*.B0", "*.C"}));

    window = start();
    EXPECT_FALSE(state().ignoredFilesSorted);
    state().newIgnoredFileText = QStringLiteral("/r/0");
    lists().addIgnoredFile();
    EXPECT_EQ(readList("ignoralplik.dat"), QStringList({"/r/a", "/r/B", "/r/c", "/r/0"}));
}

TEST_F(IgnoreCommandsTest, ClearingAsksAndRewritesTheFileWhateverTheAnswer) {
    struct Case {
        bool masks;
        MsgAnswer answer;
    } cases[] = {{false, MsgAnswer::No},
                 {false, MsgAnswer::Yes},
                 {true, MsgAnswer::No},
                 {true, MsgAnswer::Yes}};
    for (const Case& c : cases) {
        SetUp();
        const QStringList entries = {"/r/x.tmp", "*.y"};
        state().ignoredFiles.assign(entries);
        state().ignoredMasks = entries;
        const QString file = c.masks ? "ignoraltyp.dat" : "ignoralplik.dat";
        spoil(file);
        ui.answers = {c.answer};
        c.masks ? lists().clearIgnoredMasks() : lists().clearIgnoredFiles();
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.boxes[0].caption.startsWith(QStringLiteral("Pylomir ")));
        EXPECT_EQ(ui.boxes[0].caption.trimmed(), QStringLiteral("Pylomir"));
        EXPECT_EQ(ui.boxes[0].text,
                  c.masks ? QStringLiteral("Czy napewno chcesz usunąć całą listę ignorowanych "
                                           "filtrów ?")
                          : QStringLiteral("Czy napewno chcesz usunąć całą listę ignorowanych "
                                           "plików ?"));
        EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Warning);
        EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::YesNo);
        const QStringList expected = c.answer == MsgAnswer::Yes ? QStringList() : entries;
        EXPECT_EQ(c.masks ? state().ignoredMasks : state().ignoredFiles.paths(), expected);
        EXPECT_EQ(c.masks ? state().ignoredMasksCount : state().ignoredFilesCount, expected.size());
        EXPECT_EQ(fileBytes(file),
                  c.answer == MsgAnswer::Yes ? QByteArray() : QByteArray("/r/x.tmp\r\n*.y\r\n"));
    }
}

TEST_F(IgnoreCommandsTest, RemovingTakesTheFocusedEntryOnly) {
    state().ignoredFiles.assign({"/r/a", "/r/b", "/r/c"});
    state().ignoredMasks = {"*.a", "*.b"};
    spoil("ignoralplik.dat");
    lists().removeCurrentIgnoredFile(); // nothing focused: only written
    EXPECT_EQ(readList("ignoralplik.dat"), QStringList({"/r/a", "/r/b", "/r/c"}));
    state().ignoredFiles.setSelected(0, true);
    state().ignoredFiles.setCurrent(1);
    lists().removeCurrentIgnoredFile();
    EXPECT_EQ(readList("ignoralplik.dat"), QStringList({"/r/a", "/r/c"}));
    EXPECT_EQ(state().ignoredFilesCount, 2);

    state().currentMask = 0;
    lists().removeCurrentIgnoredMask();
    lists().removeCurrentIgnoredMask(); // the focus went with its entry
    EXPECT_EQ(readList("ignoraltyp.dat"), QStringList({"*.b"}));
    EXPECT_EQ(state().ignoredMasksCount, 1);
}

// The user may have put a file here to keep it: the deletion asks first,
// and a file that stays keeps its entry and says why.
TEST_F(IgnoreCommandsTest, DeletingAnIgnoredFileAsksAndTellsWhyItStayed) {
    const QString path = QStringLiteral("/r/keep.tmp");
    struct Case {
        const char* name;
        MsgAnswer answer;
        bool onDisk;
        bool undeletable;
        bool listedAfter;
        bool alertReset;
        QString error;
    } cases[] = {
        {"no", MsgAnswer::No, true, false, true, false, {}},
        {"deleted", MsgAnswer::Yes, true, false, false, true, {}},
        {"refused", MsgAnswer::Yes, true, true, true, true,
         "Nie można usunąć pliku:\n/r/keep.tmp\nPermission denied"},
        {"gone", MsgAnswer::Yes, false, false, true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        fs.add(QStringLiteral("/r/other.tmp"), 10);
        if (c.onDisk)
            fs.add(path, 900000);
        if (c.undeletable)
            fs.undeletable.insert(path);
        state().ignoredFiles.assign({QStringLiteral("/r/other.tmp"), path});
        state().ignoredFiles.setCurrent(0);
        window->assessment().assessCurrentIgnored(state().ignoredFiles);
        ASSERT_TRUE(model().alert.shownAlert);
        state().ignoredFiles.setSelected(0, true); // selected, but not focused
        state().ignoredFiles.setCurrent(1);
        spoil("ignoralplik.dat");
        ui.answers = {c.answer};
        window->deleteIgnoredFileFromDisk();

        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.boxes[0].text.contains(path));
        EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::YesNo);
        EXPECT_EQ(fs.findFirst(path).has_value(),
                  c.onDisk && (c.answer == MsgAnswer::No || c.undeletable));
        EXPECT_TRUE(fs.findFirst(QStringLiteral("/r/other.tmp")));
        EXPECT_EQ(state().ignoredFiles.contains(path), c.listedAfter);
        EXPECT_TRUE(state().ignoredFiles.contains(QStringLiteral("/r/other.tmp")));
        EXPECT_EQ(!model().alert.shownAlert, c.alertReset);
        EXPECT_EQ(ui.errors, c.error.isEmpty() ? QStringList() : QStringList{c.error});
        if (c.answer == MsgAnswer::Yes) {
            EXPECT_EQ(readList("ignoralplik.dat"), state().ignoredFiles.paths());
        }
    }
}

TEST_F(IgnoreCommandsTest, TheNameFieldBecomesAMaskWithItsWildcards) {
    struct Case {
        QString name, mask;
        QStringList others; // names the mask must not take
    } cases[] = {
        {"logo[1].gif", "logo[[]1].gif", {"logo1.gif"}},
        {"RAPORT.TXT", "raport.txt", {"raport.txt.bak"}},
        {"Ärger.LOG", "Ärger.log", {"ärger.log"}},
        // The field offers the two wildcards.
        {"*.LOG", "*.log", {"a.log.bak", "a.txt"}},
        {"r?port.*", "r?port.*", {"rport.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(ignore::maskForFileName(c.name), c.mask);
        const engine::Mask mask(ignore::maskForFileName(c.name));
        ASSERT_TRUE(mask.isValid());
        EXPECT_TRUE(mask.matches(c.name));
        for (const QString& other : c.others)
            EXPECT_FALSE(mask.matches(other)) << other.toStdString();
    }
    lists().addNameToIgnoredMasks(QStringLiteral("logo[1].gif"));
    lists().addNameToIgnoredMasks(QStringLiteral("-"));
    EXPECT_EQ(readList("ignoraltyp.dat"), QStringList({"logo[[]1].gif"}));
    EXPECT_EQ(ui.texts(), QStringList({"Nie podano żadnego typu filtra !"}));
}

TEST_F(IgnoreCommandsTest, MasksKeepNamesOutOfAScanButNeverFolders) {
    model().filters.filters = {QStringLiteral("*.txt"), QStringLiteral("*.log")};
    fs.addFolder(QStringLiteral("/r/raport.d"));
    for (const char* p : {"/r/raport.txt", "/r/report.log", "/r/rport.txt", "/r/raport.d/x.txt"})
        fs.add(QString::fromLatin1(p));
    state().newIgnoredMaskText = QStringLiteral("r?port.*");
    lists().addIgnoredMask();
    scan();
    EXPECT_EQ(model().foundList.paths(), QStringList({"/r/rport.txt", "/r/raport.d/x.txt"}));
}

// A path listed twice, and an empty line, as a hand-edited file may hold.
TEST_F(IgnoreCommandsTest, ListedPathsTakeEveryFoundCopyAndEmptyLinesNothing) {
    writeList("ignoralplik.dat", {"/r/a.tmp", "", "/r/b.tmp", "/r/b.tmp"});
    window = start();
    model().filters.filters = {QStringLiteral("*.tmp")};
    run().setScanRoot(QStringLiteral("/r"));
    for (const char* p : {"/r/a.tmp", "/r/b.tmp", "/r/c.tmp"})
        fs.add(QString::fromLatin1(p));
    scan();
    EXPECT_EQ(model().foundList.paths(), QStringList({"/r/c.tmp"}));
    EXPECT_EQ(model().scan.ignoredCount, 2);
    EXPECT_EQ(state().ignoredFiles.count(), 4);
}

TEST_F(IgnoreCommandsTest, NormalAttributeActsOnTheFocusedFoundEntryOnly) {
    fs.add(QStringLiteral("/r/ignored.tmp"), 10);
    fs.add(QStringLiteral("/r/found.tmp"), 10);
    model().foundList.assign({QStringLiteral("/r/found.tmp")});
    state().ignoredFiles.assign({QStringLiteral("/r/ignored.tmp")});
    state().ignoredFiles.setCurrent(0);
    window->assessment().assessCurrentIgnored(state().ignoredFiles);
    fs.attributeCalls.clear();

    run().clearCurrentFoundAttributes();
    EXPECT_TRUE(fs.attributeCalls.empty());
    EXPECT_EQ(model().status.statusText, QStringLiteral("Nie wybrano pliku z listy znalezionych."));

    model().foundList.setCurrent(0);
    run().clearCurrentFoundAttributes();
    ASSERT_EQ(fs.attributeCalls.size(), 1u);
    EXPECT_EQ(fs.attributeCalls[0], std::make_pair(QStringLiteral("/r/found.tmp"), 0));
    EXPECT_EQ(model().status.statusText, QStringLiteral("Ustawiono normalny atrybut..."));
}

// Before any scan the bottom shows the scan's bar; a click must still be seen.
TEST_F(IgnoreCommandsTest, AClickBeforeTheFirstScanShowsTheDetailsLine) {
    fs.add(QStringLiteral("/r/duzy.bak"), 5000000);
    state().ignoredFiles.assign({QStringLiteral("/r/duzy.bak")});
    state().ignoredFiles.setCurrent(0);
    ASSERT_TRUE(model().status.scanStatusBarVisible);
    window->assessCurrentIgnored();
    EXPECT_TRUE(model().status.detailsStatusBarVisible);
    EXPECT_FALSE(model().status.scanStatusBarVisible);
    EXPECT_TRUE(model().status.detailsStatusText.startsWith(QStringLiteral("Plik: duzy.bak ")));
    EXPECT_EQ(ui.sounds, QStringList({"ALERT"}));
}

TEST_F(IgnoreCommandsTest, AListThatCannotBeWrittenKeepsItsOldFileAndTheChange) {
    state().newIgnoredFileText = QStringLiteral("/r/pierwszy.tmp");
    lists().addIgnoredFile();
    const QByteArray before = fileBytes("ignoralplik.dat");
    disk.bytesBeforeDiskFull = 20;
    state().newIgnoredFileText = QStringLiteral("/r/drugi/o/dlugiej/nazwie.tmp");
    lists().addIgnoredFile();
    EXPECT_EQ(ui.errors.size(), 1);
    EXPECT_EQ(fileBytes("ignoralplik.dat"), before);
    EXPECT_EQ(state().ignoredFiles.count(), 2);
}

} // namespace
