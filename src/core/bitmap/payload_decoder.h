#pragma once

#include "bitmap/bitmap_payload.h"

#include <optional>

namespace tesselor {

// A payload's pixels read back from its bytes alone, a part of a row at a time: a view of a large image
// reads only what shows. `ft8xx` says how to read byte 1, as native depth codes and FT8xx format codes
// overlap; `swappedBytes` reads native 16-bit pixels and table entries high byte first.
class PayloadPixels {
public:
    // Nothing when the bytes are no such payload: a zlib stream, an unknown code, or a length other than
    // the header's size gives. The bytes must outlive what is returned.
    static std::optional<PayloadPixels> of(const Bytes& payload, bool ft8xx, bool swappedBytes = false);

    const BitmapEncoding& encoding() const { return encoding_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels x to x + count - 1 of row y, all inside the image.
    void read(int x, int y, int count, Rgba* into) const;

private:
    PayloadPixels() = default;

    BitmapEncoding encoding_;
    int width_ = 0;
    int height_ = 0;
    bool swapped_ = false;
    std::vector<Rgba> table_;
    const std::uint8_t* rows_ = nullptr;
    std::size_t stride_ = 0;
};

// The pixels a payload shows, whole.
struct DecodedPayload {
    BitmapEncoding encoding;
    PixelImage image;
    std::vector<std::uint8_t> alpha; // one byte a pixel
};

// Decodes a plain payload whole; nothing when PayloadPixels::of gives nothing.
std::optional<DecodedPayload> decodePayload(const Bytes& payload, bool ft8xx, bool swappedBytes = false);

} // namespace tesselor
