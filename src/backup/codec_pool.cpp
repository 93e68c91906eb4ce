#include "backup/codec_pool.h"

#include "backup/archive_format.h"

#include <QThread>

#include <algorithm>

namespace pylomir::backup {

BlockJob::BlockJob()
    : input(kBlockSize, Qt::Uninitialized), output(kBlockSize, Qt::Uninitialized) {}

void BlockJob::run(BlockCodec& codec) {
    // Straight into the job's own buffer: no copy per block.
    if (kind == Kind::Compress)
        packed = codec.compress(in(), zlibLevel, output.data(), outputSize);
    else
        inflated = codec.inflate(in(), output.data(), outputSize);
}

// The calling thread codes blocks too while it waits, so one core is its:
// a worker more than cores-1 only takes turns with it, and every turn is a
// wake-up and a block written late.
int CodecPool::defaultWorkers() {
    return qMax(0, QThread::idealThreadCount() - 1);
}

CodecPool::CodecPool(int workers) {
    threads_.reserve(size_t(qMax(0, workers)));
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { work(); });
}

CodecPool::~CodecPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

void CodecPool::submit(BlockJob& job) {
    if (threads_.empty()) {
        job.run(inlineCodec_);
        job.done_ = true;
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job.done_ = false;
        queue_.push_back(&job);
    }
    wake_.notify_one();
}

// A job no worker has started yet is run by the caller itself. While one is
// at work, the caller runs the oldest job still queued instead of sleeping,
// one at a time, so it is back for its own job soon after that is done; it
// sleeps only when nothing is left to run.
void CodecPool::wait(BlockJob& job) {
    if (threads_.empty())
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    if (job.done_)
        return;
    const auto queued = std::find(queue_.begin(), queue_.end(), &job);
    BlockJob* next = nullptr;
    if (queued != queue_.end()) {
        queue_.erase(queued);
        next = &job;
    }
    for (;;) {
        if (!next) {
            if (queue_.empty())
                break;
            next = queue_.front();
            queue_.pop_front();
        }
        lock.unlock();
        next->run(inlineCodec_);
        lock.lock();
        next->done_ = true;
        if (job.done_)
            return;
        next = nullptr;
    }
    ++waiting_;
    finished_.wait(lock, [&job] { return job.done_; });
    --waiting_;
}

void CodecPool::work() {
    BlockCodec codec; // each worker keeps its streams for the whole operation
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (queue_.empty())
            return;
        BlockJob* job = queue_.front();
        queue_.pop_front();
        lock.unlock();
        job->run(codec);
        lock.lock();
        job->done_ = true;
        if (waiting_ > 0)
            finished_.notify_all();
    }
}

BlockRing::BlockRing(CodecPool& pool, int depth)
    : pool_(pool), jobs_(size_t(qMax(1, depth))), submitted_(jobs_.size(), false) {}

BlockRing::~BlockRing() {
    clear();
}

void BlockRing::clear() {
    while (!empty())
        pop();
}

void BlockRing::submit() {
    const qsizetype at = (head_ + count_) % qsizetype(jobs_.size());
    submitted_[size_t(at)] = true;
    ++count_;
    pool_.submit(jobs_[size_t(at)]);
}

void BlockRing::keep() {
    submitted_[size_t((head_ + count_) % qsizetype(jobs_.size()))] = false;
    ++count_;
}

BlockJob& BlockRing::front() {
    BlockJob& job = jobs_[size_t(head_)];
    if (submitted_[size_t(head_)])
        pool_.wait(job);
    return job;
}

void BlockRing::pop() {
    front(); // a job still at work must not be reused
    head_ = (head_ + 1) % qsizetype(jobs_.size());
    --count_;
}

} // namespace pylomir::backup
