// The archive's byte layout on a device: little-endian 32-bit integers, byte
// runs and length-prefixed texts, moved through one large buffer each way so
// that a block costs no system call of its own.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QtGlobal>

namespace pylomir::backup {

// Buffered archive output. Remembers the first failure: after it, every call
// fails and nothing more reaches the device.
class ArchiveWriter {
public:
    ArchiveWriter();

    // Starts writing at the device's current position; false when the device
    // cannot be written.
    bool attach(QIODevice* device);
    // Writes out what is buffered and lets go of the device, which stays
    // open. False when anything failed since attach().
    bool detach();

    bool put(const char* data, qint64 n);
    bool put(QByteArrayView bytes) { return put(bytes.data(), bytes.size()); }
    bool putInt(qint32 value);
    // A text as the archive stores it: its byte length, then the bytes.
    bool putText(QByteArrayView bytes);
    bool flush();
    // Bytes written to this device so far, buffered ones included.
    qint64 pos() const { return base_ + used_; }

private:
    QByteArray buffer_;
    qint64 used_ = 0;
    qint64 base_ = 0;
    bool ok_ = false;
    QIODevice* device_ = nullptr;
};

// Buffered archive input that never trusts a length it has not seen.
class ArchiveReader {
public:
    ArchiveReader();

    void attach(QIODevice* device);
    // Lets go of the device; one that can seek is left just after what was
    // consumed, so a caller's stream goes on where the archive ended.
    void detach();

    bool read(char* out, qint64 n);
    bool readInt(qint32& value);
    // Reads n bytes; a length beyond the end fails before anything is
    // allocated. Callers bound n.
    bool readBytes(QByteArray& out, qint64 n);
    bool skip(qint64 n);
    // What the next reads give without asking the device.
    QByteArrayView buffered() const {
        return QByteArrayView(buffer_.constData() + pos_, end_ - pos_);
    }
    // Bytes consumed since attach().
    qint64 consumed() const { return consumed_; }
    // Goes back to what consumed() was earlier, as if nothing after it had
    // been read; false when a device that cannot seek has moved on since.
    bool rewindTo(qint64 offset);

private:
    // Bytes left, or -1 when the device cannot tell.
    qint64 left() const;
    bool refill();

    QByteArray buffer_;
    qint64 pos_ = 0;
    qint64 end_ = 0;
    qint64 consumed_ = 0;
    qint64 bufferStart_ = 0; // consumed() at the buffer's first byte
    QIODevice* device_ = nullptr;
};

} // namespace pylomir::backup
