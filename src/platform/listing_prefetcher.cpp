#include "platform/listing_prefetcher.h"

namespace pylomir::platform {

ListingPrefetcher::ListingPrefetcher(FileSystem& fs, std::size_t lookahead)
    : fs_(fs), lookahead_(lookahead ? lookahead : 1) {
    worker_ = std::thread([this] { run(); });
}

ListingPrefetcher::~ListingPrefetcher() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void ListingPrefetcher::enqueue(const QString& folder) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(folder);
    }
    changed_.notify_all();
}

std::unique_ptr<DirListing> ListingPrefetcher::takeNext() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !done_.empty() || (waiting_.empty() && !busy_); });
    if (done_.empty())
        return nullptr; // nothing was queued
    std::unique_ptr<DirListing> listing = std::move(done_.front().listing);
    done_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return listing;
}

void ListingPrefetcher::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] {
            return stopping_ || (!waiting_.empty() && done_.size() < lookahead_);
        });
        if (stopping_)
            return;
        const QString folder = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        std::unique_ptr<DirListing> listing = fs_.listAhead(folder);
        lock.lock();
        busy_ = false;
        done_.push_back({std::move(listing)});
        changed_.notify_all();
    }
}

} // namespace pylomir::platform
