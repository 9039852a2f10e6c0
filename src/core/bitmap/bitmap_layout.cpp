#include "bitmap/bitmap_layout.h"

#include "bitmap/bitmap_payload.h"
#include "platform/text.h"

namespace tesselor {

std::optional<BitmapLayout> bitmapLayout(const std::uint8_t* payload, std::size_t size, bool ft8xx) {
    if (size < kPayloadHeaderSize || (payload[0] != kPlainPayload && payload[0] != kDeflatedPayload))
        return std::nullopt;
    const auto encoding = encodingOfCode(payload[1], ft8xx);
    if (!encoding)
        return std::nullopt;
    BitmapLayout layout;
    layout.encoding = *encoding;
    layout.height = payload[2] | payload[3] << 8;
    layout.width = payload[4] | payload[5] << 8;
    layout.stride = rowBytes(layout.width, encoding->depth);
    layout.paletteBytes = tableBytes(*encoding);
    layout.deflated = payload[0] == kDeflatedPayload;
    layout.inflatedSize = layout.paletteBytes + static_cast<std::size_t>(layout.height) * layout.stride;
    layout.dataOffset = layout.deflated ? layout.paletteBytes : kPayloadHeaderSize + layout.paletteBytes;
    if (!layout.deflated && size != kPayloadHeaderSize + layout.inflatedSize)
        return std::nullopt;
    return layout;
}

std::vector<std::string> bitmapLayoutMacros(const std::string& stem, const BitmapLayout& layout) {
    const BitmapEncoding& encoding = layout.encoding;
    const std::string format = encoding.ft8xx ? std::string("the FT8xx format ") + encoding.name
                                              : encodingName(encoding) + ", a native code (no FT8xx format)";
    auto define = [&stem](const char* name, std::uint64_t value) {
        return "#define " + stem + "_" + name + " " + text::dec(static_cast<std::int64_t>(value)) + "u";
    };
    std::vector<std::string> lines = {
        "/* " + stem + "_FORMAT: " + format + (layout.deflated ? "; palette and rows deflated" : "") + " */",
        define("FT8XX", encoding.ft8xx ? 1 : 0),
        define("FORMAT", encoding.formatCode),
        define("WIDTH", static_cast<std::uint64_t>(layout.width)),
        define("HEIGHT", static_cast<std::uint64_t>(layout.height)),
        define("STRIDE", layout.stride),
        define("PALETTE_BYTES", layout.paletteBytes),
        define("DATA_OFFSET", layout.dataOffset),
    };
    if (layout.deflated)
        lines.push_back(define("INFLATED_SIZE", layout.inflatedSize));
    return lines;
}

} // namespace tesselor
