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
    // The listing of the oldest queued folder not yet taken; null when that
    // folder could not be listed. It never waits for the worker: a folder
    // the worker has not finished is listed by the caller itself (on a busy
    // machine the worker may sit unscheduled for a whole time slice).
    std::unique_ptr<DirListing> takeNext();
    // While held the worker starts no new listing (the one in its hands
    // finishes); takeNext() still serves the walk.
    void hold(bool held);

private:
    enum class State { Queued, Listing, Listed };
    struct Slot {
        QString folder;
        State state = State::Queued;
        bool taken = false; // handed to the walk (or listed by it)
        std::unique_ptr<DirListing> listing;
    };
    void run();
    // The first queued folder nobody took up, when the worker may list one
    // more; null otherwise. Called with the lock held; the worker waits
    // exactly while it answers null.
    Slot* nextToList();

    FileSystem& fs_;
    const std::size_t lookahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // The queued folders in queue order, from the oldest one still in the
    // worker's hands. Slots stay where they are while their folder is
    // listed outside the lock (a deque keeps its elements in place when
    // its ends change).
    std::deque<Slot> slots_;
    std::size_t listed_ = 0; // listings finished and not yet taken
    bool stopping_ = false;
    bool held_ = false;
    bool full_ = false;        // the worker waits for half the listings to be taken
    bool workerWaits_ = false; // a wake-up costs a system call: only when needed
    std::thread worker_;
};

} // namespace pylomir::platform
