// The "Odzyskiwanie" tab: its lists and counts, deleting archives and logs,
// viewing a log and its two restore commands.
#include "backup_test_util.h"

#include "core/shown_texts.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

namespace pylomir::backup::testing {
namespace {

using core::MsgAnswer;

class RecoveryTabTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        for (const char* name : {"b.backup", "A.backup", "notes.txt", "c.backup.002"})
            fs.add(QStringLiteral("/bak/") + QLatin1String(name));
        fs.addFolder(QStringLiteral("/bak/folder.backup"));
        fs.add(QStringLiteral("/log/Pylomir-log 1.plm"));
        fs.add(QStringLiteral("/log/Pylomir-log 2.plm"));
        tab().pointRecoveryLists(QStringLiteral("/bak/"), QStringLiteral("/log/"));
    }
    RecoveryTab& tab() { return window->recoveryTab(); }
    const core::RecoveryState& state() { return model().recovery; }
    QString archiveCount() { return core::archiveCountText(state()); }
    QString logCount() { return core::logCountText(state()); }
    bool onDisk(const QString& path) { return fs.findFirst(path).has_value(); }
};

TEST_F(RecoveryTabTest, ListsFilesByMaskAndName) {
    // Files only, the mask in any letter case, sorted as the file system
    // compares names.
    EXPECT_EQ(state().archiveNames, QStringList({"A.backup", "b.backup"}));
    EXPECT_EQ(state().logNames, QStringList({"Pylomir-log 1.plm", "Pylomir-log 2.plm"}));
    tab().selectArchive(1);
    EXPECT_EQ(tab().selectedArchive(), QStringLiteral("/bak/b.backup"));
    EXPECT_EQ(tab().selectedLog(), QString());

    // A folder that was never set lists nothing, and never the root.
    fs.add(QStringLiteral("/r.backup"));
    for (const char* unset : {"", "\\", "/"}) {
        tab().pointRecoveryLists(QString::fromLatin1(unset), QString::fromLatin1(unset));
        EXPECT_TRUE(state().archiveNames.isEmpty()) << unset;
        EXPECT_TRUE(state().logNames.isEmpty()) << unset;
    }
    // A folder text without its separator still lists the folder's files.
    tab().pointRecoveryLists(QStringLiteral("/bak"), QStringLiteral("/log"));
    EXPECT_EQ(state().archiveNames.size(), 2);
    tab().selectLog(0);
    EXPECT_EQ(tab().selectedLog(), QStringLiteral("/log/Pylomir-log 1.plm"));
}

TEST_F(RecoveryTabTest, CountsAreUnknownUntilShownThenFollowTheFolders) {
    EXPECT_EQ(archiveCount(), QStringLiteral("?"));
    EXPECT_EQ(logCount(), QStringLiteral("?"));
    fs.add(QStringLiteral("/bak/new.backup"));
    tab().rereadLists(); // as after a backup: the list is current, the count still unshown
    EXPECT_EQ(state().archiveNames.size(), 3);
    EXPECT_EQ(archiveCount(), QStringLiteral("?"));

    tab().selectArchive(1); // b.backup
    fs.add(QStringLiteral("/bak/0.backup"));
    fs.removeFile(QStringLiteral("/log/Pylomir-log 2.plm"));
    tab().refreshCounts();
    EXPECT_EQ(archiveCount(), QStringLiteral("4"));
    EXPECT_EQ(logCount(), QStringLiteral("1"));
    EXPECT_EQ(tab().selectedArchive(), QStringLiteral("/bak/b.backup"));

    fs.add(QStringLiteral("/bak/z.backup"));
    tab().rereadLists();
    EXPECT_EQ(archiveCount(), QStringLiteral("5"));
}

TEST_F(RecoveryTabTest, DeletingAnArchiveAsksFirstAndTakesItsVolumes) {
    fs.add(QStringLiteral("/bak/b.002"));
    fs.add(QStringLiteral("/bak/b.003"));
    fs.add(QStringLiteral("/bak/b.005")); // after a gap: not a volume of this archive
    tab().refreshCounts();
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
    EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::YesNo);
    EXPECT_TRUE(onDisk(QStringLiteral("/bak/b.backup")));

    tab().deleteSelectedArchive(); // Yes
    EXPECT_FALSE(onDisk(QStringLiteral("/bak/b.backup")));
    EXPECT_FALSE(onDisk(QStringLiteral("/bak/b.002")));
    EXPECT_FALSE(onDisk(QStringLiteral("/bak/b.003")));
    EXPECT_TRUE(onDisk(QStringLiteral("/bak/b.005")));
    EXPECT_EQ(state().archiveNames, QStringList{"A.backup"});
    EXPECT_EQ(archiveCount(), QStringLiteral("1"));
    EXPECT_TRUE(ui.errors.isEmpty());

    // No current entry: nothing goes.
    tab().deleteSelectedArchive();
    EXPECT_EQ(state().archiveNames, QStringList{"A.backup"});

    tab().selectArchive(0);
    tab().deleteSelectedArchive();
    EXPECT_TRUE(state().archiveNames.isEmpty());
    EXPECT_EQ(archiveCount(), QStringLiteral("0"));
}

