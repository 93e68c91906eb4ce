// The advanced-restore window's commands and the one-click restore, over
// real archives in a temporary folder.
#include "backup_test_util.h"

#include "core/app_info.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

namespace pylomir::backup::testing {
namespace {

const QDateTime kStored(QDate(2022, 5, 10), QTime(12, 0, 0));

class RestoreCommandsTest : public pylomir::testing::WindowFixture {
protected:
    pylomir::testing::TempDir dir;
    QString a = dir.filePath("src/a.txt");
    QString b = dir.filePath("src/deep/b.bin");

    RestoreCommands& restore() { return window->restoreCommands(); }
    const AdvancedRestoreState& state() { return restore().state(); }

    // Packs the files into dir/name and lists it in the fake tree.
    QString makeArchive(const QString& name, const QStringList& files, bool withList = true) {
        Archiver archiver; // on the real disk: the window's sees the fake tree
        configureForBackup(archiver, withList);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(archiver.backup(files, path));
        fs.add(path);
        return path;
    }
    // a.txt and b.bin (random, bSize bytes) stored at kStored, in x.backup,
    // which the window shows selected; then the files are removed.
    QString makeTwoFileArchive(qsizetype bSize = 1000) {
        writeFile(a, testData(300, 1, true), kStored);
        writeFile(b, testData(bSize, 2), kStored);
        const QString archive = makeArchive(QStringLiteral("x.backup"), {a, b});
        aData = readAll(a);
        EXPECT_TRUE(QDir(dir.filePath("src")).removeRecursively());
        restore().showArchives(dir.path() + QLatin1Char('/'));
        restore().selectArchive(state().archiveNames.indexOf("x.backup"));
        return archive;
    }
    QByteArray aData;
    // Both files changed since the backup, with later times or earlier ones.
    void changeFiles(bool older = false) {
        writeFile(a, "NEW A", kStored.addDays(older ? -1 : 1));
        writeFile(b, "NEW B", kStored.addDays(older ? -1 : 1));
    }
};

TEST(RestoreTexts, SummaryRoundsHalfToEvenAndTheMessageKeepsItsBlanks) {
    const std::pair<qint64, int> sizes[] = {{511, 0}, {512, 0}, {1536, 2}, {2560, 2}, {2561, 3}};
    for (const auto& [bytes, kb] : sizes)
        EXPECT_EQ(archiveSummaryText(3, bytes),
                  QStringLiteral("3 plików, %1 KB wszystkiego").arg(kb));
    EXPECT_EQ(restoreSuccessMessage(2, 5),
              QStringLiteral("Odzyskanie plików z kopii zapasowej zakończone sukcesem.\rOdzyskano: "
                             "2 pliki (plików)  z: 5 dostępnych w kopii."));
}

TEST_F(RestoreCommandsTest, ShowsTitleSummaryAndFileLines) {
    makeTwoFileArchive();
    writeFile(dir.filePath("c.txt"), "c");
    makeArchive(QStringLiteral("bez_listy.backup"), {dir.filePath("c.txt")}, false);
    writeFile(dir.filePath("damaged.backup"), "no archive");
    fs.add(dir.filePath("damaged.backup"));

    restore().showAdvancedRestore(); // the list is read again, the selection kept
    EXPECT_EQ(state().archiveNames,
              QStringList({"bez_listy.backup", "damaged.backup", "x.backup"}));
    EXPECT_EQ(state().titleText, QStringLiteral("test"));
    EXPECT_EQ(state().summaryText, QStringLiteral("2 plików, 1 KB wszystkiego"));
    EXPECT_EQ(state().fileLines,
              QStringList({a + " z 10.05.2022, 300 bajtów", b + " z 10.05.2022, 1000 bajtów"}));

    restore().selectArchive(0);
    EXPECT_EQ(state().fileLines, QStringList{"Brak informacji o tej kopii zapasowej"});
    restore().selectArchive(1);
    EXPECT_TRUE(state().titleText.isEmpty());
    EXPECT_TRUE(state().summaryText.isEmpty());
    EXPECT_TRUE(state().fileLines.isEmpty());
    EXPECT_EQ(ui.boxes.size(), 1u); // the component's own message
}

TEST_F(RestoreCommandsTest, OneClickRestoresEveryFileToItsStoredPathRecreatingFolders) {
    const QString archive = makeTwoFileArchive();
    int progress = 55;
    restore().restoreToStoredPaths(archive, progress);
    EXPECT_EQ(readAll(a), aData);
    EXPECT_EQ(QFileInfo(b).lastModified(), kStored);
    EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(2, 2)});
    EXPECT_EQ(progress, 0);
    EXPECT_FALSE(state().progressVisible);
    EXPECT_TRUE(state().instructionText.isEmpty());
    EXPECT_FALSE(model().archive.busy);

