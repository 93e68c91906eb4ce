#include "support/window_fixture.h"

#include "platform/file_system.h"
#include "scan/option_table.h"

using namespace pylomir;
using namespace pylomir::testing;
using core::FilterMode;

namespace {

class SettingsTabTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        for (const char* f : {"filtr_a1.dat", "filtr_a2.dat", "filtr_a3.dat", "filtr_user.dat"})
            writeList(QString::fromLatin1(f), {QString::fromLatin1(f)});
        model().filters.filters.clear();
    }
    scan::SettingsTab& tab() { return window->settingsTab(); }
    const core::OptionsState& options() { return model().options; }
};

TEST_F(SettingsTabTest, StoredModeSelectionRules) {
    struct Case {
        const char* values[4]; // Mniej_bezp, TrybUsera, Zaawansowany, Bezpieczny; null = missing
        QStringList filters;
        std::optional<FilterMode> selected;
        int warnings;
        int intervalMs;
    } cases[] = {
        {{"1", nullptr, nullptr, nullptr}, {"filtr_a2.dat"}, FilterMode::LessSafe, 0, 1000},
        {{nullptr, nullptr, nullptr, "1"}, {"filtr_a1.dat"}, FilterMode::Safe, 0, 0},
        {{"0", "0", "0", "0"}, {}, std::nullopt, 0, 0},
        {{"tak", nullptr, "x", nullptr}, {}, FilterMode::Safe, 0, 0},
        {{"0", "0", "1", "0"}, {"filtr_a3.dat"}, FilterMode::Advanced, 1, 1000},
        // Two modes stored as selected: the later one in the stored order wins.
        {{"1", nullptr, "1", nullptr}, {"filtr_a3.dat"}, FilterMode::Advanced, 1, 1000},
    };
    const char* names[4] = {"Mniej_bezp", "TrybUsera", "Zaawansowany", "Bezpieczny"};
    for (const Case& c : cases) {
        SetUp();
        store("Skanowan", "Liczba", "3");
        settings.createKey(QStringLiteral("Ustawienia"));
        for (int i = 0; i < 4; ++i) {
            if (c.values[i])
                store("Ustawienia", names[i], c.values[i]);
        }
        tab().readRegistryBlock();
        SCOPED_TRACE(c.filters.join(',').toStdString());
        EXPECT_EQ(model().filters.filters, c.filters);
        EXPECT_EQ(model().filters.selectedMode, c.selected);
        EXPECT_EQ(int(ui.boxes.size()), c.warnings);
        EXPECT_EQ(model().filters.progressIntervalMs, c.intervalMs);
    }
}

TEST_F(SettingsTabTest, BlockStopsAtACountThatIsNotANumber) {
    store("Skanowan", "Liczba", "dużo");
    store("Skanowan", "RozmiarIgnoral", "123");
    store("Usunieto", "Listbox", "9");
    store("Ustawienia", "Podfoldery", "0");
    store("Ustawienia", "Bezpieczny", "1");
    tab().readRegistryBlock();
    EXPECT_EQ(options().autoIgnoreThresholdText, QStringLiteral("670000"));
    EXPECT_EQ(model().statistics.totalDeletedFilesText, QStringLiteral("0"));
    EXPECT_TRUE(options().includeSubfolders);
    EXPECT_TRUE(model().filters.filters.isEmpty());
}

// A fresh machine has no scan count until the program first exits; the
// rest of the block is read all the same.
TEST_F(SettingsTabTest, MissingCountReadsAsZero) {
    for (const bool keyExists : {false, true}) {
        SetUp();
        if (keyExists)
            store("Skanowan", "RozmiarIgnoral", "123");
        store("Usunieto", "Listbox", "9");
        store("Ustawienia", "Podfoldery", "0");
        store("Ustawienia", "TrybUsera", "1");
        tab().readRegistryBlock();
        SCOPED_TRACE(keyExists);
        EXPECT_EQ(model().statistics.scanCount, 0);
        EXPECT_EQ(options().autoIgnoreThresholdText,
                  keyExists ? QStringLiteral("123") : QStringLiteral("670000"));
        EXPECT_EQ(model().statistics.totalDeletedFilesText, QStringLiteral("9"));
        EXPECT_FALSE(options().includeSubfolders);
        EXPECT_EQ(model().filters.filters, QStringList{"filtr_user.dat"});
    }
}

TEST_F(SettingsTabTest, BlockReadsValuesAsTheUserWouldSetThem) {
    store("Skanowan", "Liczba", " 12");
    store("Skanowan", "Data", "05.12.2026 14:05:33");
    store("Skanowan", "BAKKatalog", "/kopie/");
    store("Usunieto", "ListBox", "77"); // value names ignore letter case
    store("Ustawienia", "Podpowiedzi", "0");
    store("Ustawienia", "Ignorowanie", "0");
    store("Ustawienia", "AutoHTML", "1");
    store("Ustawienia", "Ukryty", "yes");
    tab().readRegistryBlock();
    EXPECT_EQ(model().statistics.scanCount, 12);
    EXPECT_EQ(model().statistics.lastScanText, QStringLiteral("05.12.2026 14:05:33"));
    EXPECT_EQ(options().backupFolderAtStart, QStringLiteral("/kopie/"));
    EXPECT_EQ(options().logFolderAtStart, QString()); // missing value: empty text
    EXPECT_EQ(options().autoIgnoreThresholdText, QStringLiteral("670000")); // kept when missing
    EXPECT_EQ(model().statistics.totalDeletedFilesText, QStringLiteral("77"));
    EXPECT_FALSE(options().hintsShown());
    EXPECT_FALSE(options().autoIgnoreThresholdEnabled());
    EXPECT_TRUE(options().htmlReportsEnabled);
    EXPECT_TRUE(options().includeHidden);
}

