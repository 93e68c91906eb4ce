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
// file and folder names            bytes; valid UTF-8 decodes as usual, any
//   (UTF-16, case-insensitive)     other byte as its own reserved code point
//                                  (file_names.h), so every name round-trips;
//                                  letter case counts (samePath)
//
// Links are never followed: lstat semantics everywhere, and removing a link
// removes the link itself. Writing a file in place of another (Replace)
// renames a new file over the name, so no link is written through.
#ifndef _WIN32

#include "platform/file_names.h"
#include "platform/file_system.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

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
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
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

    // Reads the whole folder now: the names and types go into one buffer,
    // and only the details wait for the reader. The folder stays open for
    // those look-ups.
    void readAll() {
        readAhead_ = true;
        while (readEntry()) {
            const std::size_t length = std::strlen(entry_->d_name);
            unsigned char type = DT_UNKNOWN;
#ifdef _DIRENT_HAVE_D_TYPE
            type = entry_->d_type;
#endif
            if (type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(::dirfd(dir_), entry_->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                    type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
            }
            ahead_.push_back({names_.size(), type});
            names_.append(entry_->d_name, length + 1);
        }
        entry_ = nullptr;
    }

    bool next() override {
        statState_ = StatState::NotYet;
        if (readAhead_) {
            if (position_ >= ahead_.size()) {
                raw_ = nullptr;
                nameLength_ = 0;
                return false;
            }
            const Ahead& a = ahead_[position_++];
            raw_ = names_.data() + a.nameOffset;
            type_ = a.type;
        } else {
            if (!readEntry()) {
                raw_ = nullptr;
                nameLength_ = 0;
                return false;
            }
            raw_ = entry_->d_name;
#ifdef _DIRENT_HAVE_D_TYPE
            type_ = entry_->d_type;
#endif
        }
        decodeName(raw_);
        return true;
    }

    QStringView name() const override {
        return QStringView(name_.data(), nameLength_);
    }

    bool isDirectory() override {
        if (!raw_)
            return false;
        if (type_ != DT_UNKNOWN)
            return type_ == DT_DIR;
        const StatInfo* st = stat();
        return st && S_ISDIR(st->mode);
    }

    qint32 attributes() override {
        if (!raw_)
            return 0;
        if (const StatInfo* st = stat())
            return attributesOf(st->mode, name());
        // The entry vanished between the listing and the look-up: keep
        // what the listing itself told.
        return attributesOf(isDirectory() ? S_IFDIR | S_IWUSR : S_IFREG | S_IWUSR, name());
    }

    qint64 size() override {
        const StatInfo* st = raw_ ? stat() : nullptr;
        return st && !S_ISDIR(st->mode) ? st->size : 0;
    }

    FileTimes times() override {
        const StatInfo* st = raw_ ? stat() : nullptr;
        return st ? timesOf(*st) : FileTimes{};
    }

    bool detailsKnown() override {
        return raw_ && stat();
    }

private:
    enum class StatState { NotYet, Done, Failed };
    struct Ahead {
        std::size_t nameOffset;
        unsigned char type;
    };

    bool readEntry() {
        errno = 0;
        entry_ = ::readdir(dir_);
        return entry_ != nullptr;
    }

    const StatInfo* stat() {
        if (statState_ == StatState::NotYet)
            statState_ =
                statEntry(::dirfd(dir_), raw_, stat_) ? StatState::Done : StatState::Failed;
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
        // Never longer in UTF-16 units than in bytes, so the buffer holds it.
        const QByteArrayView rest(raw + i, static_cast<qsizetype>(len - i));
        nameLength_ = static_cast<qsizetype>(i) + decodeFileName(rest, out + i);
    }

    DIR* dir_;
    dirent* entry_ = nullptr;
    const char* raw_ = nullptr; // the current entry's name as the system gave it
    unsigned char type_ = DT_UNKNOWN;
    bool readAhead_ = false;
    std::vector<Ahead> ahead_;
    std::string names_; // every name read ahead, each ending with a NUL
    std::size_t position_ = 0;
    std::vector<char16_t> name_;
    qsizetype nameLength_ = 0;
    StatState statState_ = StatState::NotYet;
    StatInfo stat_;
};

