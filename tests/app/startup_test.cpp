#include "support/window_fixture.h"

#include "core/shown_texts.h"
#include "platform/file_system.h"

using namespace pylomir;
using namespace pylomir::testing;

namespace {

class StartupTest : public WindowFixture {};

TEST_F(StartupTest, FirstStartLoadsTheSafeModeAndAsksForTheLogFolder) {
    writeList(QStringLiteral("filtr_a1.dat"), {"*.tmp", "*.bak"});
    ui = ScriptedUi();
    const auto w = start();
    const core::MainWindowModel& m = w->model();
    const QString root = platform::driveRoot();
    EXPECT_EQ(m.filters.selectedMode, core::FilterMode::Safe);
    EXPECT_EQ(m.filters.filters, QStringList({"*.tmp", "*.bak"}));
    EXPECT_EQ(core::filterCountText(m.filters), QStringLiteral("2"));
    EXPECT_EQ(m.filters.progressIntervalMs, 0); // no handler ran: the gauge stays still
    EXPECT_EQ(m.options.logFolderText, root.left(root.size() - 1));
    EXPECT_EQ(m.options.backupFolderText, root);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Katalog na pliki kopii zapasowej lub "
                                                     "raportów nie istnieje !  Proszę go "
                                                     "ustawić w programie.")});
    EXPECT_TRUE(QFile::exists(filtersPath(QStringLiteral("ignoralplik.dat"))));
    EXPECT_TRUE(QFile::exists(filtersPath(QStringLiteral("ignoraltyp.dat"))));
}

TEST_F(StartupTest, NoModeStoredAsSelectedLeavesTheListEmpty) {
    writeList(QStringLiteral("filtr_a1.dat"), {"*.tmp"});
    for (const char* mode : {"Mniej_bezp", "TrybUsera", "Zaawansowany", "Bezpieczny"})
        store("Ustawienia", mode, "0");
    const auto w = start();
    EXPECT_FALSE(w->model().filters.selectedMode);
    EXPECT_TRUE(w->model().filters.filters.isEmpty());
    EXPECT_EQ(core::filterCountText(w->model().filters), QStringLiteral("0"));
}

TEST_F(StartupTest, StoredAdvancedModeWarnsBeforeTheWindowAndCountsItsFilters) {
    writeList(QStringLiteral("filtr_a3.dat"), {"*.tmp", "*.reg"});
    writeList(QStringLiteral("ignoraltyp.dat"), {"r?port.*"});
    writeList(QStringLiteral("ignoralplik.dat"), {"/a", "", "/b"});
    store("Skanowan", "Liczba", "5");
    store("Skanowan", "LOGKatalog", "/logi/");
    store("Ustawienia", "Zaawansowany", "1");
    store("Ustawienia", "Bezpieczny", "0");
    ui = ScriptedUi();
    const auto w = start();
    const core::MainWindowModel& m = w->model();
    ASSERT_EQ(ui.boxes.size(), 1u); // the warning only: the log folder is set
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Uwaga !! "));
    EXPECT_EQ(m.filters.selectedMode, core::FilterMode::Advanced);
    EXPECT_EQ(m.filters.filters, QStringList({"*.tmp", "*.reg"}));
    EXPECT_EQ(m.filters.filterCount, 2);
    EXPECT_EQ(m.statistics.scanCount, 5);
    EXPECT_EQ(m.options.logFolderText, QStringLiteral("/logi/"));
    EXPECT_EQ(m.ignore.ignoredFiles.paths(), QStringList({"/a", "", "/b"}));
    EXPECT_EQ(m.ignore.ignoredFilesCount, 3);
    EXPECT_EQ(m.ignore.ignoredMasksCount, 1);
}

// A settings file the store could not read whole was copied aside: the
// window says so where the user looks first.
TEST_F(StartupTest, ACopyOfADamagedSettingsFileIsNamedInTheStatusLine) {
    EXPECT_EQ(model().status.statusText, QStringLiteral("Gotowy do skanowania...."));
    settings.damagedCopy = QStringLiteral("/home/ja/.config/Tessaly/Pylomir.ini.bad");
    const auto w = start();
    EXPECT_EQ(w->model().status.detailsStatusText,
              QStringLiteral("Plik ustawień zawierał nieczytelne wiersze - przed zapisem "
                             "zachowano jego kopię: /home/ja/.config/Tessaly/Pylomir.ini.bad"));
    EXPECT_TRUE(w->model().status.detailsStatusBarVisible);
}

} // namespace
