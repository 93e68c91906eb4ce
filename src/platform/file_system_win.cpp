// The file system on Windows: the Win32 find-first/find-next calls as they
// are. Reparse points (junctions, symbolic links) are reported as files so
// that a scan never follows them.
#ifdef _WIN32

#include "platform/file_system.h"
#include "platform/native_file_system.h"

#include <QDir>

#include <algorithm>

#include <windows.h>

namespace pylomir::platform {

namespace {

const wchar_t* wide(const QString& s) {
    return reinterpret_cast<const wchar_t*>(s.utf16());
}

// The system's own words for the last failure, in the user's language.
QString lastErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    QString reason =
        n ? QString::fromWCharArray(text, int(n)).trimmed() : QStringLiteral("Error %1").arg(error);
    LocalFree(text);
    return reason;
}

qint32 attributesOf(DWORD attr) {
    if (attr & FILE_ATTRIBUTE_REPARSE_POINT)
        attr &= ~DWORD(FILE_ATTRIBUTE_DIRECTORY);
    return static_cast<qint32>(attr);
}

SystemTime toLocalSystemTime(const FILETIME& ft) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st))
        return {};
    return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
            st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

FileTimes timesOf(const WIN32_FIND_DATAW& fd) {
    return {toLocalSystemTime(fd.ftCreationTime), toLocalSystemTime(fd.ftLastAccessTime),
            toLocalSystemTime(fd.ftLastWriteTime)};
}

qint64 sizeOf(const WIN32_FIND_DATAW& fd) {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return 0;
    return (static_cast<qint64>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

class WinListing final : public DirListing {
public:
    WinListing(HANDLE h, const WIN32_FIND_DATAW& first) : handle_(h), data_(first) {}
    ~WinListing() override { FindClose(handle_); }
    WinListing(const WinListing&) = delete;
    WinListing& operator=(const WinListing&) = delete;

    bool next() override {
        if (pendingFirst_) {
            pendingFirst_ = false;
            return true;
        }
        return FindNextFileW(handle_, &data_) != 0;
    }
    QStringView name() const override {
        return QStringView(reinterpret_cast<const char16_t*>(data_.cFileName));
    }
    bool isDirectory() override { return attributes() & faDirectory; }
    qint32 attributes() override { return attributesOf(data_.dwFileAttributes); }
    qint64 size() override { return sizeOf(data_); }
    FileTimes times() override { return timesOf(data_); }

private:
    HANDLE handle_;
    WIN32_FIND_DATAW data_;
    bool pendingFirst_ = true;
};

class WinFileSystem final : public NativeFileSystem {
public:
    std::unique_ptr<DirListing> list(const QString& folder) override {
        if (folder.isEmpty())
            return nullptr;
        WIN32_FIND_DATAW fd;
        const QString pattern = folder + QStringLiteral("*.*");
        HANDLE h = FindFirstFileW(wide(pattern), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::make_unique<WinListing>(h, fd);
    }

    std::optional<FindData> findFirst(const QString& path) override {
        if (path.isEmpty() || path.endsWith(QLatin1Char('\\')))
            return std::nullopt;
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(wide(path), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return std::nullopt;
        FindClose(h);
        return FindData{QString::fromWCharArray(fd.cFileName), attributesOf(fd.dwFileAttributes),
                        sizeOf(fd), timesOf(fd)};
    }

    bool setAttributes(const QString& path, qint32 attributes) override {
        return SetFileAttributesW(wide(path), static_cast<DWORD>(attributes)) != 0;
    }

    bool removeFile(const QString& path, QString* reason) override {
        // A folder junction or link is removed as a folder entry; its target
        // stays untouched.
        const DWORD attr = GetFileAttributesW(wide(path));
        const bool removed =
            (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT) &&
             (attr & FILE_ATTRIBUTE_DIRECTORY))
                ? RemoveDirectoryW(wide(path)) != 0
                : DeleteFileW(wide(path)) != 0;
        if (!removed && reason)
            *reason = lastErrorText();
        return removed;
    }
};

} // namespace

FileSystem& realFileSystem() {
    static WinFileSystem fs;
    return fs;
}

QChar separator() {
    return QLatin1Char('\\');
}

QString driveRoot() {
    return QStringLiteral("C:\\");
}

QString toNative(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool isLiteralFullPath(QStringView path) {
    const auto isSeparator = [](QChar c) {
        return c == QLatin1Char('\\') || c == QLatin1Char('/');
    };
    const bool drive = path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 0x80 &&
                       path[1] == QLatin1Char(':') && isSeparator(path[2]);
    const bool share = path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
    if (!drive && !share)
        return false;
    // FindFirstFile reads '<', '>' and '"' as wildcards too; no name holds them.
    for (const QChar c : path) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('<') ||
            c == QLatin1Char('>') || c == QLatin1Char('"'))
            return false;
    }
    // The system trims the dots and blanks that end a part, so ".. " climbs
    // as ".." does.
    qsizetype start = drive ? 3 : 2;
    for (qsizetype i = start; i <= path.size(); ++i) {
        if (i < path.size() && !isSeparator(path[i]))
            continue;
        const QStringView part = path.mid(start, i - start);
        if (part.startsWith(QLatin1String("..")) &&
            std::all_of(part.begin(), part.end(),
                        [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); }))
            return false;
        start = i + 1;
    }
    return true;
}

} // namespace pylomir::platform

#endif // _WIN32
