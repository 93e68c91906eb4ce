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

void ListingPrefetcher::enqueue(const QString* first, const QString* last) {
    if (first == last)
        return;
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        waiting_.insert(waiting_.end(), first, last);
        wake = workerWaits_;
    }
    if (wake)
        changed_.notify_all();
}

std::unique_ptr<DirListing> ListingPrefetcher::takeNext() {
    std::unique_lock lock(mutex_);
    takerWaits_ = true;
    changed_.wait(lock, [this] { return !done_.empty() || (waiting_.empty() && !busy_); });
    takerWaits_ = false;
    if (done_.empty())
        return nullptr; // nothing was queued
    std::unique_ptr<DirListing> listing = std::move(done_.front().listing);
    done_.pop_front();
    const bool wake = workerWaits_;
    lock.unlock();
    if (wake)
        changed_.notify_all();
    return listing;
}

void ListingPrefetcher::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        workerWaits_ = true;
        changed_.wait(
            lock, [this] { return stopping_ || (!waiting_.empty() && done_.size() < lookahead_); });
        workerWaits_ = false;
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
        if (takerWaits_)
            changed_.notify_all();
    }
}

} // namespace pylomir::platform
