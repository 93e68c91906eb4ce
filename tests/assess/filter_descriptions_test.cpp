// The filter description list: its rows, categories and "not handled"
// marks, and the order the tab keeps as sorting is turned on and off.
#include "assess/filter_descriptions.h"
#include "support/window_fixture.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

using namespace pylomir;
using assess::FilterCategory;
using assess::filterDescriptions;

const QString kMark = QStringLiteral("-> Nie obsługiwane ! / ");
const QString kQuietMark = QStringLiteral("-> Nie obsługiwane / ");

QList<qsizetype> storedOrder() {
    QList<qsizetype> order(filterDescriptions().size());
    std::iota(order.begin(), order.end(), 0);
    return order;
}

QStringList masksIn(const QList<qsizetype>& order) {
    QStringList masks;
    for (const qsizetype row : order)
        masks << filterDescriptions().at(row).mask;
    return masks;
}

TEST(FilterDescriptionsTest, EveryMaskIsListedOnceWithTheCategoryCounts) {
    const QList<assess::FilterDescription>& rows = filterDescriptions();
    ASSERT_EQ(rows.size(), 252);
    QSet<QString> seen;
    int counts[assess::kFilterCategoryCount] = {};
    for (const assess::FilterDescription& row : rows) {
        // Masks match without regard to case, so a case variant is a repeat.
        EXPECT_FALSE(seen.contains(row.mask.toLower())) << row.mask.toStdString();
        seen.insert(row.mask.toLower());
        EXPECT_FALSE(row.description.trimmed().isEmpty()) << row.mask.toStdString();
        ++counts[int(row.category)];
    }
    const int expected[assess::kFilterCategoryCount] = {16, 58, 25, 58, 4, 58, 23, 10};
    for (int c = 0; c < assess::kFilterCategoryCount; ++c)
        EXPECT_EQ(counts[c], expected[c]) << "category " << c;
}

TEST(FilterDescriptionsTest, StoredOrderKeepsEachMaskInPlaceWithItsCategory) {
    const struct {
        qsizetype index;
        const char* mask;
        FilterCategory category;
    } cases[] = {
        {0, "*.tmp", FilterCategory::Temporary},
        {1, "*.bak", FilterCategory::ProgramBackup},
        {15, "runonceex.txt", FilterCategory::InfoAndText},
        {50, "*.scb", FilterCategory::UnknownAppTemporary},
        {57, "twain????.mtx", FilterCategory::RiskyToDelete},
        {78, "*.log", FilterCategory::LogsAndReports},
        {97, "entries.reg", FilterCategory::RegistryBackup},
        {140, "*&*?*[*", FilterCategory::Internet},
        {143, "0?-?\?-?????.??.*", FilterCategory::RegistryBackup},
        {204, "Shockwave?Log", FilterCategory::LogsAndReports},
        {216, "unreal.nglog.200?.*.*.log", FilterCategory::LogsAndReports},
        {250, "leech.hst", FilterCategory::LogsAndReports},
        {251, "iam*.rel", FilterCategory::LogsAndReports},
    };
    const QList<assess::FilterDescription>& rows = filterDescriptions();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        ASSERT_LT(c.index, rows.size());
        EXPECT_EQ(rows[c.index].mask, QString::fromUtf8(c.mask));
        EXPECT_EQ(rows[c.index].category, c.category);
    }
}

