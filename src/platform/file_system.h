// File-system access with Windows semantics: attribute bits, find-first
// results and local file times, whatever the operating system underneath.
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <memory>
#include <optional>

namespace pylomir::platform {

// Windows file attribute bits, as the rest of the program sees them.
enum FileAttribute : qint32 {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeId = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faNormal = 0x80,
};

// A calendar time in local time (the Win32 SYSTEMTIME layout).
struct SystemTime {
    quint16 year = 0;
    quint16 month = 0;
    quint16 dayOfWeek = 0; // 0 = Sunday
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

struct FileTimes {
    SystemTime creation;
    SystemTime lastAccess;
    SystemTime lastWrite;
};

// The result of a find-first look-up of one path.
struct FindData {
    QString name;
    qint32 attributes = 0;
    qint64 size = 0; // the full size; callers cut it to 32 bits where the format wants it
    FileTimes times;
};

// One open listing of a folder. Entries come in the order the file system
// gives them, "." and ".." included where the system reports them.
// Anything beyond the name is fetched only when asked for.
class DirListing {
public:
    virtual ~DirListing() = default;
    // Moves to the next entry; false when there is none left.
    virtual bool next() = 0;
    // The current entry's name; valid until the next call of next().
    virtual QStringView name() const = 0;
    // A real folder; a symbolic link or junction never is one.
    virtual bool isDirectory() = 0;
    virtual qint32 attributes() = 0;
    virtual qint64 size() = 0; // 0 for folders
    virtual FileTimes times() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Lists every entry of a folder (path ending with the separator);
    // null when the folder cannot be listed.
    virtual std::unique_ptr<DirListing> list(const QString& folder) = 0;
    // Looks one path up without following a final link; nothing when missing.
    virtual std::optional<FindData> findFirst(const QString& path) = 0;
    // The same look-up when only the size is wanted (no names, no times);
    // a scan asks this for every file it reports.
    virtual std::optional<qint64> findSize(const QString& path) {
        const auto found = findFirst(path);
        return found ? std::optional<qint64>(found->size) : std::nullopt;
    }
    // SetFileAttributes; 0 clears every attribute that can be cleared.
    virtual bool setAttributes(const QString& path, qint32 attributes) = 0;
    // Deletes a file or link (never the target of a link).
    virtual bool removeFile(const QString& path) = 0;
};

// The machine's own file system.
FileSystem& realFileSystem();

// The native path separator ('\' on Windows, '/' elsewhere).
QChar separator();
// The drive root the program starts from: C:\ on Windows, the home folder
// followed by the separator elsewhere.
QString driveRoot();
// Converts a path written with '/' to the native separators.
QString toNative(const QString& path);

} // namespace pylomir::platform
