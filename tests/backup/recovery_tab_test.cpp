// The "Odzyskiwanie" tab: its lists and counts, deleting archives and logs,
// viewing a log.
#include "core/shown_texts.h"
#include "support/window_fixture.h"

namespace pylomir::backup {
namespace {

using core::MsgAnswer;

class RecoveryTabTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        for (const char* name : {"/bak/b.backup", "/bak/A.backup", "/bak/notes.txt",
                                 "/bak/c.backup.002", "/log/raport 1.plm", "/log/raport 2.plm"})
            fs.add(QString::fromUtf8(name));
        fs.addFolder(QStringLiteral("/bak/folder.backup"));
        tab().pointRecoveryLists(QStringLiteral("/bak/"), QStringLiteral("/log"));
    }
    RecoveryTab& tab() { return window->recoveryTab(); }
    const core::RecoveryState& state() { return model().recovery; }
    QString archiveCount() { return core::archiveCountText(state()); }
    QString logCount() { return core::logCountText(state()); }
    bool onDisk(const char* path) { return fs.findFirst(QString::fromUtf8(path)).has_value(); }
};

TEST_F(RecoveryTabTest, ListsMatchingFilesAndCountsThemOnceShown) {
    // Files only, the mask in any letter case, sorted as the file system compares names.
    EXPECT_EQ(state().archiveNames, QStringList({"A.backup", "b.backup"}));
    tab().selectLog(1);
    EXPECT_EQ(tab().selectedLog(), QStringLiteral("/log/raport 2.plm"));
    EXPECT_EQ(archiveCount(), QStringLiteral("?"));
    EXPECT_EQ(logCount(), QStringLiteral("?"));

    fs.add(QStringLiteral("/bak/new.backup"));
    tab().rereadLists(); // as after a backup: listed, the count still unshown
    EXPECT_EQ(state().archiveNames.size(), 3);
    EXPECT_EQ(archiveCount(), QStringLiteral("?"));

    tab().selectArchive(1); // b.backup
    fs.add(QStringLiteral("/bak/0.backup"));
    fs.removeFile(QStringLiteral("/log/raport 1.plm"));
    tab().refreshCounts(); // the tab is shown
    EXPECT_EQ(archiveCount(), QStringLiteral("4"));
    EXPECT_EQ(logCount(), QStringLiteral("1"));
    EXPECT_EQ(tab().selectedArchive(), QStringLiteral("/bak/b.backup"));
    EXPECT_EQ(tab().selectedLog(), QStringLiteral("/log/raport 2.plm"));

    // A folder that was never set lists nothing, and never the root.
    fs.add(QStringLiteral("/r.backup"));
    tab().pointRecoveryLists(QStringLiteral("/"), QStringLiteral("\\"));
    EXPECT_TRUE(state().archiveNames.isEmpty());
}

TEST_F(RecoveryTabTest, DeletingAnArchiveAsksFirstAndTakesItsVolumes) {
    for (const char* volume : {"/bak/b.002", "/bak/b.003", "/bak/b.005"})
        fs.add(QString::fromUtf8(volume));
    tab().selectArchive(1);
    ui.answers = {MsgAnswer::No};
    tab().deleteSelectedArchive();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Ostrzeżenie"));
    EXPECT_EQ(ui.boxes[0].text,
              QStringLiteral("Usuwanie kopii zapasowej usuniętych plików nie jest zalecane !\n"
                             "Jeśli kopia była dawno utworzona i od tego czasu nie wystąpiły\n"
                             "problemy z aplikacjami - można ją usunąć.\n\n"
                             "Czy chcesz usunąć kopię zapasową ?"));
    EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Warning);
    EXPECT_TRUE(onDisk("/bak/b.backup"));

    tab().deleteSelectedArchive(); // Yes
    EXPECT_FALSE(onDisk("/bak/b.backup"));
    EXPECT_FALSE(onDisk("/bak/b.002"));
    EXPECT_FALSE(onDisk("/bak/b.003"));
    EXPECT_TRUE(onDisk("/bak/b.005")); // after a gap: no volume of it
    EXPECT_EQ(state().archiveNames, QStringList{"A.backup"});
    EXPECT_EQ(archiveCount(), QStringLiteral("1"));

    tab().deleteSelectedArchive(); // no current entry
    EXPECT_EQ(state().archiveNames.size(), 1);
    tab().selectArchive(0);
    tab().deleteSelectedArchive();
    EXPECT_TRUE(state().archiveNames.isEmpty());
    EXPECT_EQ(archiveCount(), QStringLiteral("0"));
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(RecoveryTabTest, AFileThatCannotBeDeletedStaysListedWithTheReason) {
    fs.undeletable.insert(QStringLiteral("/bak/A.backup"));
    tab().selectArchive(0);
    tab().deleteSelectedArchive();
    EXPECT_EQ(ui.errors, QStringList{"Nie można usunąć pliku:\n/bak/A.backup\nPermission denied"});
    EXPECT_EQ(tab().selectedArchive(), QStringLiteral("/bak/A.backup"));
    EXPECT_EQ(archiveCount(), QStringLiteral("2"));
}

TEST_F(RecoveryTabTest, ALogGoesAtOnceAndAVanishedOneLeavesTheList) {
    tab().selectLog(1);
    tab().deleteSelectedLog();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(onDisk("/log/raport 2.plm"));
    EXPECT_EQ(logCount(), QStringLiteral("1"));

    fs.removeFile(QStringLiteral("/log/raport 1.plm")); // deleted elsewhere meanwhile
    tab().selectLog(0);
    tab().deleteSelectedLog();
    EXPECT_TRUE(state().logNames.isEmpty());
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(RecoveryTabTest, ViewsTheSelectedLogOnly) {
    tab().viewSelectedLog();
    EXPECT_TRUE(ui.viewed.isEmpty());
    EXPECT_EQ(ui.texts(), QStringList{"Nie wybrano raportu."});
    tab().selectLog(0);
    ui.openSucceeds = false;
    tab().viewSelectedLog();
    EXPECT_EQ(ui.viewed, QStringList{"/log/raport 1.plm"});
    EXPECT_EQ(ui.errors, QStringList{"Nie można otworzyć raportu w przeglądarce tekstu:\n"
                                     "/log/raport 1.plm"});
}

} // namespace
} // namespace pylomir::backup