TEST(FilterDescriptionsTest, ExactlyTheUnhandledMasksCarryTheirMark) {
    const QSet<QString> quiet = {"*.url",      "*&*?*[*", "*.zip.log", "*.rar.log",
                                 "*.html.log", "*.dof",   "*.drc"};
    const QSet<QString> marked = {
        "readme.*",     "runonceex.txt", "tips.txt",        "insta*.txt",  "order.*",
        "manual.htm",   "about.htm",     "about.txt",       "file_id.diz", "whatsnew.*",
        "register.*",   "*nowego.*",     "czytaj*.txt",     "faq.txt",     "*.nfo",
        "modemdet.txt", "pq_debug.txt",  "release*notes.*", "system.st",   "*site.*",
        "*.fcgi",       "*.aspx",        "?[?].*",          "*].asp",      "*].css",
        "*.&*",         "*.?\?!",        "iconcache.db",    "*.sav",       "brudlog.txt",
        "suhdlog.txt",  "sflog.txt",     "ndislog.txt",     "eelog.txt",   "oewablog.txt",
        "?etlog.txt",   "mssecure.xml"};
    ASSERT_EQ(quiet.size(), 7);
    ASSERT_EQ(marked.size(), 37);
    int notHandled = 0;
    for (const assess::FilterDescription& row : filterDescriptions()) {
        SCOPED_TRACE(row.mask.toStdString());
        const bool isQuiet = quiet.contains(row.mask);
        const bool isMarked = marked.contains(row.mask);
        EXPECT_EQ(assess::isNotHandled(row), isQuiet || isMarked);
        EXPECT_EQ(row.description.startsWith(kQuietMark), isQuiet);
        EXPECT_EQ(row.description.startsWith(kMark), isMarked);
        if (isQuiet || isMarked) {
            ++notHandled;
            // The description proper follows the mark.
            const qsizetype proper = (isQuiet ? kQuietMark : kMark).size();
            EXPECT_GT(row.description.size(), proper + 10);
            EXPECT_FALSE(row.description.mid(proper).contains(QStringLiteral("Nie obsługiwane")));
        } else {
            EXPECT_FALSE(row.description.contains(QStringLiteral("Nie obsługiwane")));
        }
    }
    EXPECT_EQ(notHandled, 44);
}

TEST(FilterDescriptionsTest, GivenDescriptionsAreKeptWordForWord) {
    const struct {
        const char* mask;
        FilterCategory category;
        const char* description;
    } cases[] = {
        {"*.tmp", FilterCategory::Temporary, "Pliki tymczasowe tworzne przez różne aplikacje"},
        {"*.log", FilterCategory::LogsAndReports,
         "Pliki wykonanych czynności tworzone przez aplikacje (pełni taką samą funkcję co pliki "
         "tekstowe mające w nazwie słowo LOG)"},
        {"r?port.txt", FilterCategory::LogsAndReports,
         "Potencjalnie niepotrzebny (raporty programów, filtr rozpoznaje także nazwy angielskie: "
         "'report')"},
        {"*.scb", FilterCategory::UnknownAppTemporary,
         "Pliki tymczasowe programu (Brak danych o typie programu)"},
        {"entries.reg", FilterCategory::RegistryBackup,
         "Pliki kopii zapasowej wprowadzonych zmian w rejestrze przez program JV16 PowerTools"},
        {"twain????.mtx", FilterCategory::RiskyToDelete,
         "Tymczasowe pliki TWAIN systemu (m.in. XP)"},
        {"iconcache.db", FilterCategory::RiskyToDelete,
         "-> Nie obsługiwane ! / Plik pamięci tymczasowej ikon w XP (Cache ikony)"},
        {"*].js", FilterCategory::Internet,
         "Potencjalnie niebezpieczny plik skryptu instalujący się TYLKO w folderze Temporary "
         "Internet Files"},
        {"*.sav", FilterCategory::LogsAndReports,
         "-> Nie obsługiwane ! / Plik zapisu stanu aplikacji (Uwaga: używany także do zapisu "
         "stanu gry - zaleca się usuwanie go tylko wtedy gdy nie ma nic wspólnego z grą !)"},
        {"*.plm", FilterCategory::LogsAndReports,
         "Pliki LOG o przeprowadzonych skanowaniach i znalezionych plikach programem Pylomir "
         "usuwającym pliki tymczasowe"},
        {"FileBAK*.backup", FilterCategory::ProgramBackup,
         "Plik kopii zapasowej usuniętych plików programem Pylomir (obsługiwane jako "
         "rozszerzenie Backup)"},
    };
    const QList<assess::FilterDescription>& rows = filterDescriptions();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        const auto row = std::find_if(rows.begin(), rows.end(), [&c](const auto& r) {
            return r.mask == QString::fromUtf8(c.mask);
        });
        ASSERT_NE(row, rows.end());
        EXPECT_EQ(row->category, c.category);
        EXPECT_EQ(row->description, QString::fromUtf8(c.description));
    }
}

