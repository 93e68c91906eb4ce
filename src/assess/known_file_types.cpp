#include "assess/known_file_types.h"

namespace pylomir::assess {

// A few rows until the whole table is written.
const KnownFileTypes& knownFileTypes() {
    static const KnownFileTypes table{
        {
            {QStringLiteral("scandisk.log"),
             QStringLiteral("Pliki tymczasowe programu Scan Disk (log o przebiegu naprawy błędów "
                            "logicznych dysku)"),
             70},
            {QStringLiteral("avapp.log"),
             QStringLiteral("Pliki LOG programu antywirusowego Norton AntiVirus (AVVirus.log - "
                            "[wykryte wirusy] i AVApp.log - [działania aplikacji])"),
             70},
        },
        {
            {QStringLiteral(".log"),
             QStringLiteral(
                 "Pliki LOG są używane do zapisów przeprowadzonych czynności, "
                 "prowadzenia dziennika skanowań, zmian, zdarzeń, itp. Mozna usuwać, ale "
                 "TYLKO niektóre typy plików LOG. Dla doświadczonych użytkowników."),
             100},
            {QStringLiteral(".tmp"),
             QStringLiteral("Plik tymczasowy, tworzony przez niemal każdą aplikację. Całkowicie "
                            "bezpieczny przy usuwaniu. Jeśli jest teraz używany przez aplikację - "
                            "nie będzie usunięty !"),
             100},
            {QStringLiteral(".dll"),
             QStringLiteral(
                 "Wykryto podejrzane rozszerzenie! Plik ma jedno z tych rozszerzeń: SYS, "
                 "DLL, VXD, INI, INF, DAT, DRV, CFG, COM, OCX, NT, AX, LIC, BIN. Należy "
                 "zachowac ostrożność !"),
             0},
        }};
    return table;
}

const KnownFileType& unknownFileType() {
    static const KnownFileType row{
        QString(),
        QStringLiteral("Brak informacji o typie pliku. W razie wątpliwości należy zrobić kopię "
                       "zapasową pliku lub sprawdzić opis w \"Opisy filtrów\""),
        0};
    return row;
}

const KnownFileType& lookUpKnownType(QStringView name, QStringView extension) {
    const KnownFileTypes& table = knownFileTypes();
    for (const KnownFileType& row : table.byName) {
        if (row.key == name)
            return row;
    }
    for (const KnownFileType& row : table.byExtension) {
        if (row.key == extension)
            return row;
    }
    return unknownFileType();
}

} // namespace pylomir::assess
