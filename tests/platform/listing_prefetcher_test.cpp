#include "platform/listing_prefetcher.h"

#include "support/forwarding_file_system.h"
#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace pylomir::platform;

namespace {

// The machine's file system, whose listings on any thread but the test's
// wait until the gate opens.
class GatedFileSystem : public pylomir::testing::ForwardingFileSystem {
public:
    bool listsAhead() const override { return true; }
    std::unique_ptr<DirListing> listAhead(const QString& folder) override {
        if (std::this_thread::get_id() != owner_) {
            std::unique_lock lock(mutex_);
            ++workerWaiting;
            changed_.notify_all();
            changed_.wait(lock, [this] { return open_; });
        }
        return realFileSystem().listAhead(folder);
    }
    void awaitWorker() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return workerWaiting > 0; });
    }
    void openGate() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int workerWaiting = 0;

private:
    const std::thread::id owner_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

QStringList namesOf(DirListing* listing) {
    QStringList names;
    while (listing && listing->next()) {
        if (listing->name() != u"." && listing->name() != u"..")
            names << listing->name().toString();
    }
    names.sort();
    return names;
}

TEST(ListingPrefetcherTest, NeverWaitsForAFolderTheWorkerIsStillReading) {
    pylomir::testing::TempDir tmp;
    QDir root(tmp.path());
    for (const char* path : {"a/x", "a/y", "b/z"})
        ASSERT_TRUE(root.mkpath(QString::fromUtf8(path)));
    GatedFileSystem fs;
    {
        ListingPrefetcher ahead(fs, 4);
        const QStringList folders{tmp.path() + "/a/", tmp.path() + "/missing/", tmp.path() + "/b/"};
        ahead.enqueue(folders.data(), folders.data() + folders.size());
        // The worker holds the first folder; the rest come from this thread,
        // in queue order, with a folder that cannot be listed as null.
        fs.awaitWorker();
        auto first = ahead.takeNext();
        EXPECT_EQ(namesOf(first.get()), QStringList({"x", "y"}));
        EXPECT_EQ(ahead.takeNext(), nullptr);
        EXPECT_EQ(namesOf(ahead.takeNext().get()), QStringList{"z"});
        fs.openGate();
    }
    EXPECT_EQ(fs.workerWaiting, 1);
}

TEST(ListingPrefetcherTest, HandsOverWhatTheWorkerListedInQueueOrder) {
    pylomir::testing::TempDir tmp;
    QDir root(tmp.path());
    QStringList folders;
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(root.mkpath(QStringLiteral("d%1/f%1").arg(i)));
        folders << tmp.path() + QStringLiteral("/d%1/").arg(i);
    }
    GatedFileSystem fs;
    fs.openGate();
    ListingPrefetcher ahead(fs, 4);
    ahead.enqueue(folders.data(), folders.data() + folders.size());
    for (int i = 0; i < 30; ++i) {
        if (i % 7 == 0) // let the worker run ahead now and then
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(namesOf(ahead.takeNext().get()), QStringList{QStringLiteral("f%1").arg(i)});
    }
    EXPECT_EQ(ahead.takeNext(), nullptr);
}

} // namespace
