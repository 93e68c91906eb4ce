// The advanced-restore window's commands and the one-click restore, over
// real archives in a temporary folder.
#include "backup_test_util.h"

#include "core/app_info.h"
#include "support/temp_dir.h"
#include "support/window_fixture.h"

namespace pylomir::backup::testing {
namespace {

using core::MsgAnswer;

const QDateTime kStored(QDate(2022, 5, 10), QTime(12, 0, 0));
const QString kFailed = QStringLiteral("Błąd odzyskiwania z kopii zapasowej lub anulowano !");

class RestoreCommandsTest : public pylomir::testing::WindowFixture {
protected:
    pylomir::testing::TempDir dir;
    QString a = dir.filePath("src/a.txt");
    QString b = dir.filePath("src/deep/b.bin");

    RestoreCommands& restore() { return window->restoreCommands(); }
    const AdvancedRestoreState& state() { return restore().state(); }

    // Packs the files into dir/name and lists it in the window's folder.
    QString makeArchive(const QString& name, const QStringList& files, bool withList = true) {
        Archiver archiver; // on the real disk: the window's sees the fake tree
        configureForBackup(archiver, withList);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(archiver.backup(files, path));
        fs.add(path, QFileInfo(path).size());
        return path;
    }
    // a.txt (text) and b.bin (random, `bSize` bytes), both stored at kStored.
    QString makeTwoFileArchive(qsizetype bSize = 1000) {
        writeFile(a, testData(300, 1, true), kStored);
        writeFile(b, testData(bSize, 2), kStored);
        return makeArchive(QStringLiteral("x.backup"), {a, b});
    }
    void showAndSelect(const QString& name) {
        restore().showArchives(dir.path() + QLatin1Char('/'));
        restore().selectArchive(state().archiveNames.indexOf(name));
    }
    // Both files changed on disk since the backup, with times after the
    // stored ones or (older) before them.
    void changeFiles(bool older = false) {
        const QDateTime when = kStored.addDays(older ? -1 : 1);
        writeFile(a, "NEW A", when);
        writeFile(b, "NEW B", when);
    }
};

TEST(RestoreTexts, SummaryRoundsHalfToEvenAndMessagesKeepTheirBlanks) {
    const std::pair<qint64, const char*> sizes[] = {{0, "0"},
                                                    {511, "0"},
                                                    {512, "0"},
                                                    {1536, "2"},
                                                    {2560, "2"},
                                                    {2561, "3"},
                                                    {4294967295LL, "4194304"}};
    for (const auto& [bytes, kb] : sizes)
        EXPECT_EQ(archiveSummaryText(3, bytes),
                  QStringLiteral("3 plików, %1 KB wszystkiego").arg(kb))
            << bytes;
    EXPECT_EQ(restoreSuccessMessage(2, 5),
              QStringLiteral("Odzyskanie plików z kopii zapasowej zakończone sukcesem.\rOdzyskano: "
                             "2 pliki (plików)  z: 5 dostępnych w kopii."));
    EXPECT_EQ(skippedFilesText(0, RestoreRule::IfMissing), QString());
    EXPECT_EQ(skippedFilesText(3, RestoreRule::IfMissing),
              QStringLiteral("\rPominięto: 3 pliki (plików), bo już istnieją - zgodnie z wybraną "
                             "opcją odzyskiwania."));
}

TEST(RestoreTexts, InfoLineShowsTheShortDate) {
    const platform::LocaleFormats locale{QLocale(QLocale::Polish, QLocale::Poland)};
    const qint32 dos = toDosDateTime(kStored);
    EXPECT_EQ(infoLineText(QStringLiteral("/d/a=b.txt\t%1=1234").arg(dos), locale),
              QStringLiteral("/d/a=b.txt z 10.05.2022, 1234 bajtów"));
    // A date that is no number is shown as it is; a line without "=" as a whole.
    EXPECT_EQ(infoLineText(QStringLiteral("/a\tx=5"), locale), QStringLiteral("/a z x, 5 bajtów"));
    EXPECT_EQ(infoLineText(QStringLiteral("/a\t5"), locale), QStringLiteral("/a\t5"));
}

TEST(RestoreChoices, EachCaptionSelectsTheRuleItNames) {
    EXPECT_EQ(kRestoreRuleChoices[1].rule, RestoreRule::IfMissing);
    EXPECT_EQ(kRestoreRuleChoices[4].rule, RestoreRule::IfMissing);
    EXPECT_EQ(kCompressionChoices[2].level, CompressionLevel::Max);
}

TEST_F(RestoreCommandsTest, ShowsTitleSummaryAndFileLines) {
    makeTwoFileArchive();
    writeFile(dir.filePath("src/c.txt"), "c");
    makeArchive(QStringLiteral("bez_listy.backup"), {dir.filePath("src/c.txt")}, false);
    fs.add(dir.filePath("damaged.backup"));
    writeFile(dir.filePath("damaged.backup"), "no archive");

    showAndSelect(QStringLiteral("x.backup"));
    EXPECT_EQ(state().archiveNames,
              QStringList({"bez_listy.backup", "damaged.backup", "x.backup"}));
    EXPECT_EQ(state().titleText, QStringLiteral("test"));
    EXPECT_EQ(state().summaryText, QStringLiteral("2 plików, 1 KB wszystkiego"));
    EXPECT_EQ(state().fileLines,
              QStringList({a + " z 10.05.2022, 300 bajtów", b + " z 10.05.2022, 1000 bajtów"}));

    restore().selectArchive(state().archiveNames.indexOf("bez_listy.backup"));
    EXPECT_EQ(state().fileLines, QStringList{"Brak informacji o tej kopii zapasowej"});

    restore().selectArchive(state().archiveNames.indexOf("damaged.backup"));
    EXPECT_TRUE(state().titleText.isEmpty());
    EXPECT_TRUE(state().summaryText.isEmpty());
    EXPECT_TRUE(state().fileLines.isEmpty());
    EXPECT_EQ(ui.boxes.size(), 1u); // the component's own message
}

TEST_F(RestoreCommandsTest, RereadKeepsTheSelectedArchive) {
    makeTwoFileArchive();
    showAndSelect(QStringLiteral("x.backup"));
    fs.add(dir.filePath("a.backup"));
    restore().rereadArchives();
    EXPECT_EQ(state().selectedArchive(), dir.filePath("x.backup"));
    EXPECT_EQ(state().titleText, QStringLiteral("test"));

    fs.removeFile(dir.filePath("x.backup"));
    restore().showAdvancedRestore();
    EXPECT_EQ(state().archiveNames, QStringList{"a.backup"});
    EXPECT_EQ(state().currentArchive, -1);
    EXPECT_TRUE(state().titleText.isEmpty());
    EXPECT_EQ(ui.windows.back(), core::WindowId::AdvancedRestore);
}

TEST_F(RestoreCommandsTest, OneClickRestoresEveryFileToItsStoredPathRecreatingFolders) {
    const QString archive = makeTwoFileArchive();
    const QByteArray aData = readAll(a), bData = readAll(b);
    ASSERT_TRUE(QDir(dir.filePath("src")).removeRecursively());

    int progress = 55;
    restore().restoreToStoredPaths(archive, progress);
    EXPECT_EQ(readAll(a), aData);
    EXPECT_EQ(readAll(b), bData);
    EXPECT_EQ(QFileInfo(b).lastModified(), kStored);
    EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(2, 2)});
    EXPECT_EQ(progress, 0);
    EXPECT_EQ(state().progressPercent, 100);
    EXPECT_FALSE(state().progressVisible);
    EXPECT_TRUE(state().instructionText.isEmpty());
    EXPECT_FALSE(model().archive.busy);
}

