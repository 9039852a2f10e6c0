#include "fontexport/ft8xx_font.h"

#include "bitmap/bitmap_formats.h"
#include "bitmap/bitmap_payload.h"
#include "model/error.h"
#include "model/grey_levels.h"
#include "platform/c_array.h"
#include "platform/c_names.h"
#include "platform/text.h"

#include <algorithm>

namespace tesselor {

namespace {

struct Format {
    const char* name;
    std::uint32_t code;
    int bits;
};
// The luminance formats of the controllers; L2 came with the FT81x.
constexpr Format kFormats[] = {{"L1", 1, 1}, {"L2", 17, 2}, {"L4", 2, 4}, {"L8", 3, 8}};

const Format& formatNamed(const std::string& name) {
    for (const Format& format : kFormats)
        if (name == format.name)
            return format;
    throw Error("The controller's fonts are L1, L2, L4 or L8, not '" + name + "'");
}

void putU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int b = 0; b < 4; ++b)
        out[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(value >> (8 * b));
}

std::string hex32(std::uint32_t value) {
    return "0x" + text::hex(value, 8) + "u";
}

} // namespace

std::uint32_t lowestFontAddress(const FontModel& font, const Ft8xxFontOptions& options) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(font.FontWidth()) *
                                      static_cast<std::uint64_t>(formatNamed(options.format).bits) +
                                  7) /
                                 8;
    const std::uint64_t before = stride * static_cast<std::uint64_t>(font.FontHeight()) *
                                 static_cast<std::uint64_t>(options.first.value_or(font.firstCode()));
    return static_cast<std::uint32_t>((before > kFontBlockBytes ? before - kFontBlockBytes + 3 : 0) / 4 * 4);
}