// The bytes the system calls take for a path.
QByteArray nativeName(QStringView path) {
    return encodeFileName(path);
}

QString systemReason(int error) {
    return qt_error_string(error);
}

template <class Call> auto retried(Call call) {
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

// Opens with open(2) flags; -1 with errno set on failure.
int openNative(const QByteArray& name, int flags, mode_t mode = 0) {
    return retried([&] { return ::open(name.constData(), flags | O_CLOEXEC, mode); });
}

// The freedesktop.org trash. Qt's own (6.4) renames the file into a folder
// relative to the current one when it cannot set the trash up, so the
// rename is made here, on the name's bytes.
namespace trash {

bool isFolder(const QByteArray& path, bool followLinks = false) {
    struct stat st;
    const int r = followLinks ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st);
    return r == 0 && S_ISDIR(st.st_mode);
}

// The device of the path, or of its nearest ancestor that exists.
std::optional<dev_t> deviceOf(QByteArray path) {
    for (;;) {
        struct stat st;
        if (::stat(path.constData(), &st) == 0)
            return st.st_dev;
        const qsizetype slash = path.lastIndexOf('/');
        if (slash <= 0)
            return ::stat("/", &st) == 0 ? std::optional<dev_t>(st.st_dev) : std::nullopt;
        path.truncate(slash);
    }
}

// Makes a folder and its missing parents (mode for those made); true when it
// is a folder afterwards, errno set otherwise.
bool makeFolders(const QByteArray& path, mode_t mode) {
    if (isFolder(path, true))
        return true;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !makeFolders(path.left(slash), mode))
        return false;
    if (::mkdir(path.constData(), mode) == 0 || (errno == EEXIST && isFolder(path, true)))
        return true;
    if (errno == EEXIST)
        errno = ENOTDIR;
    return false;
}

// The top folder of the file system that holds path: the last ancestor on
// the same device.
QByteArray topFolderOf(const QByteArray& path, dev_t device) {
    QByteArray top = path;
    for (;;) {
        const qsizetype slash = top.lastIndexOf('/');
        if (slash < 0)
            return "/";
        const QByteArray parent = slash == 0 ? QByteArray("/") : top.left(slash);
        struct stat st;
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device)
            return top;
        if (parent == "/")
            return parent;
        top = parent;
    }
}

// The trash folder for a file on device: the home trash when it is on the
// same file system, else the file system's own ($topdir/.Trash/$uid when an
// administrator made .Trash, a sticky folder, else $topdir/.Trash-$uid).
// Empty when there is none; errno tells why.
QByteArray folderFor(const QByteArray& path, dev_t device) {
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (!dataHome.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        dataHome = home.startsWith('/') ? home + "/.local/share" : QByteArray();
    }
    if (!dataHome.isEmpty() && deviceOf(dataHome + "/Trash") == device)
        return dataHome + "/Trash";
    const QByteArray top = topFolderOf(path, device);
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    struct stat st;
    if (::lstat((base + "/.Trash").constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX)) {
        const QByteArray own = base + "/.Trash/" + uid;
        if ((::mkdir(own.constData(), 0700) == 0 || errno == EEXIST) && isFolder(own))
            return own;
    }
    const QByteArray own = base + "/.Trash-" + uid;
    if ((::mkdir(own.constData(), 0700) == 0 || errno == EEXIST) && isFolder(own) &&
        ::lstat(own.constData(), &st) == 0 && st.st_uid == ::getuid())
        return own;
    if (errno == 0 || errno == EEXIST)
        errno = EACCES;
    return {};
}

QByteArray deletionDate() {
    const time_t now = ::time(nullptr);
    struct tm tm;
    char text[32] = {};
    if (::localtime_r(&now, &tm))
        ::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    return text;
}

