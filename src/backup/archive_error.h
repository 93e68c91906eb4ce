// The archiver's failures: the codes its owner reads after an operation, and
// the failures it raises instead because nothing sensible could follow.
#pragma once

#include "core/error.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace pylomir::backup {

// errorCode() holds one of these after a failed operation.
enum ArchiveErrorCode : qint32 {
    ecNone = 0,
    ecReadData = 1,
    ecOverwrite = 2, // reserved: nothing sets it
    ecReadArchive = 3,
    ecCreateArchive = 4,
    ecNotArchive = 5,
    ecCompression = 6,
    ecTempFile = 7,
    // A restore into another folder skipped members that would land outside it.
    ecOutsideFolder = 8,
    // A restore could not make the folder a file goes to.
    ecCreateFolder = 9,
    // A backup left out inputs it cannot read: a folder it cannot list, or
    // something that is no file (a FIFO, a device).
    ecSkippedInput = 10,
    // A backup's archive would replace one of the files it is to store.
    ecArchiveIsInput = 11,
    // The information list holds more lines than are read.
    ecListTooLong = 12,
    // A restore into another folder skipped members whose target an earlier
    // member of the same restore was written to (the same file name).
    ecSameTarget = 13,
    // A restore to the stored paths skipped members whose stored name is not
    // an absolute, normalised path.
    ecIrregularName = 14,
};

// The fixed message of a code; empty for none.
QString archiveErrorMessage(qint32 code);

// Texts of the raised failures.
// The archive cannot be opened or its header read.
inline constexpr char kCannotReadArchive[] = "Nie można odczytać pliku kopii zapasowej !";
// A segment that is skipped is damaged.
inline constexpr char kNotAnArchive[] = "To nie jest plik kopii zapasowej programu Pylomir !";
// The archive ends inside a member header.
inline constexpr char kArchiveReadError[] = "Stream read error";

// A message followed, on a line of its own, by the path of the file it
// concerns; the message alone when there is no such file.
QString namingFile(const QString& message, const QString& path);
// Paths for namingFile(), one a line: the first ten, then how many more.
QString namingFiles(const QStringList& paths);

// A failure raised to the caller instead of being coded: the archive cannot
// be read at all or is not an archive, or a file to store cannot be opened.
class ArchiveError : public core::Error {
public:
    using core::Error::Error;
};

} // namespace pylomir::backup
