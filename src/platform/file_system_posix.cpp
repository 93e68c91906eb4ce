// The file system on POSIX systems, seen through Windows semantics.
//
// Windows notion                  POSIX meaning
// -------------------------------------------------------------------------
// separator '\', folders end in it '/', folders end in it
// drive root C:\                   the home folder followed by '/'
// C: / "C:\\"                      home without the trailing '/' / home + "//"
// listing "*.*", all attributes    every entry of the folder (readdir)
// read-only 0x01                   the owner has no write permission
// hidden 0x02                      the name begins with '.'
// system 0x04                      not a file, folder or link (device, FIFO,
//                                  socket)
// directory 0x10                   a real folder; a link never is one
// archive 0x20                     every regular file and symbolic link
// normal 0x80                      none of the above
// SetFileAttributes with 0         give the owner write permission, nothing else
// file times                       write = mtime, access = atime, creation =
//                                  birth time (statx) where known, else mtime
// registry HKCU\SOFTWARE\Tessaly\  an INI file, one group per key, value names
//   Pylomir\<key> string values    without regard to case (settings_store)
// GetTickCount                     a monotonic millisecond clock (clock.cpp)
// ShellExecute "open"              QDesktopServices::openUrl (gui/shell.cpp)
//
// Links are never followed: lstat semantics everywhere, and removing a link
// removes the link itself.
#ifndef _WIN32

#include "platform/file_system.h"
#include "platform/native_file_system.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

namespace pylomir::platform {

namespace {

struct StatInfo {
    mode_t mode = 0;
    qint64 size = 0;
    timespec access{};
    timespec write{};
    timespec creation{};
};

#if defined(__linux__) && defined(STATX_BTIME)
// Set once the kernel turns statx down (old kernels, some sandboxes).
std::atomic<bool> statxMissing{false};
#endif

// One look-up of a name relative to a folder (or AT_FDCWD), never following
// a final link. The birth time comes from statx where the file system keeps
// it; otherwise the creation time falls back to the last write.
bool statEntry(int dirFd, const char* name, StatInfo& out) {
#if defined(__linux__) && defined(STATX_BTIME)
    if (!statxMissing.load(std::memory_order_relaxed)) {
        struct statx sx;
        if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
            out.mode = sx.stx_mode;
            out.size = static_cast<qint64>(sx.stx_size);
            out.access = {static_cast<time_t>(sx.stx_atime.tv_sec),
                          static_cast<long>(sx.stx_atime.tv_nsec)};
            out.write = {static_cast<time_t>(sx.stx_mtime.tv_sec),
                         static_cast<long>(sx.stx_mtime.tv_nsec)};
            if (sx.stx_mask & STATX_BTIME)
                out.creation = {static_cast<time_t>(sx.stx_btime.tv_sec),
                                static_cast<long>(sx.stx_btime.tv_nsec)};
            else
                out.creation = out.write;
            return true;
        }
        if (errno != ENOSYS)
            return false;
        statxMissing.store(true, std::memory_order_relaxed);
    }
#endif
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    out.mode = st.st_mode;
    out.size = static_cast<qint64>(st.st_size);
#if defined(__APPLE__)
    out.access = st.st_atimespec;
    out.write = st.st_mtimespec;
    out.creation = st.st_birthtimespec;
#else
    out.access = st.st_atim;
    out.write = st.st_mtim;
    out.creation = st.st_mtim;
#endif
    return true;
}

qint32 attributesOf(mode_t mode, QStringView name) {
    qint32 attr = 0;
    if (S_ISDIR(mode))
        attr |= faDirectory;
    else if (S_ISREG(mode) || S_ISLNK(mode))
        attr |= faArchive;
    else
        attr |= faSysFile;
    // A link's own permission bits mean nothing; it is never read-only.
    if (!S_ISLNK(mode) && !(mode & S_IWUSR))
        attr |= faReadOnly;
    if (!name.isEmpty() && name.front() == QLatin1Char('.'))
        attr |= faHidden;
    return attr ? attr : qint32(faNormal);
}

SystemTime toLocalSystemTime(const timespec& ts) {
    SystemTime out;
    struct tm tm {};
    const time_t secs = ts.tv_sec;
    if (!::localtime_r(&secs, &tm))
        return out;
    out.year = static_cast<quint16>(tm.tm_year + 1900);
    out.month = static_cast<quint16>(tm.tm_mon + 1);
    out.dayOfWeek = static_cast<quint16>(tm.tm_wday);
    out.day = static_cast<quint16>(tm.tm_mday);
    out.hour = static_cast<quint16>(tm.tm_hour);
    out.minute = static_cast<quint16>(tm.tm_min);
    out.second = static_cast<quint16>(tm.tm_sec);
    out.milliseconds = static_cast<quint16>(ts.tv_nsec / 1000000);
    return out;
}

FileTimes timesOf(const StatInfo& st) {
    return {toLocalSystemTime(st.creation), toLocalSystemTime(st.access),
            toLocalSystemTime(st.write)};
}

class PosixListing final : public DirListing {
public:
    explicit PosixListing(DIR* dir) : dir_(dir) { name_.resize(256); }
    ~PosixListing() override { ::closedir(dir_); }
    PosixListing(const PosixListing&) = delete;
    PosixListing& operator=(const PosixListing&) = delete;

