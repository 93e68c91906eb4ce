#include "support/window_fixture.h"

#include "platform/text_file.h"
#include "support/fifo.h"

using namespace pylomir;
using namespace pylomir::testing;
using core::FilterMode;

namespace {

class FilterSetsTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        writeList("filtr_a1.dat", {"*.tmp", "*.bak"});
        writeList("filtr_a2.dat", {"*.tmp", "*.bak", "*.log"});
        writeList("filtr_a3.dat", {"*.tmp", "*.bak", "*.log", "*.reg"});
        writeList("filtr_user.dat", {"*.tmp", "Zz*.x", "a*.y"});
    }
    scan::FilterSets& filters() { return window->filterSets(); }
    const core::FiltersState& state() { return model().filters; }
};

TEST_F(FilterSetsTest, SelectingAModeLoadsItsFileAndSetsCountAndInterval) {
    filters().selectMode(FilterMode::LessSafe);
    EXPECT_EQ(state().filters, QStringList({"*.tmp", "*.bak", "*.log"}));
    EXPECT_EQ(state().filterCount, 3);
    EXPECT_EQ(state().progressIntervalMs, 3000);
    EXPECT_EQ(state().selectedMode, FilterMode::LessSafe);
    EXPECT_TRUE(ui.boxes.empty());

    filters().selectMode(FilterMode::Advanced); // advanced: warning first
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Uwaga !! "));
    EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Warning);
    EXPECT_EQ(state().filters.size(), 4);
}

TEST_F(FilterSetsTest, HundredFiltersOrMoreTickInTenthsOfASecond) {
    for (const int n : {99, 100}) {
        QStringList masks;
        for (int i = 0; i < n; ++i)
            masks << QStringLiteral("*.x%1").arg(i);
        writeList("filtr_a2.dat", masks);
        filters().reloadMode(FilterMode::LessSafe);
        EXPECT_EQ(state().progressIntervalMs, n == 99 ? 99000 : 10000) << n;
    }
}

TEST_F(FilterSetsTest, AddingOutsideTheUserModeSwitchesWithoutAdding) {
    filters().setNewFilterText(QStringLiteral("*.xyz"));
    filters().addFilter();
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Dodawać nowe filtry możesz we własnym trybie. Zostaniesz "
                                         "przełączony do \"Ustawienia użytkownika\"")});
    EXPECT_EQ(state().selectedMode, FilterMode::UserDefined);
    EXPECT_FALSE(state().filters.contains(QStringLiteral("*.xyz")));

    filters().addFilter(); // the second click adds it
    EXPECT_TRUE(state().filters.contains(QStringLiteral("*.xyz")));
    EXPECT_EQ(readList("filtr_user.dat"), state().filters);
    EXPECT_EQ(state().filterCount, 4);
}

TEST_F(FilterSetsTest, DuplicateIgnoringCaseIsDroppedButTheFileIsRewritten) {
    filters().selectMode(FilterMode::UserDefined);
    writeList("filtr_user.dat", {"stale"}); // proves the rewrite
    filters().setNewFilterText(QStringLiteral("*.TMP"));
    filters().addFilter();
    EXPECT_EQ(state().filters, QStringList({"*.tmp", "Zz*.x", "a*.y"}));
    EXPECT_EQ(readList("filtr_user.dat"), state().filters);
    EXPECT_TRUE(ui.boxes.empty());

    filters().setNewFilterText(QString());
    filters().addFilter();
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Nie podano żadnego typu filtra !")});
}

TEST_F(FilterSetsTest, DeletingRewritesTheSelectedModesFile) {
    const QString nothingSelected =
        QStringLiteral("Nie zaznaczono żadnego typu filtra do usunięcia !");
    model().filters.filters = readList("filtr_a1.dat");
    for (const qsizetype outside : {qsizetype(-1), qsizetype(2)}) {
        filters().selectFilter(outside);
        filters().deleteFilter();
        EXPECT_EQ(ui.texts().last(), nothingSelected) << outside;
        EXPECT_EQ(state().filters.size(), 2);
    }

    // Choosing a mode leaves nothing selected in its list.
    filters().selectFilter(0);
    filters().selectMode(FilterMode::LessSafe);
    filters().deleteFilter();
    EXPECT_EQ(ui.texts().last(), nothingSelected);
    EXPECT_EQ(readList("filtr_a2.dat").size(), 3);
    filters().selectMode(FilterMode::Safe);

    filters().selectFilter(0);
    filters().deleteFilter();
    EXPECT_EQ(readList("filtr_a1.dat"), QStringList{"*.bak"});
    EXPECT_EQ(state().filterCount, 1);
    EXPECT_EQ(state().selectedFilter, -1); // a second click deletes nothing more
    filters().deleteFilter();
    EXPECT_EQ(readList("filtr_a1.dat"), QStringList{"*.bak"});
}