TEST_F(RestoreCommandsTest, OneClickIgnoresTheWindowsRuleAndOtherFolder) {
    const QString archive = makeTwoFileArchive();
    const QByteArray aData = readAll(a);
    changeFiles();
    restore().archiver().setRestoreRule(RestoreRule::IfMissing);
    restore().chooseOtherFolder(true);
    restore().setOtherFolderText(dir.filePath("elsewhere"));

    int progress = 0;
    restore().restoreToStoredPaths(archive, progress);
    EXPECT_EQ(readAll(a), aData);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("elsewhere")));
    EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(2, 2)});
    // The window's choice is still there for its own next restore.
    EXPECT_EQ(restore().archiver().restoreRule(), RestoreRule::IfMissing);
}

TEST_F(RestoreCommandsTest, OneClickWithoutArchiveOrWithAnUnreadableOneSaysItFailed) {
    int progress = 0;
    restore().restoreToStoredPaths(QString(), progress);
    EXPECT_EQ(ui.texts(), QStringList{"Nieznany błąd odzyskiwania z kopii zapasowej. Być może "
                                      "pliki nie mogą być nadpisane. Skorzystaj z odzyskiwania "
                                      "zaawansowanego."});
    ui.boxes.clear();
    writeFile(dir.filePath("bad.backup"), QByteArray(3, 'x'));
    restore().restoreToStoredPaths(dir.filePath("bad.backup"), progress);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ui.errors, QStringList{namingFile(QString::fromUtf8(kCannotReadArchive),
                                                dir.filePath("bad.backup"))});
    EXPECT_FALSE(model().archive.busy);
}