    ui.boxes.clear();
    restore().restoreToStoredPaths(QString(), progress); // no archive selected
    EXPECT_EQ(ui.texts(), QStringList{"Nieznany błąd odzyskiwania z kopii zapasowej. Być może "
                                      "pliki nie mogą być nadpisane. Skorzystaj z odzyskiwania "
                                      "zaawansowanego."});
}

TEST_F(RestoreCommandsTest, OneClickIgnoresTheWindowsRuleAndOtherFolder) {
    const QString archive = makeTwoFileArchive();
    changeFiles();
    restore().archiver().setRestoreRule(RestoreRule::IfMissing);
    restore().chooseOtherFolder(true);
    restore().setOtherFolderText(dir.filePath("elsewhere"));
    int progress = 0;
    restore().restoreToStoredPaths(archive, progress);
    EXPECT_EQ(readAll(a), aData);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("elsewhere")));
    // The window's choice is still there for its own next restore.
    EXPECT_EQ(restore().archiver().restoreRule(), RestoreRule::IfMissing);
}

// Over files that exist, newer (or older) than the stored copies.
TEST_F(RestoreCommandsTest, RuleChoiceDecidesAndSkippedFilesAreCounted) {
    struct Case {
        int choice;
        bool older;
        bool restored;
        const char* skippedLine;
    };
    const char* const exist = "\rPominięto: 2 pliki (plików), bo już istnieją - zgodnie z "
                              "wybraną opcją odzyskiwania.";
    const Case cases[] = {
        {0, false, true, ""},
        {1, false, false, exist},
        {2, false, false,
         "\rPominięto: 2 pliki (plików), bo już istnieją i nie są starsze od kopii - zgodnie z "
         "wybraną opcją odzyskiwania."},
        {3, false, true, ""},
        {4, true, false, exist},
    };
    makeTwoFileArchive();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        changeFiles(c.older);
        ui.boxes.clear();
        restore().setRestoreRuleChoice(c.choice);
        restore().restoreWithOptions();
        EXPECT_EQ(readAll(a), c.restored ? aData : QByteArray("NEW A"));
        EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(c.restored ? 2 : 0, 2) +
                                          QString::fromUtf8(c.skippedLine)});
    }
}

TEST_F(RestoreCommandsTest, BlankOtherFolderDoesNothingAtAll) {
    makeTwoFileArchive();
    restore().chooseOtherFolder(true);
    restore().setOtherFolderText(QStringLiteral("   "));
    restore().restoreWithOptions();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(a));
}

TEST_F(RestoreCommandsTest, CancelWithYesEndsTheRestoreAndKeepsWhatWasRestored) {
    makeTwoFileArchive(200 * 1024);         // b.bin spans many blocks
    EXPECT_TRUE(restore().cancelOrClose()); // idle: the window closes
    int closes = 0;
    pump.action = [&](int) {
        if (state().instructionText == b && closes == 0)
            closes += restore().cancelOrClose() ? 1 : 2;
    };
    restore().restoreWithOptions();
    EXPECT_EQ(closes, 2); // asked, and the window stays
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].caption, core::kAppTitle);
    EXPECT_EQ(ui.boxes[0].text,
              QStringLiteral("Czy chcesz przerwać odzyskiwanie plików z kopii zapasowej "));
    EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::YesNo);
    EXPECT_EQ(ui.boxes[1].text,
              QStringLiteral("Błąd odzyskiwania z kopii zapasowej lub anulowano !"));
    EXPECT_TRUE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
}

TEST_F(RestoreCommandsTest, ASecondArchiveOperationWhileOneRunsIsRefused) {
    const QString archive = makeTwoFileArchive(200 * 1024);
    bool tried = false;
    pump.action = [&](int) {
        if (tried || state().instructionText != b)
            return;
        tried = true;
        EXPECT_FALSE(model().deletionEnabled());
        restore().restoreWithOptions();
        int progress = 0;
        restore().restoreToStoredPaths(archive, progress);
        window->recoveryTab().deleteSelectedArchive();
    };
    restore().restoreWithOptions();
    const QString busy = QString::fromUtf8(core::kArchiveBusyMessage);
    EXPECT_EQ(ui.texts(), QStringList({busy, busy, busy, restoreSuccessMessage(2, 2)}));
    EXPECT_TRUE(model().deletionEnabled());
}

} // namespace
} // namespace pylomir::backup::testing