TEST_F(RecoveryTabTest, AFileThatCannotBeDeletedStaysListedWithTheReason) {
    fs.undeletable.insert(QStringLiteral("/bak/A.backup"));
    fs.undeletable.insert(QStringLiteral("/log/Pylomir-log 1.plm"));
    tab().selectArchive(0);
    tab().deleteSelectedArchive();
    tab().selectLog(0);
    tab().deleteSelectedLog();
    EXPECT_EQ(ui.errors, QStringList({"Nie można usunąć pliku:\n/bak/A.backup\nPermission denied",
                                      "Nie można usunąć pliku:\n/log/Pylomir-log 1.plm\n"
                                      "Permission denied"}));
    EXPECT_EQ(state().archiveNames.size(), 2);
    EXPECT_EQ(tab().selectedArchive(), QStringLiteral("/bak/A.backup"));
    EXPECT_EQ(state().logNames.size(), 2);
    EXPECT_EQ(archiveCount(), QStringLiteral("2"));
}

TEST_F(RecoveryTabTest, ALogGoesAtOnceAndAVanishedFileLeavesTheList) {
    tab().selectLog(1);
    tab().deleteSelectedLog();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(onDisk(QStringLiteral("/log/Pylomir-log 2.plm")));
    EXPECT_EQ(state().logNames, QStringList{"Pylomir-log 1.plm"});
    EXPECT_EQ(logCount(), QStringLiteral("1"));

    fs.removeFile(QStringLiteral("/log/Pylomir-log 1.plm")); // deleted elsewhere meanwhile
    tab().selectLog(0);
    tab().deleteSelectedLog();
    EXPECT_TRUE(state().logNames.isEmpty());
    EXPECT_EQ(logCount(), QStringLiteral("0"));
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(RecoveryTabTest, ViewsTheSelectedLogOnly) {
    tab().viewSelectedLog();
    EXPECT_TRUE(ui.viewed.isEmpty());
    EXPECT_EQ(ui.texts(), QStringList{"Nie wybrano raportu."});

    tab().selectLog(0);
    tab().viewSelectedLog();
    EXPECT_EQ(ui.viewed, QStringList{"/log/Pylomir-log 1.plm"});
    EXPECT_TRUE(ui.errors.isEmpty());

    ui.openSucceeds = false;
    tab().viewSelectedLog();
    EXPECT_EQ(ui.errors, QStringList{"Nie można otworzyć raportu w przeglądarce tekstu:\n"
                                     "/log/Pylomir-log 1.plm"});
}

TEST_F(RecoveryTabTest, AdvancedRestoreOpensOnTheTabsFolderAndArchive) {
    RestoreCommands& restore = window->restoreCommands();
    tab().selectArchive(1);
    tab().openAdvancedRestore();
    EXPECT_EQ(restore.state().archiveFolder, QStringLiteral("/bak/"));
    EXPECT_EQ(restore.state().selectedArchive(), QStringLiteral("/bak/b.backup"));
    EXPECT_EQ(ui.windows, std::vector<core::WindowId>{core::WindowId::AdvancedRestore});
}

TEST_F(RecoveryTabTest, OneClickRestoresTheSelectedArchive) {
    pylomir::testing::TempDir dir;
    const QString file = dir.filePath("src/sub/a.txt");
    writeFile(file, "dane");
    const QString archive = dir.filePath("kopia.backup");
    Archiver archiver;
    configureForBackup(archiver);
    ASSERT_TRUE(archiver.backup({file}, archive));
    ASSERT_TRUE(QDir(dir.filePath("src")).removeRecursively());
    fs.add(archive);

    tab().pointRecoveryLists(dir.path() + QLatin1Char('/'), QString());
    tab().selectArchive(0);
    tab().restoreSelectedArchive();
    EXPECT_EQ(readAll(file), QByteArray("dane"));
    EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(1, 1)});
    EXPECT_EQ(state().restoreProgress, 0);
}

} // namespace
} // namespace pylomir::backup::testing