// Moves path (absolute bytes) to the trash; errno set when it stays.
bool move(const QByteArray& path) {
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return false;
    const QByteArray folder = folderFor(path, st.st_dev);
    if (folder.isEmpty())
        return false;
    const QByteArray files = folder + "/files", info = folder + "/info";
    if (!makeFolders(files, 0700) || !makeFolders(info, 0700))
        return false;
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const QByteArray record = "[Trash Info]\nPath=" + path.toPercentEncoding("/") +
                              "\nDeletionDate=" + deletionDate() + "\n";
    // The record is made first, with O_EXCL, so that it claims the name.
    for (int n = 1; n < 100000; ++n) {
        const QByteArray candidate = n == 1 ? name : name + '.' + QByteArray::number(n);
        const QByteArray infoPath = info + '/' + candidate + ".trashinfo";
        const int fd = openNative(infoPath, O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        const bool written = retried([&] {
                                 return ::write(fd, record.constData(), size_t(record.size()));
                             }) == record.size();
        const int writeError = errno;
        ::close(fd);
        const QByteArray target = files + '/' + candidate;
        struct stat taken;
        const bool nameTaken = ::lstat(target.constData(), &taken) == 0;
        if (written && !nameTaken && ::rename(path.constData(), target.constData()) == 0)
            return true;
        const int error = !written ? (writeError ? writeError : ENOSPC) : errno;
        ::unlink(infoPath.constData());
        if (written && nameTaken)
            continue; // a file of that name without its record
        errno = error;
        return false;
    }
    errno = EEXIST;
    return false;
}

} // namespace trash

