// The time stamp that names archives, logs, reports and undo files, and a
// free name for such a file.
#pragma once

#include <QDateTime>
#include <QString>

namespace pylomir::platform {
class FileSystem;
class LocaleFormats;
} // namespace pylomir::platform

namespace pylomir::core {

// dd-mm-yyyy, a blank, the user's long time with '-' for ':'. Characters a
// file name cannot hold (a locale's time may carry '/' or '.' and more) are
// left out, so the stamp always fits in a name.
QString timeStamp(const QDateTime& now, const platform::LocaleFormats& locale);

// The path itself when nothing is there yet; otherwise the same name with
// " (2)", " (3)"... before its extension, the first that is free. An earlier
// log, report or undo file is never overwritten by one of the same second.
QString freeFileName(platform::FileSystem& fs, const QString& path);

} // namespace pylomir::core
