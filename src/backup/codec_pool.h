// A few threads that compress or inflate archive blocks for the operation
// that owns them. Only block bytes cross over: the archive, the files, the
// file system and every event stay on the calling thread.
#pragma once

#include "backup/block_codec.h"

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace pylomir::backup {

// One block's trip through a worker: its input, and the result once done.
struct BlockJob {
    enum class Kind { Compress, Inflate };
    Kind kind = Kind::Compress;
    int zlibLevel = 0;
    QByteArray input; // kBlockSize bytes of room; inputSize of them used
    qsizetype inputSize = 0;
    // The caller's own notes on the block: what it is, where it was read.
    int tag = 0;
    qint64 mark = 0;
    qint64 end = 0;

    // Results: what compress() or inflate() answered and the bytes they gave.
    BlockCodec::Packed packed = BlockCodec::Packed::Failed;
    bool inflated = false;
    QByteArray output;
    qsizetype outputSize = 0;

    BlockJob();
    void run(BlockCodec& codec);
    QByteArrayView in() const { return QByteArrayView(input.constData(), inputSize); }
    QByteArrayView out() const { return QByteArrayView(output.constData(), outputSize); }

private:
    friend class CodecPool;
    bool done_ = true;
};

class CodecPool {
public:
    // workers 0 runs every job on the caller's thread as it is handed over.
    explicit CodecPool(int workers);
    // Lets the workers finish what they hold and joins them.
    ~CodecPool();
    CodecPool(const CodecPool&) = delete;
    CodecPool& operator=(const CodecPool&) = delete;

    int workers() const { return int(threads_.size()); }
    // The job must stay alive until wait() returned for it.
    void submit(BlockJob& job);
    void wait(BlockJob& job);

    // The workers an operation gets when nobody chose: one per core but the
    // caller's.
    static int defaultWorkers();

private:
    void work();

    BlockCodec inlineCodec_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::deque<BlockJob*> queue_;
    bool closing_ = false;
    int waiting_ = 0; // callers asleep in wait()
};

// Blocks handed to a pool in order and taken back in the same order, at most
// `depth` of them in flight: a ring of jobs over one pool.
class BlockRing {
public:
    BlockRing(CodecPool& pool, int depth);
    // Waits for what is still in flight: a job never outlives its ring.
    ~BlockRing();
    BlockRing(const BlockRing&) = delete;
    BlockRing& operator=(const BlockRing&) = delete;

    bool full() const { return count_ == qsizetype(jobs_.size()); }
    bool empty() const { return count_ == 0; }
    qsizetype size() const { return count_; }
    // The next free job to fill; submit() hands it to the pool, or
    // keep() queues it as it is (a block that needs no work).
    BlockJob& next() { return jobs_[(head_ + count_) % jobs_.size()]; }
    void submit();
    void keep();
    // The oldest job, finished.
    BlockJob& front();
    void pop();
    // Drops every job, once finished.
    void clear();

private:
    CodecPool& pool_;
    std::vector<BlockJob> jobs_;
    std::vector<bool> submitted_;
    qsizetype head_ = 0;
    qsizetype count_ = 0;
};

} // namespace pylomir::backup
