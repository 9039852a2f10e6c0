#include "bitmap/bitmap_formats.h"

#include <algorithm>
#include <cctype>

namespace tesselor {

namespace {

BitmapEncoding channels(const char* name, std::uint8_t code, int a, int r, int g, int b) {
    return {name, code, a + r + g + b, Packing::Channels, {a, r, g, b}};
}
BitmapEncoding luminance(const char* name, std::uint8_t code, int bits) {
    return {name, code, bits, Packing::Luminance};
}
BitmapEncoding paletted(const char* name, std::uint8_t code, PaletteEntry entry) {
    return {name, code, 8, Packing::PaletteIndex, {}, entry, 256};
}

std::vector<BitmapEncoding> table() {
    std::vector<BitmapEncoding> formats = {
        channels("ARGB1555", 0, 1, 5, 5, 5),
        luminance("L1", 1, 1),
        luminance("L4", 2, 4),
        luminance("L8", 3, 8),
        channels("RGB332", 4, 0, 3, 3, 2),
        channels("ARGB2", 5, 2, 2, 2, 2),
        channels("ARGB4", 6, 4, 4, 4, 4),
        {"RGB565", kFt800FormatCode, 16, Packing::Rgb565},
        paletted("PALETTED", 8, PaletteEntry::Argb8888),
        paletted("PALETTED565", 14, PaletteEntry::Rgb565),
        paletted("PALETTED4444", 15, PaletteEntry::Argb4444),
        paletted("PALETTED8", 16, PaletteEntry::Argb8888),
        luminance("L2", 17, 2),
    };
    for (BitmapEncoding& format : formats)
        format.ft8xx = true;
    return formats;
}

} // namespace

BitmapEncoding bitmapEncoding(std::optional<std::uint8_t> bits, bool forFT800, std::string_view ftFormat) {
    if (forFT800)
        return ft8xxFormat(ftFormat).value_or(*ft8xxFormat("RGB565"));
    if (bits && (*bits == 1 || *bits == 4 || *bits == 8))
        return {"native", *bits, *bits, Packing::NativeIndex, {}, PaletteEntry::NativeRgb565, 1 << *bits};
    return {"native", 16, 16, Packing::Rgb565};
}

std::string encodingName(const BitmapEncoding& encoding) {
    return encoding.ft8xx ? std::string(encoding.name) : "native " + std::to_string(encoding.depth) + "-bit";
}

const std::vector<BitmapEncoding>& ft8xxFormats() {
    static const std::vector<BitmapEncoding> formats = table();
    return formats;
}

std::optional<BitmapEncoding> ft8xxFormat(std::string_view name) {
    for (const BitmapEncoding& format : ft8xxFormats()) {
        const std::string_view known = format.name;
        if (known.size() == name.size() &&
            std::equal(known.begin(), known.end(), name.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) ==
                       std::toupper(static_cast<unsigned char>(b));
            }))
            return format;
    }
    return std::nullopt;
}

std::optional<BitmapEncoding> encodingOfCode(std::uint8_t formatCode, bool ft8xx) {
    if (!ft8xx)
        return formatCode == 1 || formatCode == 4 || formatCode == 8 || formatCode == 16
                   ? std::optional(bitmapEncoding(formatCode, false))
                   : std::nullopt;
    for (const BitmapEncoding& format : ft8xxFormats())
        if (format.formatCode == formatCode)
            return format;
    return std::nullopt;
}

Rgba codeColour(const BitmapEncoding& encoding, std::uint32_t code) {
    const auto field = [code](int shift, int bits) {
        return expand((code >> shift) & ((1u << bits) - 1), bits);
    };
    switch (encoding.packing) {
    case Packing::Rgb565:
        return {field(11, 5), field(5, 6), field(0, 5), 255};
    case Packing::Luminance: {
        const std::uint8_t l = field(0, encoding.depth);
        return {l, l, l, 255};
    }
    case Packing::Channels: {
        const auto& [a, r, g, b] = encoding.argbBits;
        return {field(g + b, r), field(b, g), field(0, b), a == 0 ? std::uint8_t(255) : field(r + g + b, a)};
    }
    default:
        return {};
    }
}

Rgba entryColour(PaletteEntry entry, const std::uint8_t* stored) {
    const std::uint32_t v = stored[0] | std::uint32_t(stored[1]) << 8;
    const auto field = [v](int shift, int bits) { return expand((v >> shift) & ((1u << bits) - 1), bits); };
    switch (entry) {
    case PaletteEntry::Argb8888:
        return {stored[2], stored[1], stored[0], stored[3]};
    case PaletteEntry::Argb4444:
        return {field(8, 4), field(4, 4), field(0, 4), field(12, 4)};
    case PaletteEntry::NativeRgb565:
    case PaletteEntry::Rgb565:
        return {field(11, 5), field(5, 6), field(0, 5), 255};
    default:
        return {};
    }
}

} // namespace tesselor