TEST_F(FilterSetsTest, SortingStaysOnAcrossModesAndPlacesNewFilters) {
    filters().selectMode(FilterMode::UserDefined);
    filters().sortFilters();
    EXPECT_EQ(state().filters, QStringList({"*.tmp", "a*.y", "Zz*.x"}));
    EXPECT_EQ(readList("filtr_user.dat"), QStringList({"*.tmp", "Zz*.x", "a*.y"})); // not written
    filters().setNewFilterText(QStringLiteral("B*.z"));
    filters().addFilter();
    EXPECT_EQ(state().filters, QStringList({"*.tmp", "a*.y", "B*.z", "Zz*.x"}));

    filters().selectMode(FilterMode::LessSafe);
    EXPECT_EQ(state().filters, QStringList({"*.bak", "*.log", "*.tmp"}));
}

TEST_F(FilterSetsTest, StoringTheModeWritesFourValues) {
    filters().selectMode(FilterMode::UserDefined);
    filters().storeMode();
    const char* expected[][2] = {
        {"Mniej_bezp", "0"}, {"TrybUsera", "1"}, {"Zaawansowany", "0"}, {"Bezpieczny", "0"}};
    for (auto& e : expected)
        EXPECT_EQ(settings.readString("Ustawienia", QString::fromLatin1(e[0])),
                  QString::fromLatin1(e[1]));
    EXPECT_EQ(ui.texts().last(),
              QStringLiteral("Zastosowano nowe ustawienia wyboru trybu skanowania."));
}

TEST_F(FilterSetsTest, UnreadableFileKeepsCountAndIntervalAndReportsTheReason) {
    filters().selectMode(FilterMode::LessSafe);
    QFile::remove(filtersPath("filtr_a3.dat"));
    filters().selectMode(FilterMode::Advanced);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("Cannot open file \"") +
                                        filtersPath("filtr_a3.dat") + QStringLiteral("\". ")));
    EXPECT_TRUE(state().filters.isEmpty());
    EXPECT_EQ(state().filterCount, 3);
    EXPECT_EQ(state().progressIntervalMs, 3000);
}

// A FIFO at a filter file's place is an error like a missing file, never a
// wait for a writer.
TEST_F(FilterSetsTest, AFifoInPlaceOfAFilterFileIsAnError) {
    const QString path = filtersPath("filtr_a2.dat");
    QFile::remove(path);
    ASSERT_TRUE(makeFifo(path));
    filters().reloadMode(FilterMode::Safe);
    EXPECT_TRUE(endsWithoutWaitingOn(path, [&] { filters().selectMode(FilterMode::LessSafe); }));
    EXPECT_EQ(ui.errors,
              QStringList{QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(path)});
    EXPECT_TRUE(state().filters.isEmpty());
    EXPECT_EQ(state().filterCount, 2);
}

// A list that could not be read is not the file's content: changes to it
// stay in memory and never replace the file, which is said once.
TEST_F(FilterSetsTest, AListThatCouldNotBeReadIsNeverWrittenOverItsFile) {
    const QString path = filtersPath("filtr_user.dat");
    disk.unreadable.insert(path);
    filters().selectMode(FilterMode::UserDefined);
    ASSERT_EQ(ui.errors.size(), 1);
    for (const char* mask : {"*.x", "*.y"}) {
        filters().setNewFilterText(QString::fromLatin1(mask));
        filters().addFilter();
    }
    filters().selectFilter(0);
    filters().deleteFilter();
    EXPECT_EQ(state().filters, QStringList{"*.y"});
    EXPECT_EQ(ui.texts(), QStringList{platform::unreadListNotSavedMessage(path)});
    EXPECT_EQ(ui.errors.size(), 1);
    EXPECT_EQ(readList("filtr_user.dat"), QStringList({"*.tmp", "Zz*.x", "a*.y"}));

    // Read again once it can be, the list is the file's and is written.
    disk.unreadable.clear();
    filters().selectMode(FilterMode::Safe);
    filters().selectMode(FilterMode::UserDefined);
    filters().setNewFilterText(QStringLiteral("*.z"));
    filters().addFilter();
    EXPECT_EQ(readList("filtr_user.dat"), QStringList({"*.tmp", "Zz*.x", "a*.y", "*.z"}));
}

} // namespace
