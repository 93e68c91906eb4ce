// The files a backup stores: its entries, paths or masks, expanded against
// the file system into the work list.
#pragma once

#include "backup/archive_format.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace pylomir::platform {
class FileSystem;
}

namespace pylomir::backup {

// Which matching files a backup takes: all, or those whose archive attribute
// is set (the files changed since they were last stored).
enum class BackupScope { All = 0, Incremental = 1 };

// Whether a name matches a find-first wildcard: '*' any run of characters,
// '?' one character, everything else itself ('[' included), letters in any
// case. A final ".*" may also match nothing, so "*.*" takes every name, with
// a dot or without, and "readme.*" takes "readme".
bool matchesWildcard(QStringView mask, QStringView name);

struct Expansion {
    QStringList work;
    // Folders a mask or the switch needed that could not be listed, with
    // their separator: their files are left out.
    QStringList unlistable;
    // Plain entries that name the archive itself.
    QStringList namingArchive;
};

// Expands the entries, in order, into the paths to store. An entry is a path
// or a wildcard mask (matchesWildcard); followed by the switch "/s" it takes
// the sub-folders too, and their files (depth first, in listing order) come
// before the folder's own. Windows-style entries are lower-cased first and
// the switch counts wherever it stands; in POSIX paths "/s" is an ordinary
// part of a path, so only a trailing " /s" is the switch. Relative entries
// start from the current folder. Each file comes once; the archive itself
// (archivePath, absolute; empty for a stream) never. Hidden and system
// sub-folders are not entered.
Expansion expandEntries(platform::FileSystem& fs, PathStyle style, BackupScope scope,
                        const QStringList& entries, const QString& archivePath);
// The work list alone.
inline QStringList expand(platform::FileSystem& fs, PathStyle style, BackupScope scope,
                          const QStringList& entries, const QString& archivePath) {
    return expandEntries(fs, style, scope, entries, archivePath).work;
}

} // namespace pylomir::backup
