#include "bitmap/payload_decoder.h"

#include "bitmap/bmp_layout.h"

namespace tesselor {

std::optional<DecodedPayload> decodePayload(const Bytes& payload, bool ft8xx, bool swappedBytes) {
    if (payload.size() < kPayloadHeaderSize || payload[0] != kPlainPayload)
        return std::nullopt;
    const auto encoding = encodingOfCode(payload[1], ft8xx);
    const int h = payload[2] | payload[3] << 8;
    const int w = payload[4] | payload[5] << 8;
    // The length is checked before anything is allocated, and the pixel count against the decoders' limit.
    if (!encoding || payload.size() != bitmapPayloadSize(w, h, *encoding) || imageSizeProblem(w, h))
        return std::nullopt;

    std::vector<Rgba> table;
    const std::uint8_t* at = payload.data() + kPayloadHeaderSize;
    for (int i = 0; i < encoding->tableEntries; ++i, at += encoding->entryBytes()) {
        const std::uint8_t swapped[2] = {at[1], at[0]};
        table.push_back(entryColour(encoding->palette, swappedBytes && !encoding->ft8xx ? swapped : at));
    }

    DecodedPayload decoded{*encoding, PixelImage(w, h),
                           std::vector<std::uint8_t>(std::size_t(w) * std::size_t(h))};
    const int depth = encoding->depth;
    const std::size_t stride = (std::size_t(w) * std::size_t(depth) + 7) / 8;
    for (int y = 0; y < h; ++y, at += stride) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t code;
            if (depth == 16 && swappedBytes)
                code = std::uint32_t(at[2 * x]) << 8 | at[2 * x + 1];
            else if (depth == 16)
                code = at[2 * x] | std::uint32_t(at[2 * x + 1]) << 8;
            else {
                const int perByte = 8 / depth;
                code =
                    std::uint32_t(at[x / perByte] >> (8 - depth * (x % perByte + 1))) & ((1u << depth) - 1);
            }
            const Rgba shown = table.empty() ? codeColour(*encoding, code) : table[code];
            decoded.image.setPixel(x, y, colourOf(shown));
            decoded.alpha[std::size_t(y) * std::size_t(w) + std::size_t(x)] = shown.a;
        }
    }
    return decoded;
}

} // namespace tesselor
