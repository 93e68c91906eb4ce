// The session's text files (the deletion log, the HTML report): lines in
// Windows-1250, each ended by CR LF.
#pragma once

#include <QString>
#include <QStringList>

namespace pylomir::platform {
class FileSystem;
}

namespace pylomir::records {

// Writes the lines under a temporary name and renames the file into place
// once it is whole, so a failure leaves nothing half written. A line with a
// character the code page lacks makes the whole file UTF-8 with a
// byte-order mark; every line is kept as it is. False with the system's
// reason on failure.
bool writeRecordFile(platform::FileSystem& fs, const QString& path, const QStringList& lines,
                     QString& reason);

} // namespace pylomir::records
