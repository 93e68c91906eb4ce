// A file system that hands every call to another one (the machine's by
// default). Fakes and fault injectors override only what they change.
#pragma once

#include "platform/file_system.h"

namespace pylomir::testing {

class ForwardingFileSystem : public platform::FileSystem {
public:
    explicit ForwardingFileSystem(platform::FileSystem& inner = platform::realFileSystem())
        : inner_(&inner) {}

    std::unique_ptr<platform::DirListing> list(const QString& folder) override {
        return inner_->list(folder);
    }
    std::optional<platform::FindData> findFirst(const QString& path) override {
        return inner_->findFirst(path);
    }
    std::optional<qint64> findSize(const QString& path) override { return inner_->findSize(path); }
    bool setAttributes(const QString& path, qint32 attributes) override {
        return inner_->setAttributes(path, attributes);
    }
    bool removeFile(const QString& path, QString* reason = nullptr) override {
        return inner_->removeFile(path, reason);
    }
    bool moveToTrash(const QString& path, QString* reason = nullptr) override {
        return inner_->moveToTrash(path, reason);
    }
    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override {
        return inner_->openForReading(path, reason);
    }
    std::unique_ptr<platform::OutputFile>
    openForWriting(const QString& path, platform::WriteMode mode, QString* reason) override {
        return inner_->openForWriting(path, mode, reason);
    }
    std::unique_ptr<platform::OutputFile> createTemporaryFile(const QString& prefix,
                                                              QString* reason) override {
        return inner_->createTemporaryFile(prefix, reason);
    }
    bool createFolder(const QString& path) override { return inner_->createFolder(path); }
    std::optional<platform::PathStatus> status(const QString& path) override {
        return inner_->status(path);
    }
    bool isLink(const QString& path) override { return inner_->isLink(path); }
    QString canonicalPath(const QString& path) override { return inner_->canonicalPath(path); }

private:
    platform::FileSystem* inner_;
};

} // namespace pylomir::testing
