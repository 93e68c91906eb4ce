// The built-in table of known file types: for a whole file name or an
// extension, which program makes such files, whether deleting them is safe,
// and how commonly they turn up.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace pylomir::assess {

struct KnownFileType {
    QString key;         // lower case; a whole name, or an extension with its dot
    QString description; // Polish, as the object information window shows it
    int frequency = 0;   // in percent: 0, 10, ... 100
};

// Two sections, looked up one after the other; no key occurs twice.
struct KnownFileTypes {
    QList<KnownFileType> byName;
    QList<KnownFileType> byExtension;
};

const KnownFileTypes& knownFileTypes();

// What a file no key describes gets.
const KnownFileType& unknownFileType();

// The row for a lower-case name and extension: the name section first,
// then the extension section, by exact comparison; the unknown row when
// neither has the key.
const KnownFileType& lookUpKnownType(QStringView name, QStringView extension);

} // namespace pylomir::assess
