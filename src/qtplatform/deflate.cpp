#include "qtplatform/deflate.h"

#include "bitmap/bitmap_payload.h"

#include <zlib.h>

namespace tesselor::zlib {

Bytes deflatePayload(const Bytes& plain) {
    const uLong body = static_cast<uLong>(plain.size() - kPayloadHeaderSize);
    uLongf size = compressBound(body);
    Bytes out(kPayloadHeaderSize + size);
    std::copy(plain.begin(), plain.begin() + kPayloadHeaderSize, out.begin());
    out[0] = kDeflatedPayload;
    // Only a too small buffer or too little memory fail, and compressBound rules out the first.
    if (compress2(out.data() + kPayloadHeaderSize, &size, plain.data() + kPayloadHeaderSize, body,
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::bad_alloc();
    out.resize(kPayloadHeaderSize + size);
    return out;
}

std::optional<Bytes> inflatePayload(const Bytes& deflated, std::size_t plainSize) {
    if (deflated.size() < kPayloadHeaderSize || deflated[0] != kDeflatedPayload ||
        plainSize < kPayloadHeaderSize)
        return std::nullopt;
    Bytes out(plainSize);
    std::copy(deflated.begin(), deflated.begin() + kPayloadHeaderSize, out.begin());
    out[0] = kPlainPayload;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw std::bad_alloc();
    stream.next_in = const_cast<Bytef*>(deflated.data() + kPayloadHeaderSize);
    stream.avail_in = static_cast<uInt>(deflated.size() - kPayloadHeaderSize);
    stream.next_out = out.data() + kPayloadHeaderSize;
    stream.avail_out = static_cast<uInt>(plainSize - kPayloadHeaderSize);
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END || stream.avail_out != 0)
        return std::nullopt;
    return out;
}

} // namespace tesselor::zlib
