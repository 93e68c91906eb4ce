// A file system whose disk can fill up, refuse a file or lose one: the
// machine's file system with failures injected where a test asks for them.
#pragma once

#include "support/forwarding_file_system.h"

#include <QSet>

#include <memory>

namespace pylomir::testing {

class FaultyFileSystem : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // Bytes the disk takes from now on, over all files opened for writing;
    // a write beyond them fails with "No space left on device". -1: no limit.
    qint64 bytesBeforeDiskFull = -1;
    // Paths whose opening, for reading or writing, is refused.
    QSet<QString> denied;
    // Paths whose opening for reading is refused while they can still be
    // replaced (a file without read rights in a folder with write rights).
    QSet<QString> unreadable;
    // Paths that vanish just before they are opened for reading: listings
    // and look-ups still see them.
    QSet<QString> vanishing;
    // No temporary folder to be had.
    bool noTemporaryFolder = false;
    // Folders that cannot be created.
    QSet<QString> unmakeableFolders;
    // Whether callers may look paths up and open them from other threads
    // (the sets above stay as they are meanwhile).
    bool concurrentLookUps = false;

    bool looksUpFromAnyThread() const override { return concurrentLookUps; }

    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override {
        if (denied.contains(path) || unreadable.contains(path))
            return refuse(reason, QStringLiteral("Permission denied"));
        if (vanishing.contains(path)) {
            ForwardingFileSystem::removeFile(path);
            return refuse(reason, QStringLiteral("No such file or directory"));
        }
        return ForwardingFileSystem::openForReading(path, reason);
    }
    std::unique_ptr<platform::OutputFile>
    openForWriting(const QString& path, platform::WriteMode mode, QString* reason) override {
        if (denied.contains(path))
            return refuse(reason, QStringLiteral("Permission denied"));
        return limited(ForwardingFileSystem::openForWriting(path, mode, reason));
    }
    std::unique_ptr<platform::OutputFile> createTemporaryFile(const QString& prefix,
                                                              QString* reason) override {
        if (noTemporaryFolder)
            return refuse(reason, QStringLiteral("No temporary folder"));
        return limited(ForwardingFileSystem::createTemporaryFile(prefix, reason));
    }
    bool createFolder(const QString& path) override {
        return !unmakeableFolders.contains(path) && ForwardingFileSystem::createFolder(path);
    }

private:
    // Writes through to the real file until the disk's budget runs out.
    class LimitedDevice final : public QIODevice {
    public:
        LimitedDevice(QIODevice& inner, qint64& budget) : inner_(inner), budget_(budget) {
            open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        }
        bool failed = false;

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 n) override {
            if (budget_ >= 0 && n > budget_) {
                if (budget_ > 0)
                    inner_.write(data, budget_);
                budget_ = 0;
                failed = true;
                setErrorString(QStringLiteral("No space left on device"));
                return -1;
            }
            if (budget_ >= 0)
                budget_ -= n;
            const qint64 written = inner_.write(data, n);
            if (written != n) {
                failed = true;
                setErrorString(inner_.errorString());
            }
            return written;
        }

    private:
        QIODevice& inner_;
        qint64& budget_;
    };

    class LimitedFile final : public platform::OutputFile {
    public:
        LimitedFile(std::unique_ptr<platform::OutputFile> inner, qint64& budget)
            : inner_(std::move(inner)), device_(inner_->device(), budget) {}
        QIODevice& device() override { return device_; }
        QString path() const override { return inner_->path(); }
        bool setModifiedTime(const QDateTime& local) override {
            return inner_->setModifiedTime(local);
        }
        bool finish() override { return !device_.failed && inner_->finish(); }
        QString errorString() const override {
            return device_.failed ? device_.errorString() : inner_->errorString();
        }

    private:
        std::unique_ptr<platform::OutputFile> inner_;
        LimitedDevice device_;
    };

    static std::nullptr_t refuse(QString* reason, const QString& why) {
        if (reason)
            *reason = why;
        return nullptr;
    }
    std::unique_ptr<platform::OutputFile> limited(std::unique_ptr<platform::OutputFile> file) {
        if (!file || bytesBeforeDiskFull < 0)
            return file;
        return std::make_unique<LimitedFile>(std::move(file), bytesBeforeDiskFull);
    }
};

} // namespace pylomir::testing