Ft8xxFont ft8xxFont(const FontModel& font, const Ft8xxFontOptions& options) {
    const Format& format = formatNamed(options.format);
    Ft8xxFont out;
    out.format = format.name;
    out.formatCode = format.code;
    out.first = options.first.value_or(font.firstCode());
    out.last = options.last.value_or(font.lastCode());
    if (font.rangeIsEmpty() || out.last < out.first || out.first < font.firstCode() ||
        out.last > font.lastCode())
        throw Error("The codes " + text::dec(out.first) + " to " + text::dec(out.last) +
                    " are not in the font's " + text::dec(font.RangeFrom) + " to " + text::dec(font.RangeTo));
    if (out.last > kLastControllerCode) {
        std::vector<int> past;
        for (int c = std::max(out.first, kLastControllerCode + 1); c <= out.last; ++c)
            past.push_back(c);
        throw Error("The controller's font holds codes up to 127; the font has " + text::decList(past) +
                    ": narrow it with --to 127 (or less)");
    }
    out.width = static_cast<std::uint32_t>(font.FontWidth());
    out.height = static_cast<std::uint32_t>(font.FontHeight());
    out.stride = (out.width * static_cast<std::uint32_t>(format.bits) + 7) / 8;
    const std::uint64_t cell = std::uint64_t(out.stride) * out.height;

    // The glyph pointer is where code 0's cell would be: the address of the first cell less first cells.
    const std::uint64_t before = cell * static_cast<std::uint64_t>(out.first);
    const std::uint64_t smallest = lowestFontAddress(font, options);
    if (options.address % 4 != 0)
        throw Error("The address " + text::dec(options.address) + " is not 4-byte aligned: " +
                    text::dec(std::max<std::uint64_t>((options.address + 3) / 4 * 4, smallest)) + " is");
    if (options.address < smallest)
        throw Error("At the address " + text::dec(options.address) + " the glyph pointer would be below 0 (" +
                    text::dec(out.first) + " cells of " + text::dec(static_cast<std::int64_t>(cell)) +
                    " bytes before the first): the smallest address that works is " +
                    text::dec(static_cast<std::int64_t>(smallest)));
    const std::uint64_t size = kFontBlockBytes + cell * static_cast<std::uint64_t>(out.last - out.first + 1);
    if (options.address + size > 0xFFFFFFFFull)
        throw Error("The font does not fit below 4 GiB at the address " + text::dec(options.address));
    out.address = options.address;
    out.pointer = static_cast<std::uint32_t>(options.address + kFontBlockBytes - before);

    const Advances advances = controllerAdvances(font, options.spacing, options.spaceWidth);
    out.bytes.assign(static_cast<std::size_t>(size), 0);
    std::vector<int> tooWide;
    for (int c = out.first; c <= out.last; ++c) {
        const int advance = advanceOf(font, c, advances);
        if (advance < 0 || advance > 255)
            tooWide.push_back(c);
        out.bytes[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(advance);
    }
    if (!tooWide.empty())
        throw Error("The width table holds advances up to 255; with the spacing these are wider: " +
                    text::decList(tooWide));
    putU32(out.bytes, 128, out.formatCode);
    putU32(out.bytes, 132, out.stride);
    putU32(out.bytes, 136, out.width);
    putU32(out.bytes, 140, out.height);
    putU32(out.bytes, 144, out.pointer);

    std::vector<std::uint32_t> codes(out.width);
    std::size_t at = kFontBlockBytes;
    for (int c = out.first; c <= out.last; ++c) {
        const PixelImage& character = font.CharImages[static_cast<std::size_t>(c)];
        const int width = std::min<int>(font.CharWidths[static_cast<std::size_t>(c)], font.FontWidth());
        for (int y = 0; y < font.FontHeight(); ++y, at += out.stride) {
            for (int x = 0; x < font.FontWidth(); ++x) {
                const Colour pixel = character.pixel(x, y);
                const int level = font.Depth <= 1 ? (pixel == kBlack ? 1 : 0) : levelOf(pixel, font.Depth);
                codes[static_cast<std::size_t>(x)] =
                    x < width ? static_cast<std::uint32_t>(convertLevel(level, font.Depth, format.bits)) : 0;
            }
            packRow(codes, format.bits, out.bytes.data() + at);
        }
    }
    return out;
}

std::string ft8xxFontHeader(const std::string& headerFile, const std::string& symbol, const Ft8xxFont& font,
                            std::size_t storedBytes, bool deflated, const std::string& elementType) {
    const std::string m = cnames::macroPart(symbol) + "_";
    auto define = [&m](const std::string& name, const std::string& value) {
        return "#define " + m + name + " " + value;
    };
    std::vector<std::string> body = {
        "/* The font for the FT8xx graphics controllers: the 148-byte font metric block, then the glyphs.",
        std::string(" * Write ") +
            (deflated ? "the zlib stream with CMD_INFLATE" : "the bytes with CMD_MEMWRITE") + " to " + m +
            "ADDRESS, then, for bitmap handle H:",
        " *   FT81x and later: CMD_SETFONT2(H, " + m + "ADDRESS, 0);",
        " *     (first character 0: the block's glyph pointer already counts from code 0)",
        " *   FT80x: BITMAP_HANDLE(H); BITMAP_SOURCE(" + m + "POINTER);",
        " *     BITMAP_LAYOUT(" + m + "FORMAT, " + m + "STRIDE, " + m + "HEIGHT);",
        " *     BITMAP_SIZE(NEAREST, BORDER, BORDER, " + m + "WIDTH, " + m + "HEIGHT);",
        " *     CMD_SETFONT(H, " + m + "ADDRESS);",
        " * then CMD_TEXT(x, y, H, options, \"text\") with codes " + m + "FIRST to " + m + "LAST. */",
        define("ADDRESS", hex32(font.address)),
        define("BLOCK_BYTES", "148u"),
        define("FORMAT", text::dec(font.formatCode) + "u /* " + font.format + " */"),
        define("STRIDE", text::dec(font.stride) + "u"),
        define("WIDTH", text::dec(font.width) + "u"),
        define("HEIGHT", text::dec(font.height) + "u"),
        define("FIRST", text::dec(font.first) + "u"),
        define("LAST", text::dec(font.last) + "u"),
        define("POINTER", hex32(font.pointer)),
        define("SIZE", text::dec(static_cast<std::int64_t>(storedBytes)) + "u"),
    };
    if (deflated)
        body.push_back(
            define("INFLATED_SIZE", text::dec(static_cast<std::int64_t>(font.bytes.size())) + "u"));
    if (!elementType.empty())
        body.push_back("extern const " + elementType + " " + symbol + "[" + m + "SIZE];");
    return cHeader(headerFile, body);
}

std::vector<std::uint8_t> ft8xxFontItemPayload(const Ft8xxFont& font, const std::vector<std::uint8_t>& stored,
                                               bool deflated) {
    std::vector<std::uint8_t> payload(12 + stored.size(), 0);
    std::copy(stored.begin(), stored.end(), payload.begin() + 12);
    payload[0] = deflated ? kDeflatedPayload : kPlainPayload;
    payload[1] = static_cast<std::uint8_t>(font.formatCode);
    payload[2] = static_cast<std::uint8_t>(font.first);
    payload[3] = static_cast<std::uint8_t>(font.last);
    putU32(payload, 4, font.address);
    putU32(payload, 8, static_cast<std::uint32_t>(font.bytes.size()));
    return payload;
}

} // namespace tesselor
