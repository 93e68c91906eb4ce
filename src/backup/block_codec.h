// The archive's block codec: each block of up to kBlockSize data bytes is
// its own zlib stream, so blocks can be skipped by length and a member can
// continue in the next volume without compressor state.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace pylomir::backup {

// The index the backup options pass through unchanged: 0..3.
enum class CompressionLevel { Fastest = 0, None = 1, Default = 2, Max = 3 };

// The zlib level of a compression level (1, 0, zlib's default, 9).
int zlibLevel(CompressionLevel level);

// One deflater and one inflater, reset between blocks: the streams are the
// same as from fresh ones, without an allocation per block.
class BlockCodec {
public:
    enum class Packed {
        Compressed, // packed() holds the block's stream
        Raw,        // the stream would not fit in kBlockSize bytes: store the data as it is
        Failed,     // the compressor could not start or failed
    };

    BlockCodec();
    ~BlockCodec();
    BlockCodec(const BlockCodec&) = delete;
    BlockCodec& operator=(const BlockCodec&) = delete;

    // Compresses one block of 1..kBlockSize bytes at a zlib level.
    Packed compress(QByteArrayView data, int zlibLevel);
    QByteArrayView packed() const { return packed_; }
    // The same into the caller's kBlockSize bytes at `out`; `size` is the
    // stream's length when Compressed.
    Packed compress(QByteArrayView data, int zlibLevel, char* out, qsizetype& size);

    // Inflates one block's payload into unpacked(). False unless the payload
    // is exactly one whole stream of 1 to kBlockSize bytes; what it gave
    // until then stays available.
    bool inflate(QByteArrayView payload);
    QByteArrayView unpacked() const { return unpacked_; }
    // The same into the caller's kBlockSize bytes at `out`; `size` is what
    // it gave.
    bool inflate(QByteArrayView payload, char* out, qsizetype& size);

private:
    struct Streams;
    std::unique_ptr<Streams> streams_;
    QByteArray packedBuffer_;
    QByteArray unpackedBuffer_;
    QByteArrayView packed_;
    QByteArrayView unpacked_;
};

} // namespace pylomir::backup
