#include "assess/known_file_types.h"

namespace pylomir::assess {

const KnownFileTypes& knownFileTypes() {
    static const KnownFileTypes table;
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
