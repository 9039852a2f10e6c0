#include "bitmap/payload_decoder.h"

#include "bitmap/bmp_layout.h"

namespace tesselor {

std::optional<PayloadPixels> PayloadPixels::of(const Bytes& payload, bool ft8xx, bool swappedBytes) {
    if (payload.size() < kPayloadHeaderSize || payload[0] != kPlainPayload)
        return std::nullopt;
    const auto encoding = encodingOfCode(payload[1], ft8xx);
    const int h = payload[2] | payload[3] << 8;
    const int w = payload[4] | payload[5] << 8;
    // The length is checked before anything is allocated, and the pixel count against the decoders' limit.
    if (!encoding || payload.size() != bitmapPayloadSize(w, h, *encoding) || imageSizeProblem(w, h))
        return std::nullopt;

    PayloadPixels pixels;
    pixels.encoding_ = *encoding;
    pixels.width_ = w;
    pixels.height_ = h;
    pixels.swapped_ = swappedBytes && !encoding->ft8xx;
    const std::uint8_t* at = payload.data() + kPayloadHeaderSize;
    for (int i = 0; i < encoding->tableEntries; ++i, at += encoding->entryBytes()) {
        const std::uint8_t swapped[2] = {at[1], at[0]};
        pixels.table_.push_back(entryColour(encoding->palette, pixels.swapped_ ? swapped : at));
    }
    pixels.rows_ = at;
    pixels.stride_ = (std::size_t(w) * std::size_t(encoding->depth) + 7) / 8;
    return pixels;
}

void PayloadPixels::read(int x, int y, int count, Rgba* into) const {
    const std::uint8_t* at = rows_ + std::size_t(y) * stride_;
    const int depth = encoding_.depth;
    for (int end = x + count; x < end; ++x) {
        std::uint32_t code;
        if (depth == 16 && swapped_)
            code = std::uint32_t(at[2 * x]) << 8 | at[2 * x + 1];
        else if (depth == 16)
            code = at[2 * x] | std::uint32_t(at[2 * x + 1]) << 8;
        else {
            const int perByte = 8 / depth;
            code = std::uint32_t(at[x / perByte] >> (8 - depth * (x % perByte + 1))) & ((1u << depth) - 1);
        }
        *into++ = table_.empty() ? codeColour(encoding_, code) : table_[code];
    }
}

std::optional<DecodedPayload> decodePayload(const Bytes& payload, bool ft8xx, bool swappedBytes) {
    const auto pixels = PayloadPixels::of(payload, ft8xx, swappedBytes);
    if (!pixels)
        return std::nullopt;
    const int w = pixels->width();
    DecodedPayload decoded{pixels->encoding(), PixelImage(w, pixels->height()),
                           std::vector<std::uint8_t>(std::size_t(w) * std::size_t(pixels->height()))};
    std::vector<Rgba> row(static_cast<std::size_t>(w));
    for (int y = 0; y < pixels->height(); ++y) {
        pixels->read(0, y, w, row.data());
        for (int x = 0; x < w; ++x) {
            decoded.image.setPixel(x, y, colourOf(row[std::size_t(x)]));
            decoded.alpha[std::size_t(y) * std::size_t(w) + std::size_t(x)] = row[std::size_t(x)].a;
        }
    }
    return decoded;
}

} // namespace tesselor
