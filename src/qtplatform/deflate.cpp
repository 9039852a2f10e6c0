#include "qtplatform/deflate.h"

#include "bitmap/bitmap_payload.h"

#include <zlib.h>

namespace tesselor::zlib {

Bytes deflate(const std::uint8_t* data, std::size_t size) {
    uLongf deflated = compressBound(static_cast<uLong>(size));
    Bytes out(deflated);
    // Only a too small buffer or too little memory fail, and compressBound rules out the first.
    if (compress2(out.data(), &deflated, data, static_cast<uLong>(size), Z_BEST_COMPRESSION) != Z_OK)
        throw std::bad_alloc();
    out.resize(deflated);
    return out;
}

std::optional<Bytes> inflate(const std::uint8_t* data, std::size_t size, std::size_t inflatedSize) {
    Bytes out(inflatedSize);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw std::bad_alloc();
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(inflatedSize);
    const int result = ::inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END || stream.avail_out != 0)
        return std::nullopt;
    return out;
}

Bytes deflatePayload(const Bytes& plain) {
    Bytes out(plain.begin(), plain.begin() + kPayloadHeaderSize);
    out[0] = kDeflatedPayload;
    const Bytes stream = deflate(plain.data() + kPayloadHeaderSize, plain.size() - kPayloadHeaderSize);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

std::optional<Bytes> inflatePayload(const Bytes& deflated, std::size_t plainSize) {
    if (deflated.size() < kPayloadHeaderSize || deflated[0] != kDeflatedPayload ||
        plainSize < kPayloadHeaderSize)
        return std::nullopt;
    const auto body = inflate(deflated.data() + kPayloadHeaderSize, deflated.size() - kPayloadHeaderSize,
                              plainSize - kPayloadHeaderSize);
    if (!body)
        return std::nullopt;
    Bytes out(deflated.begin(), deflated.begin() + kPayloadHeaderSize);
    out[0] = kPlainPayload;
    out.insert(out.end(), body->begin(), body->end());
    return out;
}

} // namespace tesselor::zlib
