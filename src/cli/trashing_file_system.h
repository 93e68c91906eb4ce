// The machine's file system for "clean --trash": deleting one of the files
// the clean chose moves it to the trash instead; every other call, and the
// removal of anything else (a backup's unfinished archive), goes through.
#pragma once

#include "platform/file_system.h"

#include <QSet>
#include <QString>

namespace pylomir::cli {

class TrashingFileSystem : public platform::FileSystem {
public:
    explicit TrashingFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    // The paths whose removal moves them to the trash.
    void setTrashed(QSet<QString> paths) { trashed_ = std::move(paths); }

    bool removeFile(const QString& path, QString* reason = nullptr) override {
        return trashed_.contains(path) ? inner_.moveToTrash(path, reason)
                                       : inner_.removeFile(path, reason);
    }

    std::unique_ptr<platform::DirListing> list(const QString& folder) override {
        return inner_.list(folder);
    }
    bool listsAhead() const override { return inner_.listsAhead(); }
    bool looksUpFromAnyThread() const override { return inner_.looksUpFromAnyThread(); }
    std::unique_ptr<platform::DirListing> listAhead(const QString& folder) override {
        return inner_.listAhead(folder);
    }
    std::optional<platform::FindData> findFirst(const QString& path) override {
        return inner_.findFirst(path);
    }
    std::optional<qint64> findSize(const QString& path) override { return inner_.findSize(path); }
    bool setAttributes(const QString& path, qint32 attributes) override {
        return inner_.setAttributes(path, attributes);
    }
    bool clearingChanges(qint32 attributes) const override {
        return inner_.clearingChanges(attributes);
    }
    bool moveToTrash(const QString& path, QString* reason = nullptr) override {
        return inner_.moveToTrash(path, reason);
    }
    std::unique_ptr<QIODevice> openForReading(const QString& path,
                                              QString* reason = nullptr) override {
        return inner_.openForReading(path, reason);
    }
    std::unique_ptr<platform::OutputFile> openForWriting(const QString& path,
                                                         platform::WriteMode mode,
                                                         QString* reason = nullptr) override {
        return inner_.openForWriting(path, mode, reason);
    }
    std::unique_ptr<platform::OutputFile> createTemporaryFile(const QString& prefix,
                                                              QString* reason = nullptr) override {
        return inner_.createTemporaryFile(prefix, reason);
    }
    bool createFolder(const QString& path) override { return inner_.createFolder(path); }
    std::optional<platform::PathStatus> status(const QString& path) override {
        return inner_.status(path);
    }
    bool isLink(const QString& path) override { return inner_.isLink(path); }
    QString canonicalPath(const QString& path) override { return inner_.canonicalPath(path); }

private:
    platform::FileSystem& inner_;
    QSet<QString> trashed_;
};

} // namespace pylomir::cli
