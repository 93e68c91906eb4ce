// The known-types table: which row a file gets, the texts that must stay
// word for word, and the shape of both sections.
#include "assess/known_file_types.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QSet>
#include <QStringList>

namespace {

using namespace pylomir::assess;

const QString kNorton = QStringLiteral(
    "Pliki LOG programu antywirusowego Norton AntiVirus (AVVirus.log - [wykryte wirusy] i "
    "AVApp.log - [działania aplikacji])");
const QString kScanDisk = QStringLiteral(
    "Pliki tymczasowe programu Scan Disk (log o przebiegu naprawy błędów logicznych dysku)");
const QString kLog = QStringLiteral(
    "Pliki LOG są używane do zapisów przeprowadzonych czynności, prowadzenia dziennika skanowań, "
    "zmian, zdarzeń, itp. Mozna usuwać, ale TYLKO niektóre typy plików LOG. Dla doświadczonych "
    "użytkowników.");
const QString kTemporary = QStringLiteral(
    "Plik tymczasowy, tworzony przez niemal każdą aplikację. Całkowicie bezpieczny przy "
    "usuwaniu. Jeśli jest teraz używany przez aplikację - nie będzie usunięty !");
const QString kSuspect = QStringLiteral(
    "Wykryto podejrzane rozszerzenie! Plik ma jedno z tych rozszerzeń: SYS, DLL, VXD, INI, INF, "
    "DAT, DRV, CFG, COM, OCX, NT, AX, LIC, BIN. Należy zachowac ostrożność !");
const QString kFallback =
    QStringLiteral("Brak informacji o typie pliku. W razie wątpliwości należy zrobić kopię "
                   "zapasową pliku lub sprawdzić opis w \"Opisy filtrów\"");

TEST(KnownFileTypesTest, LookUpTriesNamesFirstThenExtensionsThenFallsBack) {
    const struct {
        QString name;
        QString extension;
        QString description;
        int frequency;
    } rows[] = {
        // The window lowers what it looks up; the name key beats ".log".
        {QStringLiteral("SCANDISK.LOG").toLower(), QStringLiteral(".log"), kScanDisk, 70},
        {QStringLiteral("avapp.log"), QStringLiteral(".log"), kNorton, 70},
        {QStringLiteral("avvirus.log"), QStringLiteral(".log"), kNorton, 70},
        {QStringLiteral("setup.log"), QStringLiteral(".log"), kLog, 100},
        {QStringLiteral("driver.dll"), QStringLiteral(".DLL").toLower(), kSuspect, 0},
        {QStringLiteral("a.tmp"), QStringLiteral(".tmp"), kTemporary, 100},
        {QStringLiteral("a.temp"), QStringLiteral(".temp"), kTemporary, 100},
        {QStringLiteral("a.dmp"), QStringLiteral(".dmp"), kTemporary, 100},
        // Whole names without an extension.
        {QStringLiteral("shockwave log"), QString(),
         QStringLiteral("Pliki LOG (bez rozszerzenia) programu Macromedia Flash Player"), 100},
        {QStringLiteral("report"), QString(), kFallback, 0},
        // What the window holds before any assessment.
        {QStringLiteral("-"), QString(), kFallback, 0},
        // The comparison is exact: letter case is the caller's business.
        {QStringLiteral("SCANDISK.LOG"), QStringLiteral(".LOG"), kFallback, 0},
        // An extension is not a name, nor a name an extension.
        {QStringLiteral(".log"), QString(), kFallback, 0},
        {QString(), QStringLiteral("scandisk.log"), kFallback, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message()
                     << r.name.toStdString() << " | " << r.extension.toStdString());
        const KnownFileType& found = lookUpKnownType(r.name, r.extension);
        EXPECT_EQ(found.description, r.description);
        EXPECT_EQ(found.frequency, r.frequency);
    }
    EXPECT_EQ(&lookUpKnownType(u"report", u""), &unknownFileType());
}

TEST(KnownFileTypesTest, QuotedRowsKeepTheirTextsAndFrequencies) {
    const struct {
        QStringList keys;
        int frequency;
        QString description;
    } groups[] = {
        {{"account.log"}, 60, QStringLiteral("Plik LOG menedżera poczty The Bat!")},
        {{"scandisk.log"}, 70, kScanDisk},
        {{"avvirus.log", "avapp.log"}, 70, kNorton},
        {{".log"}, 100, kLog},
        {{".tmp", ".temp", ".dmp"}, 100, kTemporary},
        {{".old", ".bak", ".bac", ".backup"},
         100,
         QStringLiteral("Pliki BAK i BACKUP oraz OLD są plikami kopii zapasowej oryginalnych "
                        "plików tworzonych przez aplikacje lub sam system (pliki te są używane do "
                        "odtworzenia oryginalnego pliku, gdy ten został uszkodzony)")},
        {{".class"},
         100,
         QStringLiteral("Podejrzane niebezpieczne pliki internetowe. Mogą zawierać kod wirusa. "
                        "(TYLKO tymczasowe pliki CLASS z folderu Temporary Internet Files)")},
        {{".plm"},
         50,
         QStringLiteral("Pliki LOG programu usuwającego pliki tymczasowe - Pylomir`a  ;)")},
        {{".sys", ".dll", ".ini", ".vxd", ".dat", ".cfg", ".ax", ".ocx", ".lic", ".bin", ".drv",
          ".inf", ".com", ".nt"},
         0,
         kSuspect},
    };
    QMap<QString, KnownFileType> byKey;
    for (const KnownFileType& row : knownFileTypes().byName + knownFileTypes().byExtension)
        byKey.insert(row.key, row);
    for (const auto& g : groups) {
        for (const QString& key : g.keys) {
            SCOPED_TRACE(key.toStdString());
            ASSERT_TRUE(byKey.contains(key));
            EXPECT_EQ(byKey[key].description, g.description);
            EXPECT_EQ(byKey[key].frequency, g.frequency);
        }
    }
    EXPECT_EQ(unknownFileType().description, kFallback);
    EXPECT_EQ(unknownFileType().frequency, 0);
}

TEST(KnownFileTypesTest, SectionsHaveTheirSizeAndNoKeyTwice) {
    const KnownFileTypes& table = knownFileTypes();
    EXPECT_EQ(table.byName.size(), 53);
    EXPECT_EQ(table.byExtension.size(), 130);

    QSet<QString> keys;
    QSet<QString> descriptions;
    for (const QList<KnownFileType>* section : {&table.byName, &table.byExtension}) {
        const bool extensions = section == &table.byExtension;
        for (const KnownFileType& row : *section) {
            SCOPED_TRACE(row.key.toStdString());
            EXPECT_FALSE(keys.contains(row.key));
            keys.insert(row.key);
            descriptions.insert(row.description);
            EXPECT_EQ(row.key, row.key.toLower());
            EXPECT_EQ(extensions, row.key.startsWith(u'.'));
            EXPECT_GT(row.key.size(), extensions ? 1 : 0);
            EXPECT_FALSE(row.description.trimmed().isEmpty());
            EXPECT_NE(row.description, kFallback);
            EXPECT_TRUE(row.frequency >= 0 && row.frequency <= 100 && row.frequency % 10 == 0)
                << row.frequency;
        }
    }
    EXPECT_EQ(descriptions.size(), 107);
}

TEST(KnownFileTypesTest, EachFrequencyHasItsNumberOfKeys) {
    const auto countByFrequency = [](const QList<KnownFileType>& section) {
        QMap<int, int> counts;
        for (const KnownFileType& row : section)
            ++counts[row.frequency];
        return counts;
    };
    const QMap<int, int> names{{100, 28}, {90, 1}, {80, 2}, {70, 7}, {60, 1},
                               {50, 1},   {40, 4}, {30, 4}, {20, 5}};
    const QMap<int, int> extensions{{100, 27}, {70, 22}, {60, 8},  {50, 2}, {40, 18},
                                    {30, 22},  {20, 7},  {10, 10}, {0, 14}};
    EXPECT_EQ(countByFrequency(knownFileTypes().byName), names);
    EXPECT_EQ(countByFrequency(knownFileTypes().byExtension), extensions);
}

} // namespace
