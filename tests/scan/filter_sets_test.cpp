#include "scan_fixture.h"

#include "platform/text_file.h"

using namespace pylomir;
using namespace pylomir::testing;
using scan::FilterMode;

namespace {

class FilterSetsTest : public ScanFixture {
protected:
    void SetUp() override {
        ScanFixture::SetUp();
        write("filtr_a1.dat", {"*.tmp", "*.bak"});
        write("filtr_a2.dat", {"*.tmp", "*.bak", "*.log"});
        write("filtr_a3.dat", {"*.tmp", "*.bak", "*.log", "*.reg"});
        write("filtr_user.dat", {"*.tmp", "Zz*.x", "a*.y"});
    }
    void write(const char* name, const QStringList& lines) {
        ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(), path(name), lines));
    }
    QString path(const char* name) const {
        return home.path() + QStringLiteral("/Filtry/") + QString::fromLatin1(name);
    }
    QStringList read(const char* name) const {
        QStringList lines;
        EXPECT_TRUE(platform::readListFile(platform::realFileSystem(), path(name), lines));
        return lines;
    }
    scan::FilterSets& filters() { return form->filterSets(); }
};

TEST_F(FilterSetsTest, SelectingAModeLoadsItsFileAndSetsCountAndInterval) {
    filters().RadioButton1Click();
    EXPECT_EQ(model().ListBoxFiltry, QStringList({"*.tmp", "*.bak", "*.log"}));
    EXPECT_EQ(model().Label_LiczbaFiltrow, QStringLiteral("3"));
    EXPECT_EQ(model().LabelProgres, QStringLiteral("3000"));
    EXPECT_TRUE(model().RadioButton1);
    EXPECT_FALSE(model().RadioButton4);
    EXPECT_TRUE(ui.boxes.empty());

    filters().RadioButton3Click(); // advanced: warning first
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Uwaga !! "));
    EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Warning);
    EXPECT_EQ(model().ListBoxFiltry.size(), 4);
}

TEST_F(FilterSetsTest, GaugeIntervalSwitchesToTenthsFromHundredFilters) {
    struct Case {
        int n;
        const char* text;
    } cases[] = {{0, "0000"}, {40, "40000"}, {99, "99000"}, {100, "10000"}, {120, "12000"}};
    for (const Case& c : cases)
        EXPECT_EQ(scan::gaugeInterval(c.n), QString::fromLatin1(c.text)) << c.n;
}

TEST_F(FilterSetsTest, AddingOutsideTheUserModeSwitchesWithoutAdding) {
    model().EditDodajFiltr = QStringLiteral("*.xyz");
    filters().Button10Click();
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Dodawać nowe filtry możesz we własnym trybie. Zostaniesz "
                                         "przełączony do \"Ustawienia użytkownika\"")});
    EXPECT_TRUE(model().RadioButton2);
    EXPECT_FALSE(model().ListBoxFiltry.contains(QStringLiteral("*.xyz")));

    filters().Button10Click(); // the second click adds it
    EXPECT_TRUE(model().ListBoxFiltry.contains(QStringLiteral("*.xyz")));
    EXPECT_EQ(read("filtr_user.dat"), model().ListBoxFiltry);
    EXPECT_EQ(model().Label_LiczbaFiltrow, QStringLiteral("4"));
}

TEST_F(FilterSetsTest, DuplicateIgnoringCaseIsDroppedButTheFileIsRewritten) {
    filters().RadioButton2Click();
    write("filtr_user.dat", {"stale"}); // proves the rewrite
    model().EditDodajFiltr = QStringLiteral("*.TMP");
    filters().Button10Click();
    EXPECT_EQ(model().ListBoxFiltry, QStringList({"*.tmp", "Zz*.x", "a*.y"}));
    EXPECT_EQ(read("filtr_user.dat"), model().ListBoxFiltry);
    EXPECT_TRUE(ui.boxes.empty());

    model().EditDodajFiltr.clear();
    filters().Button10Click();
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Nie podano żadnego typu filtra !")});
}

TEST_F(FilterSetsTest, DeletingRewritesTheSelectedModesFile) {
    filters().Button14Click();
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Nie zaznaczono żadnego typu filtra do usunięcia !")});

    model().ListBoxFiltry = read("filtr_a1.dat");
    model().ListBoxFiltryItemIndex = 0;
    filters().Button14Click();
    EXPECT_EQ(read("filtr_a1.dat"), QStringList{"*.bak"});
    EXPECT_EQ(model().Label_LiczbaFiltrow, QStringLiteral("1"));
}

TEST_F(FilterSetsTest, SortingStaysOnAcrossModesAndPlacesNewFilters) {
    filters().RadioButton2Click();
    filters().Button20Click();
    EXPECT_EQ(model().ListBoxFiltry, QStringList({"*.tmp", "a*.y", "Zz*.x"}));
    EXPECT_EQ(read("filtr_user.dat"), QStringList({"*.tmp", "Zz*.x", "a*.y"})); // not written
    model().EditDodajFiltr = QStringLiteral("B*.z");
    filters().Button10Click();
    EXPECT_EQ(model().ListBoxFiltry, QStringList({"*.tmp", "a*.y", "B*.z", "Zz*.x"}));

    filters().RadioButton1Click();
    EXPECT_EQ(model().ListBoxFiltry, QStringList({"*.bak", "*.log", "*.tmp"}));
}

TEST_F(FilterSetsTest, StoringTheModeWritesFourValues) {
    filters().RadioButton2Click();
    filters().Button21Click();
    const char* expected[][2] = {
        {"Mniej_bezp", "0"}, {"TrybUsera", "1"}, {"Zaawansowany", "0"}, {"Bezpieczny", "0"}};
    for (auto& e : expected)
        EXPECT_EQ(settings.readString("Ustawienia", QString::fromLatin1(e[0])),
                  QString::fromLatin1(e[1]));
    EXPECT_EQ(ui.texts().last(),
              QStringLiteral("Zastosowano nowe ustawienia wyboru trybu skanowania."));
}

TEST_F(FilterSetsTest, UnreadableFileKeepsCountAndIntervalAndReportsTheReason) {
    filters().RadioButton1Click();
    QFile::remove(path("filtr_a3.dat"));
    filters().RadioButton3Click();
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("Cannot open file \"") +
                                        path("filtr_a3.dat") + QStringLiteral("\". ")));
    EXPECT_TRUE(model().ListBoxFiltry.isEmpty());
    EXPECT_EQ(model().Label_LiczbaFiltrow, QStringLiteral("3"));
    EXPECT_EQ(model().LabelProgres, QStringLiteral("3000"));
}

} // namespace