// The threshold is a number of bytes: below 0 every found file would be
// ignored for good, so such a text stops the scan as a non-number does,
// whether it came from the store or from the field.
TEST_F(SettingsTabTest, AThresholdBelowZeroIsRefusedLikeANonNumber) {
    const struct {
        const char* text;
        bool scans;
    } cases[] = {{"-5", false}, {"-1", false}, {" -670000", false}, {"abc", false},
                 {"0", true},   {"-0", true},  {"670000", true},    {" 12 ", true}};
    for (const auto& c : cases) {
        for (const bool typed : {false, true}) {
            SCOPED_TRACE(std::string(c.text) + (typed ? " typed" : " stored"));
            SetUp();
            store("Skanowan", "RozmiarIgnoral", c.text);
            window = start();
            if (typed)
                tab().setAutoIgnoreThresholdText(QString::fromLatin1(c.text));
            model().filters.filters = {QStringLiteral("*.tmp")};
            run().setScanRoot(QStringLiteral("/r"));
            fs.add(QStringLiteral("/r/a.tmp"), 0); // above any negative threshold
            ui = ScriptedUi();
            scan();
            EXPECT_EQ(ui.boxes.size(), c.scans ? 0u : 1u);
            EXPECT_EQ(model().ignore.ignoredFiles.count(), 0);
            EXPECT_EQ(model().foundList.count(), c.scans ? 1 : 0);
        }
    }
}

TEST_F(SettingsTabTest, LogFolderCheck) {
    const QString root = platform::driveRoot();
    const QString bare = root.left(root.size() - 1);
    struct Case {
        QString field, after;
        bool message;
    } cases[] = {
        {root + platform::separator(), bare, true},
        {root, bare, true},
        {QString(), bare, true},
        {root + QStringLiteral("logi/"), root + QStringLiteral("logi/"), false},
    };
    for (const Case& c : cases) {
        SetUp();
        tab().setLogFolderText(c.field);
        tab().checkLogFolder();
        EXPECT_EQ(options().logFolderText, c.after);
        EXPECT_EQ(ui.boxes.size(), c.message ? 1u : 0u);
    }
}

TEST_F(SettingsTabTest, FolderChooserStartsAtTheFieldAndAppendsTheSeparator) {
    tab().setBackupFolderText(QStringLiteral("/stare/kopie/"));
    tab().setLogFolderText(QStringLiteral("/stare/logi/"));
    ui.folderAnswers = {QStringLiteral("/dane/kopie"), std::nullopt, QStringLiteral("/")};
    tab().chooseBackupFolder();
    EXPECT_EQ(options().backupFolderText, QStringLiteral("/dane/kopie/"));
    tab().chooseBackupFolder(); // cancelled
    EXPECT_EQ(options().backupFolderText, QStringLiteral("/dane/kopie/"));
    tab().chooseLogFolder();
    EXPECT_EQ(options().logFolderText, QStringLiteral("//"));
    // Each browser opens at what its own field held then.
    EXPECT_EQ(ui.folderStarts, (QStringList{"/stare/kopie/", "/dane/kopie/", "/stare/logi/"}));
}

TEST_F(SettingsTabTest, SavedOptionsComeBackAtTheNextStart) {
    tab().setOption(&core::OptionsState::writeLogOnClose, false);
    tab().setOption(&core::OptionsState::includeSubfolders, false);
    tab().setOption(&core::OptionsState::includeAnyFile, false);
    tab().setOption(&core::OptionsState::backupBeforeQuickDelete, true); // the fixture's is off
    tab().setBackupFolderText(QStringLiteral("/kopie/"));
    tab().setLogFolderText(QStringLiteral("/logi/"));
    tab().setAutoIgnoreThresholdText(QStringLiteral("1000"));
    tab().saveSettings();
    EXPECT_EQ(ui.texts().last(),
              QStringLiteral("Zapisano nowe ustawienia programu\nZmiany będą "
                             "wykonywane od następnego uruchomienia Pylomira !"));
    // Nothing has stored a scan count yet, as on a fresh machine.
    ASSERT_FALSE(settings.readString(QStringLiteral("Skanowan"), QStringLiteral("Liczba")));

    const auto again = start();
    const core::OptionsState& o = again->model().options;
    for (const scan::OptionRow& row : scan::kOptionTable) {
        const bool changed = row.option == &core::OptionsState::writeLogOnClose ||
                             row.option == &core::OptionsState::includeSubfolders ||
                             row.option == &core::OptionsState::includeAnyFile;
        EXPECT_EQ(o.*row.option, changed ? !row.byDefault : row.byDefault)
            << (row.storedName ? row.storedName : "folders");
    }
    EXPECT_EQ(o.backupFolderAtStart, QStringLiteral("/kopie/"));
    EXPECT_EQ(o.backupFolderText, QStringLiteral("/kopie/"));
    EXPECT_EQ(o.logFolderText, QStringLiteral("/logi/"));
    EXPECT_EQ(o.autoIgnoreThresholdText, QStringLiteral("1000"));
}

// The window finds each check box's caption through its option.
TEST(OptionTable, EveryOptionFindsItsOwnRow) {
    for (const scan::OptionRow& row : scan::kOptionTable)
        EXPECT_EQ(&scan::optionRow(row.option), &row) << (row.caption ? row.caption : "folders");
}

TEST_F(SettingsTabTest, SaveFailureIsReported) {
    settings.failWrites = true;
    tab().saveSettings();
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral(
                              "Błąd dostępu do rejestru. Nie masz uprawnień Administratora ?!")});
}

} // namespace
