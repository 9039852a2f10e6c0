#include "fontexport/font_payload.h"

#include "fontexport/resource_item.h"
#include "model/error.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>

namespace tesselor {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 4;
constexpr std::size_t kMaxOffset = 0xFFFFFF;

std::size_t characterCount(const FontModel& font) {
    return font.rangeIsEmpty() ? 0 : static_cast<std::size_t>(font.lastCode() - font.firstCode() + 1);
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHex2(std::string& out, unsigned value) {
    out += "0x";
    out += kHexDigits[(value >> 4) & 0xF];
    out += kHexDigits[value & 0xF];
}

// "0xHH," for every byte of a glyph, written straight into the text.
void appendGlyphBytes(std::string& out, const std::uint8_t* bytes, std::size_t count) {
    const std::size_t start = out.size();
    out.resize(start + 5 * count);
    char* to = out.data() + start;
    for (std::size_t i = 0; i < count; ++i, to += 5) {
        to[0] = '0';
        to[1] = 'x';
        to[2] = kHexDigits[bytes[i] >> 4];
        to[3] = kHexDigits[bytes[i] & 0xF];
        to[4] = ',';
    }
}

} // namespace

Bytes FontPayload(const FontModel& font) {
    const int height = font.FontHeight();
    const std::size_t count = characterCount(font);
    std::size_t glyphBytes = 0;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        glyphBytes += static_cast<std::size_t>(height) *
                      static_cast<std::size_t>(glyphRowBytes(font.CharWidths[static_cast<std::size_t>(c)]));
    const std::size_t glyphStart = kHeaderSize + kEntrySize * count;
    if (glyphStart + glyphBytes > kMaxOffset + 1)
        throw Error("The font's glyphs take " + text::dec(static_cast<std::int64_t>(glyphBytes)) +
                    " bytes, more than the 16 MB a font for the device can address");

    Bytes payload;
    payload.reserve(glyphStart + glyphBytes);
    const auto from = static_cast<std::uint32_t>(font.RangeFrom);
    const auto to = static_cast<std::uint32_t>(font.RangeTo);
    payload.push_back(0x00);
    payload.push_back(0x00);
    appendU16(payload, from & 0xFFFF);
    appendU16(payload, to & 0xFFFF);
    payload.push_back(static_cast<std::uint8_t>(height & 0xFF));
    payload.push_back(0x00);
    std::size_t offset = glyphStart;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const int width = font.CharWidths[static_cast<std::size_t>(c)];
        // Width, then the offset as 24 bits.
        appendU32(payload, static_cast<std::uint32_t>(width) | static_cast<std::uint32_t>(offset) << 8);
        offset += static_cast<std::size_t>(height) * static_cast<std::size_t>(glyphRowBytes(width));
    }
    std::size_t at = payload.size();
    payload.resize(glyphStart + glyphBytes, 0);
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const PixelImage& image = font.CharImages[static_cast<std::size_t>(c)];
        const int width = font.CharWidths[static_cast<std::size_t>(c)];
        const auto rowBytes = static_cast<std::size_t>(glyphRowBytes(width));
        // Columns at or beyond the cell, or beyond a smaller image, read as not black.
        const int inked = std::min({width, font.FontWidth(), image.width()});
        for (int y = 0; y < height; ++y, at += rowBytes) {
            if (y >= image.height() || inked <= 0)
                continue;
            const Colour* row =
                image.pixels().data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width());
            for (int x = 0; x < inked; x += 8) {
                const int inByte = std::min(8, inked - x);
                unsigned bits = 0;
                for (int k = 0; k < inByte; ++k)
                    bits |= static_cast<unsigned>(row[x + k] == kBlack) << k;
                payload[at + static_cast<std::size_t>(x / 8)] = static_cast<std::uint8_t>(bits);
            }
        }
    }
    return payload;
}

std::string fontOutputName(const std::string& path, const FontModel& font) {
    return paths::baseName(path) + "_" + text::dec(font.widestWidth()) + "x" + text::dec(font.FontHeight());
}

std::string fontCSource(const FontModel& font, const std::string& arrayName, const CArrayStyle& style) {
    std::string text;
    writeFontCSource(font, arrayName, style, [&text](std::string_view piece) { text += piece; });
    return text;
}

void writeFontCSource(const FontModel& font, const std::string& arrayName, const CArrayStyle& style,
                      const std::function<void(std::string_view)>& put) {
    if (style.bytes && font.FontHeight() > 0xFF)
        throw Error("The font is " + text::dec(font.FontHeight()) +
                    " pixels high: an array of uint8_t holds heights up to 255");
    const Bytes payload = FontPayload(font);
    const std::size_t count = characterCount(font);
    // The text is five times the payload: it goes out in pieces of about this size.
    constexpr std::size_t kPiece = 1 << 16;
    std::string out;
    out.reserve(2 * kPiece);
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    line("// Font Generated by \"Tesselor\" 1.0");
    line("// Tesselor is written by the Tesselor developers");
    line("");
    out += style.includes();
    line("const " + style.elementType() + " " + arrayName + "[] = {");
    line("  0x00,");
    line("  0x00,");
    line("  0x" + text::hex(payload[2], 2) + ",0x" + text::hex(payload[3], 2) + ",");
    line("  0x" + text::hex(payload[4], 2) + ",0x" + text::hex(payload[5], 2) + ",");
    // The height line carries the whole value; the payload keeps its low byte.
    line("  0x" + text::hex(static_cast<std::uint64_t>(font.FontHeight()), 2) + ",");
    line("  0x00,");
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + kEntrySize * i;
        std::string entry = "  ";
        for (std::size_t b = 0; b < kEntrySize; ++b) {
            appendHex2(entry, payload[at + b]);
            entry += ',';
        }
        line(entry + "    // " + text::dec(font.firstCode() + static_cast<int>(i)));
        if (out.size() >= kPiece) {
            put(out);
            out.clear();
        }
    }
    std::size_t at = kHeaderSize + kEntrySize * count;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const std::size_t size =
            static_cast<std::size_t>(font.FontHeight()) *
            static_cast<std::size_t>(glyphRowBytes(font.CharWidths[static_cast<std::size_t>(c)]));
        out += "  ";
        appendGlyphBytes(out, payload.data() + at, size);
        at += size;
        // The last glyph closes the list: its final comma becomes a blank.
        if (c == font.lastCode()) {
            if (size > 0)
                out.pop_back();
            out += ' ';
        }
        out += "    // " + text::dec(c) + "\r\n";
        if (out.size() >= kPiece) {
            put(out);
            out.clear();
        }
    }
    line("};");
    put(out);
}

} // namespace tesselor
