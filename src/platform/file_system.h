// File-system access with Windows semantics: attribute bits, find-first
// results and local file times, whatever the operating system underneath.
#pragma once

#include <QDateTime>
#include <QIODevice>
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
    // Whether the look-up behind attributes(), size() and times() found the
    // entry; false when it vanished after the listing read its name.
    virtual bool detailsKnown() { return true; }
};

// What a look-up that follows links tells of a path.
struct PathStatus {
    bool isFile = false;   // a file (or a link to one)
    bool isFolder = false; // a folder (or a link to one)
    qint64 size = 0;
    QDateTime modified; // local time
};

// How a file is opened for writing.
enum class WriteMode {
    Truncate, // from the start; an existing file loses its content at once
    Append,   // after what the file holds
    Replace,  // under a temporary name, renamed into place by finish() once on disk
    // As Replace, without waiting for the disk: for the many files of one
    // restore, where waiting for each would cost most of the time.
    ReplaceUnsynced,
};

// A file open for writing.
class OutputFile {
public:
    // Closes the file; a Replace file that was not finished is discarded and
    // the file it would have replaced stays as it was; a temporary file is
    // removed.
    virtual ~OutputFile() = default;
    virtual QIODevice& device() = 0;
    // Where the file can be read back (for a temporary file, its own name).
    virtual QString path() const = 0;
    // Sets the last-write time (local time) of the open file.
    virtual bool setModifiedTime(const QDateTime& local) = 0;
    // Writes everything out and closes the file; a Replace file takes the
    // place of the old one only now. False when anything failed since the
    // file was opened.
    virtual bool finish() = 0;
    // The system's reason for the last failure.
    virtual QString errorString() const = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Lists every entry of a folder (path ending with the separator);
    // null when the folder cannot be listed.
    virtual std::unique_ptr<DirListing> list(const QString& folder) = 0;
    // Whether listAhead() may be called from another thread than the one
    // that reads the listing.
    virtual bool listsAhead() const { return false; }
    // Reads every name of a folder and its type now, as list() would give
    // them; the rest of an entry is looked up when the reader asks for it.
    // Null when the folder cannot be listed.
    virtual std::unique_ptr<DirListing> listAhead(const QString& folder) { return list(folder); }
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
    // Whether clearing (setAttributes with 0) would change an entry that
    // has these attributes.
    virtual bool clearingChanges(qint32 attributes) const {
        return (attributes & ~qint32(faDirectory | faNormal)) != 0;
    }
    // Deletes a file or link (never the target of a link); false, with the
    // system's reason, when it stays.
    virtual bool removeFile(const QString& path, QString* reason = nullptr) = 0;
    // Moves a file or link (never the target of a link) to the desktop's
    // trash, where the user can still get it back; false, with the reason,
    // when it stays. A file system without a trash refuses every file.
    virtual bool moveToTrash([[maybe_unused]] const QString& path, QString* reason = nullptr) {
        if (reason)
            *reason = QStringLiteral("there is no trash");
        return false;
    }

    // Opens a file for reading; null, with the system's reason, when it
    // cannot be opened.
    virtual std::unique_ptr<QIODevice> openForReading(const QString& path,
                                                      QString* reason = nullptr) = 0;
    // Opens (creating) a file for writing; null, with the reason, when refused.
    virtual std::unique_ptr<OutputFile> openForWriting(const QString& path, WriteMode mode,
                                                       QString* reason = nullptr) = 0;
    // A new file in the system's temporary folder, its name beginning with
    // prefix; removed when it is released. Null when there is no temporary
    // folder or it refuses the file.
    virtual std::unique_ptr<OutputFile> createTemporaryFile(const QString& prefix,
                                                            QString* reason = nullptr) = 0;
    // Creates a folder and any missing parents; true when it exists afterwards.
    virtual bool createFolder(const QString& path) = 0;
    // Looks a path up following links; nothing when it names nothing (a
    // dangling link included).
    virtual std::optional<PathStatus> status(const QString& path) = 0;
    // Whether status() and openForReading() may be called from several
    // threads at once.
    virtual bool looksUpFromAnyThread() const { return false; }
    // Whether the path itself is a symbolic link (or junction).
    virtual bool isLink(const QString& path) = 0;
    // The path with every link resolved; empty when it names nothing.
    virtual QString canonicalPath(const QString& path) = 0;

    bool exists(const QString& path) { return status(path).has_value(); }
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
// A path made absolute against the process's current folder, with native
// separators; an absolute path only gets its separators made native.
QString absolutePath(const QString& path);
// Whether a path names one entry by itself, wherever the process stands: a
// full path, with no part that climbs to a parent ("..") and nothing a
// find-first look-up would take for a wildcard.
bool isLiteralFullPath(QStringView path);

} // namespace pylomir::platform
