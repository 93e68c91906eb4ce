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
        for (; first != last; ++first)
            slots_.push_back({*first, State::Queued, false, nullptr});
        wake = workerWaits_ && nextToList();
    }
    if (wake)
        changed_.notify_all();
}

void ListingPrefetcher::hold(bool held) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        held_ = held;
        wake = workerWaits_ && nextToList();
    }
    if (wake)
        changed_.notify_all();
}

ListingPrefetcher::Slot* ListingPrefetcher::nextToList() {
    // A full worker goes on once half the listings ahead are taken, not at
    // every take: each wake-up is a system call and a switch of threads.
    if (listed_ >= lookahead_)
        full_ = true;
    else if (listed_ <= lookahead_ / 2)
        full_ = false;
    if (held_ || full_)
        return nullptr;
    for (Slot& slot : slots_) {
        if (slot.state == State::Queued && !slot.taken)
            return &slot;
    }
    return nullptr;
}

std::unique_ptr<DirListing> ListingPrefetcher::takeNext() {
    std::unique_lock lock(mutex_);
    while (!slots_.empty() && slots_.front().taken && slots_.front().state != State::Listing)
        slots_.pop_front();
    Slot* slot = nullptr;
    for (Slot& s : slots_) {
        if (!s.taken) {
            slot = &s;
            break;
        }
    }
    if (!slot)
        return nullptr; // nothing was queued
    slot->taken = true;
    if (slot->state == State::Listed) {
        std::unique_ptr<DirListing> listing = std::move(slot->listing);
        --listed_;
        const bool wake = workerWaits_ && nextToList();
        lock.unlock();
        if (wake)
            changed_.notify_all();
        return listing;
    }
    // Not begun, or still in the worker's hands: listing it here is faster
    // than waiting. The worker's own listing of it is then dropped.
    const QString folder = slot->folder;
    lock.unlock();
    return fs_.listAhead(folder);
}

void ListingPrefetcher::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        Slot* slot = nullptr;
        workerWaits_ = true;
        changed_.wait(lock, [this, &slot] {
            if (stopping_)
                return true;
            slot = nextToList();
            return slot != nullptr;
        });
        workerWaits_ = false;
        if (stopping_)
            return;
        slot->state = State::Listing;
        const QString folder = slot->folder;
        lock.unlock();
        std::unique_ptr<DirListing> listing = fs_.listAhead(folder);
        lock.lock();
        slot->state = State::Listed;
        if (slot->taken) {
            // The walk listed it meanwhile; close this one outside the lock.
            lock.unlock();
            listing.reset();
            lock.lock();
        } else {
            slot->listing = std::move(listing);
            ++listed_;
        }
    }
}

} // namespace pylomir::platform
