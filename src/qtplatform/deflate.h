#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tesselor::zlib {

using Bytes = std::vector<std::uint8_t>;

// Bytes as one zlib stream (RFC 1950), as the graphics controller's inflate command takes it.
Bytes deflate(const std::uint8_t* data, std::size_t size);
// A stream's bytes back; nothing when the stream is broken, does not end, or inflates to more or fewer
// than `inflatedSize` bytes.
std::optional<Bytes> inflate(const std::uint8_t* data, std::size_t size, std::size_t inflatedSize);

// The payload with everything after its 6-byte header as one zlib stream, and byte 0 set to 0x01 to say so.
Bytes deflatePayload(const Bytes& plain);

// The plain payload back, byte 0 reset to 0x00; nothing when the stream is broken, does not end, or
// would inflate to more than `plainSize` bytes in all or to fewer.
std::optional<Bytes> inflatePayload(const Bytes& deflated, std::size_t plainSize);

} // namespace tesselor::zlib
