// Lists folders ahead of a breadth-first walk on a worker thread, so the
// walk finds each listing ready when it reaches the folder.
#pragma once

#include "platform/file_system.h"

#include <QString>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace pylomir::platform {

class ListingPrefetcher {
public:
    // At most `lookahead` listings wait finished; the worker waits for the
    // walk to take one before it lists the next. The file system must list
    // ahead (FileSystem::listsAhead()).
    explicit ListingPrefetcher(FileSystem& fs, std::size_t lookahead = 16);
    // Stops the worker and waits for it; listings not taken are dropped.
    ~ListingPrefetcher();
    ListingPrefetcher(const ListingPrefetcher&) = delete;
    ListingPrefetcher& operator=(const ListingPrefetcher&) = delete;

    // Queues a folder (path ending with the separator) to be listed after
    // every folder queued before it.
    void enqueue(const QString& folder) { enqueue(&folder, &folder + 1); }
    // Queues several folders at once, in their order.
    void enqueue(const QString* first, const QString* last);
    // The listing of the oldest queued folder not yet taken, waiting for it
    // when needed; null when that folder could not be listed.
    std::unique_ptr<DirListing> takeNext();

private:
    struct Done {
        std::unique_ptr<DirListing> listing;
    };
    void run();

    FileSystem& fs_;
    const std::size_t lookahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QString> waiting_; // queued, not yet being listed
    std::deque<Done> done_;       // listed, in queue order
    bool busy_ = false;           // the worker is listing a folder
    bool stopping_ = false;
    // Who sleeps on changed_: a wake-up costs a system call, so it is only
    // sent to someone waiting.
    bool workerWaits_ = false;
    bool takerWaits_ = false;
    std::thread worker_;
};

} // namespace pylomir::platform