QDateTime localTimeOf(const timespec& ts) {
    return QDateTime::fromMSecsSinceEpoch(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

// A file that is synced when finished: its bytes are handed to the disk
// every few megabytes as they are written, so finishing waits only for the
// last of them rather than for all at once.
class WritebackFile final : public QFile {
protected:
    qint64 writeData(const char* data, qint64 size) override {
        const qint64 written = QFile::writeData(data, size);
#ifdef SYNC_FILE_RANGE_WRITE
        if (written > 0) {
            pending_ += written;
            if (pending_ >= kWritebackStep) {
                // Only a start: a failure shows when the file is synced.
                ::sync_file_range(handle(), off_t(started_), off_t(pending_),
                                  SYNC_FILE_RANGE_WRITE);
                started_ += pending_;
                pending_ = 0;
            }
        }
#endif
        return written;
    }

private:
    static constexpr qint64 kWritebackStep = 8 << 20;
    qint64 started_ = 0;
    qint64 pending_ = 0;
};

// A file open for writing over a descriptor this code opened. A replacing
// file is written under a temporary name in the target's own folder and
// renamed over the target by finish(); the rename replaces whatever entry the
// target is, so a symbolic link is replaced, never followed, and a hard link
// gets a new file. A temporary file is removed when released.
class PosixOutputFile final : public OutputFile {
public:
    enum class Kind { Plain, Replacing, ReplacingUnsynced, Temporary };

    // Takes the descriptor, closing it on failure.
    static std::unique_ptr<OutputFile> over(int fd, Kind kind, const QString& path,
                                            const QByteArray& native, const QByteArray& target,
                                            QIODevice::OpenMode mode, QString* reason) {
        std::unique_ptr<QFile> file;
        if (kind == Kind::Replacing)
            file = std::make_unique<WritebackFile>();
        else
            file = std::make_unique<QFile>();
        if (!file->open(fd, mode, QFileDevice::DontCloseHandle)) {
            if (reason)
                *reason = file->errorString();
            ::close(fd);
            if (kind != Kind::Plain)
                ::unlink(native.constData());
            return nullptr;
        }
        return std::unique_ptr<OutputFile>(
            new PosixOutputFile(kind, path, native, target, fd, std::move(file)));
    }

    ~PosixOutputFile() override {
        closeDescriptor();
        if (kind_ != Kind::Plain)
            dropTemporary();
    }
    PosixOutputFile(const PosixOutputFile&) = delete;
    PosixOutputFile& operator=(const PosixOutputFile&) = delete;

    QIODevice& device() override { return *file_; }
    QString path() const override { return path_; }

    bool setModifiedTime(const QDateTime& local) override {
        // Buffered bytes written later would move the time again.
        if (fd_ < 0 || !file_->flush())
            return false;
        const qint64 ms = local.toMSecsSinceEpoch();
        const qint64 secs = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
        timespec times[2] = {
            {0, UTIME_OMIT},
            {static_cast<time_t>(secs), static_cast<long>((ms - secs * 1000) * 1000000)}};
        if (::futimens(fd_, times) != 0)
            return fail(errno);
        return true;
    }

    bool finish() override {
        if (fd_ < 0)
            return false;
        if (!file_->flush() || file_->error() != QFileDevice::NoError) {
            error_ = file_->errorString();
            closeDescriptor();
            if (replacing())
                dropTemporary();
            return false;
        }
        int failure = 0;
        if (kind_ == Kind::Replacing && retried([&] { return ::fdatasync(fd_); }) != 0)
            failure = errno;
        file_->close();
        if (::close(fd_) != 0 && failure == 0 && errno != EINTR)
            failure = errno;
        fd_ = -1;
        if (replacing()) {
            if (failure == 0 && ::rename(native_.constData(), target_.constData()) != 0)
                failure = errno;
            if (failure == 0)
                dropped_ = true; // the name is the target's now
            else
                dropTemporary();
        }
        return failure == 0 || fail(failure);
    }

    QString errorString() const override {
        return error_.isEmpty() ? file_->errorString() : error_;
    }

private:
    bool replacing() const { return kind_ == Kind::Replacing || kind_ == Kind::ReplacingUnsynced; }

    PosixOutputFile(Kind kind, const QString& path, const QByteArray& native,
                    const QByteArray& target, int fd, std::unique_ptr<QFile> file)
        : kind_(kind), path_(path), native_(native), target_(target), fd_(fd),
          file_(std::move(file)) {}

    bool fail(int error) {
        error_ = systemReason(error);
        return false;
    }

    void dropTemporary() {
        if (!dropped_)
            ::unlink(native_.constData());
        dropped_ = true;
    }

    void closeDescriptor() {
        if (fd_ < 0)
            return;
        file_->close();
        ::close(fd_);
        fd_ = -1;
    }

    Kind kind_;
    QString path_;
    QByteArray native_; // the name the descriptor was opened under
    QByteArray target_; // where a replacing file goes
    int fd_;
    std::unique_ptr<QFile> file_;
    QString error_;
    bool dropped_ = false; // the temporary name is gone
};

std::unique_ptr<OutputFile> openReplacing(const QString& path, bool synced, QString* reason) {
    const QByteArray target = nativeName(path);
    if (target.isEmpty() || target.endsWith('/')) {
        if (reason)
            *reason = systemReason(target.isEmpty() ? ENOENT : EISDIR);
        return nullptr;
    }
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.first(slash + 1);
    // The temporary name must fit wherever the target's name fits.
    const QByteArray base =
        target.sliced(slash + 1).first(std::min<qsizetype>(target.size() - slash - 1, 200));

    // An existing file keeps its permissions; a new one gets a new file's
    // (0666 less the umask, which open applies).
    struct stat old;
    const bool keepMode = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);

    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const quint32 tag = QRandomGenerator::global()->generate() & 0xFFFFFF;
        temporary = folder + '.' + base + '.' + QByteArray::number(tag, 36) + '~';
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
    return PosixOutputFile::over(
        fd, synced ? PosixOutputFile::Kind::Replacing : PosixOutputFile::Kind::ReplacingUnsynced,
        path, temporary, target, QIODevice::WriteOnly, reason);
}

// A regular file read straight through its descriptor: the size is the one
// looked up at opening, and nothing but read, lseek and close reaches the
// system (a QFile over the descriptor looks the file up twice more).
class PosixInputFile final : public QIODevice {
public:
    PosixInputFile(int fd, qint64 size) : fd_(fd), size_(size) {
        QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~PosixInputFile() override { PosixInputFile::close(); }
    PosixInputFile(const PosixInputFile&) = delete;
    PosixInputFile& operator=(const PosixInputFile&) = delete;

    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }
    bool seek(qint64 pos) override {
        if (fd_ < 0 || pos < 0 || ::lseek(fd_, off_t(pos), SEEK_SET) < 0)
            return false;
        return QIODevice::seek(pos);
    }
    void close() override {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        QIODevice::close();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        for (;;) {
            const ssize_t got = ::read(fd_, data, size_t(maxSize));
            if (got >= 0)
                return got;
            if (errno != EINTR) {
                setErrorString(systemReason(errno));
                return -1;
            }
        }
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    int fd_;
    qint64 size_;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<DirListing> list(const QString& folder) override {
        if (folder.isEmpty())
            return nullptr;
        DIR* dir = ::opendir(nativeName(folder).constData());
        if (!dir)
            return nullptr;
        return std::make_unique<PosixListing>(dir);
    }

    // Each listing opens its own folder handle, so any thread may list.
    bool listsAhead() const override { return true; }
    bool looksUpFromAnyThread() const override { return true; }

    std::unique_ptr<DirListing> listAhead(const QString& folder) override {
        if (folder.isEmpty())
            return nullptr;
        DIR* dir = ::opendir(nativeName(folder).constData());
        if (!dir)
            return nullptr;
        auto listing = std::make_unique<PosixListing>(dir);
        listing->readAll();
        return listing;
    }

    std::optional<FindData> findFirst(const QString& path) override {
        // Like FindFirstFile: a folder path with its trailing separator
        // names no entry.
        if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
            return std::nullopt;
        StatInfo st;
        if (!statEntry(AT_FDCWD, nativeName(path).constData(), st))
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
        if (::lstat(nativeName(path).constData(), &st) != 0)
            return std::nullopt;
        return S_ISDIR(st.st_mode) ? 0 : qint64(st.st_size);
    }

    bool setAttributes(const QString& path, qint32 attributes) override {
        const QByteArray native = nativeName(path);
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

    // Clearing only ever gives the owner write permission back.
    bool clearingChanges(qint32 attributes) const override {
        return (attributes & faReadOnly) != 0;
    }

    bool removeFile(const QString& path, QString* reason) override {
        // unlink never removes a folder and removes a link, not its target.
        if (!path.isEmpty() && ::unlink(nativeName(path).constData()) == 0)
            return true;
        if (reason)
            *reason = systemReason(path.isEmpty() ? ENOENT : errno);
        return false;
    }

    bool moveToTrash(const QString& path, QString* reason) override {
        if (!path.isEmpty() && trash::move(nativeName(absolutePath(path))))
            return true;
        if (reason)
            *reason = systemReason(path.isEmpty() ? ENOENT : errno);
        return false;
    }

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
        // O_NONBLOCK stays: it changes nothing for a regular file.
        struct stat st;
        int error = 0;
        if (::fstat(fd, &st) != 0)
            error = errno;
        else if (!S_ISREG(st.st_mode))
            error = -1;
        if (error != 0) {
            ::close(fd);
            if (reason)
                *reason = error < 0 ? QStringLiteral("Not a regular file") : systemReason(error);
            return nullptr;
        }
        return std::make_unique<PosixInputFile>(fd, qint64(st.st_size));
    }

    std::unique_ptr<OutputFile> openForWriting(const QString& path, WriteMode mode,
                                               QString* reason) override {
        if (mode == WriteMode::Replace || mode == WriteMode::ReplaceUnsynced)
            return openReplacing(path, mode == WriteMode::Replace, reason);
        const QByteArray native = nativeName(path);
        const int flags = O_WRONLY | O_CREAT | (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
        const int fd = openNative(native, flags, 0666);
        if (fd < 0) {
            if (reason)
                *reason = systemReason(errno);
            return nullptr;
        }
        return PosixOutputFile::over(fd, PosixOutputFile::Kind::Plain, path, native, native,
                                     QIODevice::WriteOnly | QIODevice::Unbuffered, reason);
    }

    std::unique_ptr<OutputFile> createTemporaryFile(const QString& prefix,
                                                    QString* reason) override {
        QByteArray folder = qgetenv("TMPDIR");
        if (folder.isEmpty())
            folder = "/tmp";
        if (!folder.endsWith('/'))
            folder += '/';
        QByteArray name = folder + nativeName(prefix) + "XXXXXX";
        // Not retried: a failed call may have filled in the template already.
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            if (reason)
                *reason = systemReason(errno);
            return nullptr;
        }
        return PosixOutputFile::over(fd, PosixOutputFile::Kind::Temporary, decodeFileName(name),
                                     name, name, QIODevice::ReadWrite, reason);
    }

    bool createFolder(const QString& path) override {
        const QByteArray native = nativeName(path);
        if (native.isEmpty())
            return false;
        // Each missing folder along the path, parents first.
        for (qsizetype end = native.indexOf('/', 1); end >= 0; end = native.indexOf('/', end + 1))
            ::mkdir(native.first(end).constData(), 0777);
        ::mkdir(native.constData(), 0777);
        struct stat st;
        return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    std::optional<PathStatus> status(const QString& path) override {
        struct stat st;
        if (path.isEmpty() || ::stat(nativeName(path).constData(), &st) != 0)
            return std::nullopt;
        PathStatus s;
        s.isFile = S_ISREG(st.st_mode);
        s.isFolder = S_ISDIR(st.st_mode);
        s.size = qint64(st.st_size);
#if defined(__APPLE__)
        s.modified = localTimeOf(st.st_mtimespec);
#else
        s.modified = localTimeOf(st.st_mtim);
#endif
        return s;
    }

    bool isLink(const QString& path) override {
        struct stat st;
        return !path.isEmpty() && ::lstat(nativeName(path).constData(), &st) == 0 &&
               S_ISLNK(st.st_mode);
    }

    QString canonicalPath(const QString& path) override {
        if (path.isEmpty())
            return QString();
        char* resolved = ::realpath(nativeName(path).constData(), nullptr);
        if (!resolved)
            return QString();
        const QString out = decodeFileName(QByteArrayView(resolved));
        ::free(resolved);
        return out;
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
    const QByteArray home = qgetenv("HOME");
    return (home.isEmpty() ? QDir::homePath() : decodeFileName(home)) + QLatin1Char('/');
}

QString toNative(const QString& path) {
    return path;
}

QString absolutePath(const QString& path) {
    if (path.isEmpty())
        return path;
    QString full = path;
    if (!path.startsWith(QLatin1Char('/'))) {
        char* cwd = ::getcwd(nullptr, 0);
        full = (cwd ? decodeFileName(QByteArrayView(cwd)) : QDir::currentPath()) +
               QLatin1Char('/') + path;
        ::free(cwd);
    }
    QString clean = QDir::cleanPath(full);
    if (path.endsWith(QLatin1Char('/')) && !clean.endsWith(QLatin1Char('/')))
        clean += QLatin1Char('/');
    return clean;
}

bool isLiteralFullPath(QStringView path) {
    if (!path.startsWith(QLatin1Char('/')))
        return false;
    if (path.contains(QLatin1Char('*')) || path.contains(QLatin1Char('?')))
        return false;
    for (const QStringView part : path.split(QLatin1Char('/'))) {
        if (part == QLatin1String(".."))
            return false;
    }
    return true;
}

} // namespace pylomir::platform

#endif // !_WIN32
