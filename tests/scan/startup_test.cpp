#include "scan_fixture.h"

#include "platform/file_system.h"
#include "platform/text_file.h"

using namespace pylomir;
using namespace pylomir::testing;

namespace {

class StartupTest : public ScanFixture {
protected:
    // A fresh window over the fixture's store and folder, as at a new start.
    std::unique_ptr<scan::SearchForm> start() {
        ui = ScriptedUi();
        auto f = std::make_unique<scan::SearchForm>(form->services());
        f->FormCreate();
        return f;
    }
};

TEST_F(StartupTest, FirstStartKeepsDefaultsAndAsksForTheLogFolder) {
    auto f = start();
    const scan::SearchFormModel& m = f->model();
    const QString root = platform::driveRoot();
    EXPECT_TRUE(m.RadioButton4);
    EXPECT_TRUE(m.ListBoxFiltry.isEmpty());
    EXPECT_EQ(m.Label_LiczbaFiltrow, QStringLiteral("0"));
    EXPECT_EQ(m.LabelProgres, QStringLiteral("0"));
    EXPECT_EQ(m.Edit5, root.left(root.size() - 1));
    EXPECT_EQ(m.Edit4, root);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Katalog na pliki kopii zapasowej lub "
                                                     "raportów nie istnieje !  Proszę go "
                                                     "ustawić w programie.")});
    EXPECT_TRUE(QFile::exists(home.path() + QStringLiteral("/Filtry/ignoralplik.dat")));
}

TEST_F(StartupTest, StoredAdvancedModeWarnsBeforeTheWindowAndCountsItsFilters) {
    ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(),
                                        home.path() + QStringLiteral("/Filtry/filtr_a3.dat"),
                                        {"*.tmp", "*.reg"}));
    ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(),
                                        home.path() + QStringLiteral("/Filtry/ignoraltyp.dat"),
                                        {"r?port.*"}));
    settings.createKey(QStringLiteral("Skanowan"));
    settings.writeString(QStringLiteral("Skanowan"), QStringLiteral("Liczba"), QStringLiteral("5"));
    settings.writeString(QStringLiteral("Skanowan"), QStringLiteral("LOGKatalog"),
                         QStringLiteral("/logi/"));
    settings.createKey(QStringLiteral("Ustawienia"));
    settings.writeString(QStringLiteral("Ustawienia"), QStringLiteral("Zaawansowany"),
                         QStringLiteral("1"));
    settings.writeString(QStringLiteral("Ustawienia"), QStringLiteral("Bezpieczny"),
                         QStringLiteral("0"));
    auto f = start();
    const scan::SearchFormModel& m = f->model();
    ASSERT_EQ(ui.boxes.size(), 1u); // the warning only: the log folder is set
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Uwaga !! "));
    EXPECT_TRUE(m.RadioButton3);
    EXPECT_FALSE(m.RadioButton4);
    EXPECT_EQ(m.ListBoxFiltry, QStringList({"*.tmp", "*.reg"}));
    EXPECT_EQ(m.Label_LiczbaFiltrow, QStringLiteral("2"));
    EXPECT_EQ(m.Label16, QStringLiteral("5"));
    EXPECT_EQ(m.Edit5, QStringLiteral("/logi/"));
    EXPECT_EQ(m.Label_IgnorowanTypy, QStringLiteral("1"));
}

} // namespace