// Over files that exist, newer or older than the stored copies.
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
    const QByteArray aData = readAll(a);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        changeFiles(c.older);
        ui.boxes.clear();
        showAndSelect(QStringLiteral("x.backup"));
        restore().setRestoreRuleChoice(c.choice);
        restore().restoreWithOptions();
        EXPECT_EQ(readAll(a), c.restored ? aData : QByteArray("NEW A"));
        EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(c.restored ? 2 : 0, 2) +
                                          QString::fromUtf8(c.skippedLine)});
    }
}

TEST_F(RestoreCommandsTest, AnotherFolderTakesEveryFileDirectly) {
    makeTwoFileArchive();
    const QString out = dir.filePath("out");
    showAndSelect(QStringLiteral("x.backup"));
    restore().chooseOtherFolder(true);
    restore().setOtherFolderText(QStringLiteral("  ") + out + QStringLiteral(" "));
    restore().restoreWithOptions();
    EXPECT_EQ(readAll(out + "/a.txt"), readAll(a));
    EXPECT_EQ(readAll(out + "/b.bin"), readAll(b));
    EXPECT_EQ(ui.texts(), QStringList{restoreSuccessMessage(2, 2)});
}

TEST_F(RestoreCommandsTest, BlankOtherFolderDoesNothingAtAll) {
    makeTwoFileArchive();
    ASSERT_TRUE(QDir(dir.filePath("src")).removeRecursively());
    showAndSelect(QStringLiteral("x.backup"));
    restore().chooseOtherFolder(true);
    restore().setOtherFolderText(QStringLiteral("   "));
    restore().restoreWithOptions();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
}

TEST_F(RestoreCommandsTest, CancelWithYesEndsTheRestoreAndKeepsWhatWasRestored) {
    makeTwoFileArchive(200 * 1024); // b.bin spans many blocks
    ASSERT_TRUE(QDir(dir.filePath("src")).removeRecursively());
    showAndSelect(QStringLiteral("x.backup"));
    EXPECT_TRUE(restore().cancelOrClose()); // idle: the window closes
    EXPECT_TRUE(ui.boxes.empty());

    int closes = 0;
    pump.action = [&](int) {
        if (state().instructionText == b && closes == 0)
            closes += restore().cancelOrClose() ? 1 : 2;
    };
    restore().restoreWithOptions();
    EXPECT_EQ(closes, 2); // asked, the window stays
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].caption, core::kAppTitle);
    EXPECT_EQ(ui.boxes[0].text,
              QStringLiteral("Czy chcesz przerwać odzyskiwanie plików z kopii zapasowej "));
    EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Question);
    EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::YesNo);
    EXPECT_EQ(ui.boxes[1].text, kFailed);
    EXPECT_TRUE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
    EXPECT_FALSE(model().archive.busy);
}

TEST_F(RestoreCommandsTest, CancelAnsweredNoGoesOn) {
    makeTwoFileArchive(200 * 1024);
    ASSERT_TRUE(QDir(dir.filePath("src")).removeRecursively());
    showAndSelect(QStringLiteral("x.backup"));
    ui.answers = {MsgAnswer::No};
    bool asked = false;
    pump.action = [&](int) {
        if (state().instructionText == b && !asked)
            asked = !restore().cancelOrClose();
    };
    restore().restoreWithOptions();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(QFileInfo::exists(b));
    EXPECT_EQ(ui.texts().last(), restoreSuccessMessage(2, 2));
}

TEST_F(RestoreCommandsTest, ASecondArchiveOperationWhileOneRunsIsRefused) {
    const QString archive = makeTwoFileArchive(200 * 1024);
    ASSERT_TRUE(QDir(dir.filePath("src")).removeRecursively());
    showAndSelect(QStringLiteral("x.backup"));
    bool tried = false;
    pump.action = [&](int) {
        if (tried || state().instructionText != b)
            return;
        tried = true;
        EXPECT_TRUE(model().archive.busy);
        EXPECT_FALSE(model().deletionEnabled());
        restore().restoreWithOptions();
        int progress = 0;
        restore().restoreToStoredPaths(archive, progress);
    };
    restore().restoreWithOptions();
    const QString busy = QString::fromUtf8(core::kArchiveBusyMessage);
    EXPECT_EQ(ui.texts(), QStringList({busy, busy, restoreSuccessMessage(2, 2)}));
    EXPECT_TRUE(QFileInfo::exists(b));
    EXPECT_TRUE(model().deletionEnabled());
}

} // namespace
} // namespace pylomir::backup::testing