TEST(FilterDescriptionsTest, LegendAndColumnCaptions) {
    const std::pair<FilterCategory, const char*> captions[] = {
        {FilterCategory::UnknownAppTemporary, "Pliki tymczasowe nieznanych aplikacji"},
        {FilterCategory::Temporary, "Pliki tymczasowe"},
        {FilterCategory::Internet, "Pliki internetowe"},
        {FilterCategory::ProgramBackup, "Kopie zapasowe programów"},
        {FilterCategory::RiskyToDelete, "Pliki o niebezpieczeństwie przy usuwaniu"},
        {FilterCategory::LogsAndReports, "Pliki LOG i raportów"},
        {FilterCategory::InfoAndText, "Pliki informacyjne i zwykłe tekstowe programów"},
        {FilterCategory::RegistryBackup, "Kopie zapasowe rejestru"},
    };
    for (const auto& [category, caption] : captions)
        EXPECT_EQ(assess::categoryCaption(category), QString::fromUtf8(caption));
    EXPECT_EQ(assess::maskColumnCaption(), QStringLiteral("Typ pliku"));
    EXPECT_EQ(assess::descriptionColumnCaption(),
              QStringLiteral("Opis rozszerzenia używanego przez aplikację [DOSTĘPNE: 197   Z   "
                             "254   WSZYSTKICH]"));
}

class FilterDescriptionsTabTest : public pylomir::testing::WindowFixture {
protected:
    const core::FilterDescriptionsState& state() { return window->model().filterDescriptions; }
    bool sortedByLocale(const QList<qsizetype>& order) {
        const QStringList masks = masksIn(order);
        return std::is_sorted(masks.begin(), masks.end(), [this](const auto& a, const auto& b) {
            return locale.lessIgnoringCase(a, b);
        });
    }
};

TEST_F(FilterDescriptionsTabTest, SortingStaysOnceTurnedOffAndOnAgain) {
    // The window starts with the stored order.
    ASSERT_EQ(state().rowOrder, storedOrder());
    EXPECT_FALSE(state().sorted);
    ASSERT_FALSE(sortedByLocale(state().rowOrder));

    assess::FilterDescriptionsTab& tab = window->filterDescriptionsTab();
    tab.setSorted(true);
    EXPECT_TRUE(state().sorted);
    const QList<qsizetype> sorted = state().rowOrder;
    EXPECT_TRUE(sortedByLocale(sorted));
    QList<qsizetype> rows = sorted;
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, storedOrder()); // every row once

    // Unchecked: no going back to the stored order.
    tab.setSorted(false);
    EXPECT_FALSE(state().sorted);
    EXPECT_EQ(state().rowOrder, sorted);

    tab.setSorted(true);
    EXPECT_EQ(state().rowOrder, sorted);

    // Filled again while sorting is on, the rows come sorted.
    tab.fill();
    EXPECT_EQ(state().rowOrder, sorted);
}

TEST(FilterDescriptionsTabNoLocaleTest, SortsIgnoringCaseWithoutALocale) {
    core::FilterDescriptionsState state;
    const core::Services services; // no locale
    assess::FilterDescriptionsTab tab(state, services);
    tab.fill();
    tab.setSorted(true);
    const QStringList masks = masksIn(state.rowOrder);
    ASSERT_EQ(masks.size(), 252);
    EXPECT_TRUE(std::is_sorted(masks.begin(), masks.end(), [](const auto& a, const auto& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    }));
    // Upper-case masks stand among the lower-case ones, not before them all.
    EXPECT_GT(masks.indexOf(QStringLiteral("FileBAK*.backup")),
              masks.indexOf(QStringLiteral("favicon*].ico")));
}

} // namespace