    bool next() override {
        errno = 0;
        entry_ = ::readdir(dir_);
        statState_ = StatState::NotYet;
        if (!entry_) {
            nameLength_ = 0;
            return false;
        }
        decodeName(entry_->d_name);
        return true;
    }

    QStringView name() const override { return QStringView(name_.data(), nameLength_); }

    bool isDirectory() override {
        if (!entry_)
            return false;
#ifdef _DIRENT_HAVE_D_TYPE
        if (entry_->d_type != DT_UNKNOWN)
            return entry_->d_type == DT_DIR;
#endif
        const StatInfo* st = stat();
        return st && S_ISDIR(st->mode);
    }

    qint32 attributes() override {
        if (!entry_)
            return 0;
        if (const StatInfo* st = stat())
            return attributesOf(st->mode, name());
        // The entry vanished between the listing and the look-up: keep
        // what the listing itself told.
        return attributesOf(isDirectory() ? S_IFDIR | S_IWUSR : S_IFREG | S_IWUSR, name());
    }

    qint64 size() override {
        const StatInfo* st = entry_ ? stat() : nullptr;
        return st && !S_ISDIR(st->mode) ? st->size : 0;
    }

    FileTimes times() override {
        const StatInfo* st = entry_ ? stat() : nullptr;
        return st ? timesOf(*st) : FileTimes{};
    }

private:
    enum class StatState { NotYet, Done, Failed };

    const StatInfo* stat() {
        if (statState_ == StatState::NotYet)
            statState_ = statEntry(::dirfd(dir_), entry_->d_name, stat_) ? StatState::Done
                                                                         : StatState::Failed;
        return statState_ == StatState::Done ? &stat_ : nullptr;
    }

    // Decodes into the reused buffer: the listing is the hot loop of a scan,
    // so the common (ASCII) name costs no allocation and no decoder.
    void decodeName(const char* raw) {
        const std::size_t len = std::strlen(raw);
        if (name_.size() < len)
            name_.resize(len * 2);
        char16_t* out = name_.data();
        std::size_t i = 0;
        for (; i < len; ++i) {
            const auto c = static_cast<unsigned char>(raw[i]);
            if (c >= 0x80)
                break;
            out[i] = c;
        }
        if (i == len) {
            nameLength_ = static_cast<qsizetype>(len);
            return;
        }
        // File names are UTF-8 (QFile::decodeName); invalid bytes become
        // replacement characters, as there.
        const QByteArrayView rest(raw + i, static_cast<qsizetype>(len - i));
        const auto need = static_cast<std::size_t>(i + utf8_.requiredSpace(rest.size()));
        if (name_.size() < need)
            name_.resize(need);
        QChar* begin = reinterpret_cast<QChar*>(name_.data());
        QChar* end = utf8_.appendToBuffer(begin + i, rest);
        nameLength_ = end - begin;
    }

