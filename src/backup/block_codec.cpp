#include "backup/block_codec.h"

#include "backup/archive_format.h"

#include <zlib.h>

namespace pylomir::backup {

int zlibLevel(CompressionLevel level) {
    switch (level) {
    case CompressionLevel::Fastest:
        return 1;
    case CompressionLevel::None:
        return 0;
    case CompressionLevel::Default:
        return Z_DEFAULT_COMPRESSION;
    case CompressionLevel::Max:
        return 9;
    }
    return 100; // rejected by zlib: reported as a compressor failure
}

struct BlockCodec::Streams {
    z_stream deflater{};
    z_stream inflater{};
    bool deflaterReady = false;
    bool inflaterReady = false;
    int level = 0;

    ~Streams() {
        if (deflaterReady)
            deflateEnd(&deflater);
        if (inflaterReady)
            inflateEnd(&inflater);
    }
    bool startDeflate(int wanted) {
        if (deflaterReady && wanted == level)
            return deflateReset(&deflater) == Z_OK;
        if (deflaterReady)
            deflateEnd(&deflater);
        deflater = z_stream{};
        deflaterReady =
            deflateInit2(&deflater, wanted, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        level = wanted;
        return deflaterReady;
    }
    bool startInflate() {
        if (inflaterReady)
            return inflateReset(&inflater) == Z_OK;
        inflater = z_stream{};
        inflaterReady = inflateInit2(&inflater, 15) == Z_OK;
        return inflaterReady;
    }
};

BlockCodec::BlockCodec()
    : streams_(std::make_unique<Streams>()), packedBuffer_(kBlockSize, Qt::Uninitialized),
      unpackedBuffer_(kBlockSize, Qt::Uninitialized) {}

BlockCodec::~BlockCodec() = default;

BlockCodec::Packed BlockCodec::compress(QByteArrayView data, int level) {
    qsizetype size = 0;
    const Packed result = compress(data, level, packedBuffer_.data(), size);
    packed_ = result == Packed::Compressed ? QByteArrayView(packedBuffer_.constData(), size)
                                           : QByteArrayView();
    return result;
}

BlockCodec::Packed BlockCodec::compress(QByteArrayView data, int level, char* out,
                                        qsizetype& size) {
    size = 0;
    if (!streams_->startDeflate(level))
        return Packed::Failed;
    z_stream& z = streams_->deflater;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out);
    z.avail_out = kBlockSize;
    switch (deflate(&z, Z_FINISH)) {
    case Z_STREAM_END:
        size = kBlockSize - qint32(z.avail_out);
        return Packed::Compressed;
    case Z_OK:
    case Z_BUF_ERROR: // out of room: the stream is longer than a block
        return Packed::Raw;
    default:
        return Packed::Failed;
    }
}

bool BlockCodec::inflate(QByteArrayView payload) {
    qsizetype size = 0;
    const bool whole = inflate(payload, unpackedBuffer_.data(), size);
    unpacked_ = QByteArrayView(unpackedBuffer_.constData(), size);
    return whole;
}

bool BlockCodec::inflate(QByteArrayView payload, char* out, qsizetype& size) {
    size = 0;
    if (!streams_->startInflate())
        return false;
    z_stream& z = streams_->inflater;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(payload.data()));
    z.avail_in = uInt(payload.size());
    z.next_out = reinterpret_cast<Bytef*>(out);
    z.avail_out = kBlockSize;
    const int result = ::inflate(&z, Z_NO_FLUSH);
    size = kBlockSize - qint32(z.avail_out);
    // A block is one whole stream of 1 to kBlockSize bytes: anything short
    // of its end (damage, a missing tail, more than a block), bytes after it
    // or a stream of nothing is an error.
    return result == Z_STREAM_END && z.avail_in == 0 && size > 0;
}

} // namespace pylomir::backup
