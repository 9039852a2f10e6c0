#include "fontexport/glyph_box.h"

#include "model/error.h"
#include "model/grey_levels.h"
#include "platform/text.h"

#include <algorithm>

namespace tesselor {

GlyphBox glyphBox(const FontModel& font, int code, const Advances& advances) {
    GlyphBox box;
    box.code = code;
    box.advance = advanceOf(font, code, advances);
    const PixelImage& image = font.CharImages[static_cast<std::size_t>(code)];
    const int columns = std::min<int>(font.CharWidths[static_cast<std::size_t>(code)], font.FontWidth());
    auto level = [&](int x, int y) {
        const Colour pixel = image.pixel(x, y);
        return font.Depth <= 1 ? (pixel == kBlack ? 1 : 0) : levelOf(pixel, font.Depth);
    };
    int left = columns, right = -1, top = font.FontHeight(), bottom = -1;
    for (int y = 0; y < font.FontHeight(); ++y)
        for (int x = 0; x < columns; ++x)
            if (level(x, y) > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return box;
    box.x = left;
    box.y = top;
    box.width = right - left + 1;
    box.height = bottom - top + 1;
    box.levels.reserve(static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.height));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            box.levels.push_back(level(x, y));
    return box;
}

void checkGlyphField(int value, int low, int high, int code, const std::string& field,
                     const std::string& format) {
    if (value < low || value > high)
        throw Error("Character " + text::dec(code) + ": its " + field + " " + text::dec(value) +
                    " is outside the " + text::dec(low) + " to " + text::dec(high) + " " + format + " holds");
}

void packLevels(const std::vector<int>& levels, int bits, std::vector<std::uint8_t>& out) {
    unsigned byte = 0;
    int used = 0;
    for (const int level : levels) {
        byte = (byte << bits) | static_cast<unsigned>(level);
        used += bits;
        if (used == 8) {
            out.push_back(static_cast<std::uint8_t>(byte));
            byte = 0;
            used = 0;
        }
    }
    if (used > 0)
        out.push_back(static_cast<std::uint8_t>(byte << (8 - used)));
}

std::string cByteRows(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 16) {
        out += "    ";
        for (std::size_t j = i; j < bytes.size() && j < i + 16; ++j)
            out += "0x" + text::hex(bytes[j], 2) + (j + 1 < bytes.size() ? "," : "") +
                   (j + 1 < i + 16 && j + 1 < bytes.size() ? " " : "");
        out += "\r\n";
    }
    return out;
}

std::string codeComment(int code, char32_t character) {
    std::string comment = "0x" + text::hex(static_cast<std::uint64_t>(code), 2);
    if (character > U' ' && character < 0x7F && character != U'\\' && character != U'*' && character != U'/')
        comment += std::string(" '") + static_cast<char>(character) + "'";
    return comment;
}

std::string commentText(const std::string& name) {
    std::string out = name;
    for (char& ch : out)
        if (ch == '\\' || static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = '_';
    return out;
}

} // namespace tesselor