    DIR* dir_;
    dirent* entry_ = nullptr;
    std::vector<char16_t> name_;
    qsizetype nameLength_ = 0;
    QStringDecoder utf8_{QStringDecoder::Utf8, QStringConverter::Flag::Stateless};
    StatState statState_ = StatState::NotYet;
    StatInfo stat_;
};

// The bytes the system calls take for a path.
QByteArray nativeName(const QString& path) {
    return QFile::encodeName(path);
}

QString systemReason(int error) {
    return qt_error_string(error);
}

// Opens with open(2) flags; -1 with errno set on failure. Retries when a
// signal interrupts the call.
int openNative(const QByteArray& name, int flags, mode_t mode = 0) {
    int fd;
    do
        fd = ::open(name.constData(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Qt's file device over a descriptor this code opened and owns.
std::unique_ptr<QFile> deviceOver(int fd, QIODevice::OpenMode mode, QString* reason) {
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, mode, QFileDevice::AutoCloseHandle)) {
        if (reason)
            *reason = file->errorString();
        ::close(fd);
        return nullptr;
    }
    return file;
}

// A file written under a temporary name in the target's own folder and
// renamed over the target by finish(). The rename replaces whatever entry
// the target is: a symbolic link is replaced, never followed, and a hard
// link gets a new file, so nothing outside the target's own name changes.
class ReplacingFile final : public OutputFile {
public:
    static std::unique_ptr<OutputFile> open(const QString& path, QString* reason) {
        const QByteArray target = nativeName(path);
        if (target.isEmpty() || target.endsWith('/')) {
            if (reason)
                *reason = systemReason(EISDIR);
            return nullptr;
        }
        const qsizetype slash = target.lastIndexOf('/');
        const QByteArray folder = target.first(slash + 1);
        // The temporary name must fit where the target's name fits.
        const QByteArray base =
            target.sliced(slash + 1).first(std::min<qsizetype>(target.size() - slash - 1, 200));

        // An existing file keeps its permissions; a new one gets a new
        // file's (0666 less the umask, applied by open).
        struct stat old;
        const bool keepMode = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);

        int fd = -1;
        QByteArray temporary;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temporary = folder + '.' + base + '.' +
                        QByteArray::number(QRandomGenerator::global()->generate() % 0x1000000, 36) +
                        "~";
            fd = openNative(temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0) {
            if (reason)
                *reason = systemReason(errno);
            return nullptr;
        }
        if (keepMode && ::fchmod(fd, old.st_mode & 0777) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(temporary.constData());
            if (reason)
                *reason = systemReason(error);
            return nullptr;
        }
        auto file = std::make_unique<QFile>();
        if (!file->open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            if (reason)
                *reason = file->errorString();
            ::close(fd);
            ::unlink(temporary.constData());
            return nullptr;
        }
        return std::unique_ptr<OutputFile>(
            new ReplacingFile(path, target, temporary, fd, std::move(file)));
    }

    ~ReplacingFile() override { discard(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    QIODevice& device() override { return *file_; }
    QString path() const override { return path_; }

    bool setModifiedTime(const QDateTime& local) override {
        // Buffered bytes written later would move the time again.
        if (fd_ < 0 || !file_->flush())
            return false;
        const qint64 ms = local.toMSecsSinceEpoch();
        timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
        times[1].tv_nsec = static_cast<long>((ms - qint64(times[1].tv_sec) * 1000) * 1000000);
        if (::futimens(fd_, times) != 0)
            return fail(errno);
        return true;
    }

    bool finish() override {
        if (fd_ < 0)
            return false;
        const bool written = file_->flush() && file_->error() == QFileDevice::NoError;
        if (!written) {
            error_ = file_->errorString();
            discard();
            return false;
        }
        file_->close();
        int failure = 0;
        if (::fdatasync(fd_) != 0)
            failure = errno;
        if (::close(fd_) != 0 && failure == 0 && errno != EINTR)
            failure = errno;
        fd_ = -1;
        if (failure == 0 && ::rename(temporary_.constData(), target_.constData()) != 0)
            failure = errno;
        if (failure != 0) {
            ::unlink(temporary_.constData());
            return fail(failure);
        }
        return true;
    }

    QString errorString() const override {
        return error_.isEmpty() ? file_->errorString() : error_;
    }

private:
    ReplacingFile(const QString& path, const QByteArray& target, const QByteArray& temporary,
                  int fd, std::unique_ptr<QFile> file)
        : path_(path), target_(target), temporary_(temporary), fd_(fd), file_(std::move(file)) {}

    bool fail(int error) {
        error_ = systemReason(error);
        return false;
    }

    // Drops the temporary file; the target stays as it was.
    void discard() {
        if (fd_ < 0)
            return;
        file_->close();
        ::close(fd_);
        fd_ = -1;
        ::unlink(temporary_.constData());
    }

    QString path_;
    QByteArray target_;
    QByteArray temporary_;
    int fd_;
    std::unique_ptr<QFile> file_;
    QString error_;
};

class PosixFileSystem final : public NativeFileSystem {
public:
    // Anything but a regular file is refused: a FIFO or a device could block
    // the read forever or never end. O_NONBLOCK keeps the open itself from
    // waiting for a FIFO's writer.
    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override {
        const int fd = openNative(nativeName(path), O_RDONLY | O_NONBLOCK);
        if (fd < 0) {
            if (reason)
                *reason = systemReason(errno);
            return nullptr;
        }
        struct stat st;
        int error = 0;
        if (::fstat(fd, &st) != 0)
            error = errno;
        else if (!S_ISREG(st.st_mode))
            error = -1;
        else if (const int flags = ::fcntl(fd, F_GETFL);
                 flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            error = errno;
        if (error != 0) {
            ::close(fd);
            if (reason)
                *reason = error < 0 ? QStringLiteral("Not a regular file") : systemReason(error);
            return nullptr;
        }
        return deviceOver(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, reason);
    }

    std::unique_ptr<OutputFile> openForWriting(const QString& path, WriteMode mode,
                                               QString* reason) override {
        if (mode == WriteMode::Replace)
            return ReplacingFile::open(path, reason);
        return NativeFileSystem::openForWriting(path, mode, reason);
    }

    std::unique_ptr<DirListing> list(const QString& folder) override {
        if (folder.isEmpty())
            return nullptr;
        DIR* dir = ::opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return nullptr;
        return std::make_unique<PosixListing>(dir);
    }

    std::optional<FindData> findFirst(const QString& path) override {
        // Like FindFirstFile: a folder path with its trailing separator
        // names no entry.
        if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
            return std::nullopt;
        StatInfo st;
        if (!statEntry(AT_FDCWD, QFile::encodeName(path).constData(), st))
            return std::nullopt;
        FindData found;
        found.name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        found.attributes = attributesOf(st.mode, found.name);
        found.size = S_ISDIR(st.mode) ? 0 : st.size;
        found.times = timesOf(st);
        return found;
    }

    std::optional<qint64> findSize(const QString& path) override {
        if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
            return std::nullopt;
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            return std::nullopt;
        return S_ISDIR(st.st_mode) ? 0 : qint64(st.st_size);
    }

    bool setAttributes(const QString& path, qint32 attributes) override {
        const QByteArray native = QFile::encodeName(path);
        struct stat st;
        if (native.isEmpty() || ::lstat(native.constData(), &st) != 0)
            return false;
        const bool readOnly = attributes & faReadOnly;
        if (S_ISLNK(st.st_mode)) {
            // chmod would reach the target, possibly outside the scanned
            // tree; a link's own permissions are unused, so it is already
            // as writable as it gets.
            return !readOnly;
        }
        const mode_t mode = st.st_mode & 07777;
        const mode_t wanted =
            readOnly ? mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
        if (wanted == mode)
            return true;
        // NOFOLLOW closes the window in which the path could turn into a link.
        if (::fchmodat(AT_FDCWD, native.constData(), wanted, AT_SYMLINK_NOFOLLOW) == 0)
            return true;
        // Some C libraries cannot do that without /proc; the entry was no
        // link a moment ago, so fall back to the plain call unless it is now.
        if (errno != EOPNOTSUPP && errno != ENOTSUP && errno != ENOSYS)
            return false;
        if (::lstat(native.constData(), &st) != 0 || S_ISLNK(st.st_mode))
            return false;
        return ::chmod(native.constData(), wanted) == 0;
    }

    bool removeFile(const QString& path) override {
        if (path.isEmpty())
            return false;
        // unlink never removes a folder and removes a link, not its target.
        return ::unlink(QFile::encodeName(path).constData()) == 0;
    }
};

} // namespace

FileSystem& realFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

QChar separator() {
    return QLatin1Char('/');
}

QString driveRoot() {
    return QDir::homePath() + QLatin1Char('/');
}

QString toNative(const QString& path) {
    return path;
}

} // namespace pylomir::platform

#endif // !_WIN32
