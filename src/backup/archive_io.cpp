#include "backup/archive_io.h"

#include <QtEndian>

#include <cstring>

namespace pylomir::backup {

namespace {

// Archives move through the buffers in chunks of this size.
constexpr qint64 kChunkSize = 256 * 1024;

} // namespace

ArchiveWriter::ArchiveWriter() : buffer_(kChunkSize, Qt::Uninitialized) {}

bool ArchiveWriter::attach(QIODevice* device) {
    detach();
    if (!device || !device->isWritable())
        return ok_ = false;
    device_ = device;
    base_ = device->isSequential() ? 0 : device->pos();
    return ok_ = true;
}

bool ArchiveWriter::detach() {
    if (!device_)
        return ok_;
    const bool flushed = flush();
    device_ = nullptr;
    used_ = 0;
    return flushed;
}

bool ArchiveWriter::put(const char* data, qint64 n) {
    if (!ok_ || !device_)
        return false;
    if (used_ + n > buffer_.size() && !flush())
        return false;
    if (n >= buffer_.size()) {
        ok_ = device_->write(data, n) == n;
        base_ += n;
        return ok_;
    }
    std::memcpy(buffer_.data() + used_, data, size_t(n));
    used_ += n;
    return true;
}

bool ArchiveWriter::putInt(qint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    return put(bytes, 4);
}

bool ArchiveWriter::putText(QByteArrayView bytes) {
    return putInt(qint32(bytes.size())) && put(bytes);
}

bool ArchiveWriter::flush() {
    if (!ok_ || !device_)
        return false;
    if (used_ > 0) {
        ok_ = device_->write(buffer_.constData(), used_) == used_;
        base_ += used_;
        used_ = 0;
    }
    return ok_;
}

ArchiveReader::ArchiveReader() : buffer_(kChunkSize, Qt::Uninitialized) {}

void ArchiveReader::attach(QIODevice* device) {
    detach();
    device_ = device;
}

void ArchiveReader::detach() {
    if (device_ && !device_->isSequential() && end_ > pos_)
        device_->seek(device_->pos() - (end_ - pos_));
    device_ = nullptr;
    pos_ = end_ = 0;
    consumed_ = bufferStart_ = 0;
}

qint64 ArchiveReader::left() const {
    if (device_->isSequential())
        return -1;
    return (end_ - pos_) + qMax<qint64>(0, device_->size() - device_->pos());
}

bool ArchiveReader::read(char* out, qint64 n) {
    while (n > 0) {
        if (pos_ == end_) {
            if (n >= buffer_.size()) { // large runs bypass the buffer
                const qint64 got = device_->read(out, n);
                if (got <= 0)
                    return false;
                out += got;
                n -= got;
                consumed_ += got;
                pos_ = end_ = 0; // the buffer holds nothing of what comes next
                bufferStart_ = consumed_;
                continue;
            }
            if (!refill())
                return false;
        }
        const qint64 take = qMin(n, end_ - pos_);
        std::memcpy(out, buffer_.constData() + pos_, size_t(take));
        pos_ += take;
        consumed_ += take;
        out += take;
        n -= take;
    }
    return true;
}

bool ArchiveReader::readInt(qint32& value) {
    char bytes[4];
    if (!read(bytes, 4))
        return false;
    value = qFromLittleEndian<qint32>(bytes);
    return true;
}

bool ArchiveReader::readBytes(QByteArray& out, qint64 n) {
    const qint64 available = left();
    if (n < 0 || (available >= 0 && n > available))
        return false;
    out.resize(n);
    return read(out.data(), n);
}

bool ArchiveReader::skip(qint64 n) {
    const qint64 buffered = qMin(n, end_ - pos_);
    pos_ += buffered;
    consumed_ += buffered;
    n -= buffered;
    if (n == 0)
        return true;
    if (!device_->isSequential()) {
        if (device_->size() - device_->pos() < n || !device_->seek(device_->pos() + n))
            return false;
        consumed_ += n;
        pos_ = end_ = 0;
        bufferStart_ = consumed_;
        return true;
    }
    while (n > 0) {
        if (!refill())
            return false;
        const qint64 take = qMin(n, end_ - pos_);
        pos_ += take;
        consumed_ += take;
        n -= take;
    }
    return true;
}

bool ArchiveReader::rewindTo(qint64 offset) {
    if (offset >= consumed_)
        return offset == consumed_;
    if (offset >= bufferStart_) {
        pos_ = offset - bufferStart_;
        consumed_ = offset;
        return true;
    }
    if (!device_ || device_->isSequential() ||
        !device_->seek(device_->pos() - (end_ - pos_) - (consumed_ - offset)))
        return false;
    pos_ = end_ = 0;
    consumed_ = bufferStart_ = offset;
    return true;
}

bool ArchiveReader::refill() {
    const qint64 got = device_->read(buffer_.data(), buffer_.size());
    if (got <= 0)
        return false;
    pos_ = 0;
    end_ = got;
    bufferStart_ = consumed_;
    return true;
}

} // namespace pylomir::backup
