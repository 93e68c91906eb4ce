#ifdef _WIN32

#include "platform/native_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace pylomir::platform {

namespace {

// One output file over any of Qt's file devices.
template <class File> class QtOutputFile final : public OutputFile {
public:
    explicit QtOutputFile(std::unique_ptr<File> file) : file_(std::move(file)) {}

    QIODevice& device() override { return *file_; }
    QString path() const override { return file_->fileName(); }
    bool setModifiedTime(const QDateTime& local) override {
        // Buffered bytes written later would move the time again.
        return file_->flush() && file_->setFileTime(local, QFileDevice::FileModificationTime);
    }
    bool finish() override {
        if constexpr (std::is_same_v<File, QSaveFile>) {
            return file_->commit();
        } else {
            const bool flushed = file_->isOpen() && file_->flush();
            file_->close();
            return flushed && file_->error() == QFileDevice::NoError;
        }
    }
    QString errorString() const override { return file_->errorString(); }

private:
    std::unique_ptr<File> file_;
};

template <class File>
std::unique_ptr<OutputFile> opened(std::unique_ptr<File> file, QIODevice::OpenMode mode,
                                   QString* reason) {
    bool ok;
    if constexpr (std::is_same_v<File, QTemporaryFile>)
        ok = file->open(); // always read-write
    else
        ok = file->open(mode);
    if (!ok) {
        if (reason)
            *reason = file->errorString();
        return nullptr;
    }
    return std::make_unique<QtOutputFile<File>>(std::move(file));
}

} // namespace

// The recycle bin on Windows, the desktop's trash elsewhere, as Qt reaches it.
bool NativeFileSystem::moveToTrash(const QString& path, QString* reason) {
    QFile file(path);
    if (file.moveToTrash())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

std::unique_ptr<QIODevice> NativeFileSystem::openForReading(const QString& path, QString* reason) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (reason)
            *reason = file->errorString();
        return nullptr;
    }
    return file;
}

std::unique_ptr<OutputFile> NativeFileSystem::openForWriting(const QString& path, WriteMode mode,
                                                             QString* reason) {
    switch (mode) {
    case WriteMode::Replace:
    case WriteMode::ReplaceUnsynced:
        return opened(std::make_unique<QSaveFile>(path), QIODevice::WriteOnly, reason);
    case WriteMode::Append:
        return opened(std::make_unique<QFile>(path),
                      QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, reason);
    case WriteMode::Truncate:
        break;
    }
    return opened(std::make_unique<QFile>(path),
                  QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered, reason);
}

std::unique_ptr<OutputFile> NativeFileSystem::createTemporaryFile(const QString& prefix,
                                                                  QString* reason) {
    const QString folder = QDir::tempPath(); // empty when it does not exist
    if (folder.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("No temporary folder");
        return nullptr;
    }
    return opened(std::make_unique<QTemporaryFile>(folder + QLatin1Char('/') + prefix +
                                                   QStringLiteral("XXXXXX")),
                  QIODevice::ReadWrite, reason);
}

bool NativeFileSystem::createFolder(const QString& path) {
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

std::optional<PathStatus> NativeFileSystem::status(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    PathStatus s;
    s.isFile = info.isFile();
    s.isFolder = info.isDir();
    // One stat answers the usual cases; exists() costs a call of its own.
    if (!s.isFile && !s.isFolder && !info.exists())
        return std::nullopt;
    s.size = info.size();
    s.modified = info.lastModified();
    return s;
}

bool NativeFileSystem::isLink(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction();
}

QString NativeFileSystem::canonicalPath(const QString& path) {
    return toNative(QFileInfo(path).canonicalFilePath());
}

QString absolutePath(const QString& path) {
    return toNative(QFileInfo(path).absoluteFilePath());
}

} // namespace pylomir::platform

#endif // _WIN32
