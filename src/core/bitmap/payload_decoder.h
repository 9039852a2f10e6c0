#pragma once

#include "bitmap/bitmap_payload.h"

#include <optional>

namespace tesselor {

// The pixels a payload shows, read back from its bytes alone.
struct DecodedPayload {
    BitmapEncoding encoding;
    PixelImage image;
    std::vector<std::uint8_t> alpha; // one byte a pixel
};

// Decodes a plain payload; `ft8xx` says how to read byte 1, as native depth codes and FT8xx format
// codes overlap; `swappedBytes` reads native 16-bit pixels and table entries high byte first. Nothing when
// the bytes are no such payload: a zlib stream, an unknown code, or a length other than the header's size
// gives.
std::optional<DecodedPayload> decodePayload(const Bytes& payload, bool ft8xx, bool swappedBytes = false);

} // namespace tesselor
