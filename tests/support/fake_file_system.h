// An in-memory folder tree with Windows attributes, for tests that need
// folders that cannot be listed, odd attributes or fixed times. Files are
// read and written on the machine's file system (list files in a temporary
// program folder).
#pragma once

#include "support/forwarding_file_system.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <vector>

namespace pylomir::testing {

struct FakeEntry {
    QString name;
    qint32 attributes = platform::faArchive;
    qint64 size = 0;
    platform::FileTimes times;
    bool isDirectory() const { return attributes & platform::faDirectory; }
};

class FakeFileSystem : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem; // files on another (faulty) disk

    // Folders are keyed by their path with the trailing separator.
    QHash<QString, std::vector<FakeEntry>> folders;
    QHash<QString, bool> unlistable; // folders whose listing fails
    std::vector<QString> listed;     // folders listed, in order
    std::vector<std::pair<QString, qint32>> attributeCalls;
    QSet<QString> undeletable; // files whose deletion is refused

    // Adds a file (or folder when attributes hold faDirectory) by full path,
    // creating its parent folders' entries.
    void add(const QString& fullPath, qint64 size = 0, qint32 attributes = platform::faArchive) {
        const qsizetype cut = fullPath.lastIndexOf(QLatin1Char('/'));
        const QString folder = fullPath.left(cut + 1);
        FakeEntry e;
        e.name = fullPath.mid(cut + 1);
        e.attributes = attributes;
        e.size = size;
        folders[folder].push_back(e);
        if (attributes & platform::faDirectory)
            folders[fullPath + QLatin1Char('/')];
    }
    void addFolder(const QString& fullPath) { add(fullPath, 0, platform::faDirectory); }

    std::unique_ptr<platform::DirListing> list(const QString& folder) override {
        listed.push_back(folder);
        if (unlistable.value(folder) || !folders.contains(folder))
            return nullptr;
        return std::make_unique<Listing>(folders.value(folder));
    }
    std::optional<platform::FindData> findFirst(const QString& path) override {
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        const auto it = folders.constFind(path.left(cut + 1));
        if (it == folders.constEnd())
            return ForwardingFileSystem::findFirst(path); // a folder of the disk beneath
        for (const FakeEntry& e : *it) {
            if (e.name == path.mid(cut + 1))
                return platform::FindData{e.name, e.attributes, e.size, e.times};
        }
        return std::nullopt;
    }
    std::optional<qint64> findSize(const QString& path) override {
        return platform::FileSystem::findSize(path); // through findFirst, on the fake tree
    }
    bool setAttributes(const QString& path, qint32 attributes) override {
        attributeCalls.emplace_back(path, attributes);
        return true;
    }
    bool removeFile(const QString& path, QString* reason = nullptr) override {
        if (undeletable.contains(path)) {
            if (reason)
                *reason = QStringLiteral("Permission denied");
            return false;
        }
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        auto it = folders.find(path.left(cut + 1));
        if (reason)
            *reason = QStringLiteral("No such file or directory");
        if (it == folders.end())
            return false;
        for (auto e = it->begin(); e != it->end(); ++e) {
            if (e->name == path.mid(cut + 1)) {
                it->erase(e);
                return true;
            }
        }
        return false;
    }

private:
    class Listing : public platform::DirListing {
    public:
        explicit Listing(std::vector<FakeEntry> entries) : entries_(std::move(entries)) {
            FakeEntry dot;
            dot.name = QStringLiteral(".");
            dot.attributes = platform::faDirectory;
            FakeEntry dotdot = dot;
            dotdot.name = QStringLiteral("..");
            entries_.insert(entries_.begin(), {dot, dotdot});
        }
        bool next() override { return ++pos_ < entries_.size(); }
        QStringView name() const override { return entries_[pos_].name; }
        bool isDirectory() override { return entries_[pos_].isDirectory(); }
        qint32 attributes() override { return entries_[pos_].attributes; }
        qint64 size() override { return entries_[pos_].size; }
        platform::FileTimes times() override { return entries_[pos_].times; }

    private:
        std::vector<FakeEntry> entries_;
        size_t pos_ = size_t(-1);
    };
};

} // namespace pylomir::testing
