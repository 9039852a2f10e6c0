// The controller's font, read back as the FT8xx programmer guide describes the font metric block, not as
// the writer builds it: a width table of advances, then format, stride, cell width and height and the
// glyph pointer, the cell of code c at pointer + c x stride x height.
#include "fontexport/ft8xx_font.h"
#include "model/error.h"
#include "model/grey_levels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace tesselor;

namespace {

std::uint32_t word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

// What the controller draws of a text from a block loaded at `address`: one value a pixel, glyphs at the
// advances of the width table, a later glyph over an earlier one where its pixels are not 0.
std::vector<std::vector<int>> drawn(const std::vector<std::uint8_t>& bytes, std::uint32_t address,
                                    const std::vector<int>& text) {
    const std::map<std::uint32_t, int> bitsOf = {{1, 1}, {17, 2}, {2, 4}, {3, 8}};
    const int bits = bitsOf.at(word(bytes, 128));
    const std::uint32_t stride = word(bytes, 132), width = word(bytes, 136), height = word(bytes, 140);
    const std::uint32_t pointer = word(bytes, 144);
    std::vector<std::vector<int>> canvas(height, std::vector<int>(1000, 0));
    int pen = 0;
    for (const int code : text) {
        const std::size_t cell = pointer + std::uint32_t(code) * stride * height - address;
        for (std::uint32_t y = 0; y < height; ++y)
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint8_t byte = bytes.at(cell + y * stride + x * std::uint32_t(bits) / 8);
                const int shift = 8 - bits * int(x % std::uint32_t(8 / bits) + 1);
                const int value = (byte >> shift) & ((1 << bits) - 1);
                if (value != 0)
                    canvas[y][std::size_t(pen) + x] = value;
            }
        pen += bytes[std::size_t(code)];
    }
    return canvas;
}

// The same text from the font's own pixels: each glyph cut to its width, its levels at the format's bits,
// the pen moved by the width and 1, or by the space width for a glyph without ink.
std::vector<std::vector<int>> expected(const FontModel& font, int bits, int spaceWidth,
                                       const std::vector<int>& text) {
    std::vector<std::vector<int>> canvas(std::size_t(font.FontHeight()), std::vector<int>(1000, 0));
    int pen = 0;
    for (const int code : text) {
        const PixelImage& glyph = font.CharImages[std::size_t(code)];
        const int width = font.CharWidths[std::size_t(code)];
        bool ink = false;
        for (int y = 0; y < font.FontHeight(); ++y)
            for (int x = 0; x < width; ++x) {
                const int level =
                    font.Depth == 1 ? glyph.pixel(x, y) == kBlack : levelOf(glyph.pixel(x, y), font.Depth);
                const int value = convertLevel(level, font.Depth, bits);
                ink = ink || level > 0;
                if (value != 0)
                    canvas[std::size_t(y)][std::size_t(pen + x)] = value;
            }
        pen += ink ? width + 1 : spaceWidth;
    }
    return canvas;
}

// Codes 32 to 67 of a 10 x 6 cell: a space, blanks, and three glyphs of every level at the depth.
FontModel sampleFont(int depth) {
    FontModel font;
    font.Depth = depth;
    font.CellImage = PixelImage(10, 6);
    font.RangeFrom = 32;
    font.RangeTo = 67;
    for (int c = 32; c <= 67; ++c) {
        font.CharImages[std::size_t(c)] = font.CellImage;
        font.CharWidths[std::size_t(c)] = 3;
    }
    for (int c = 65; c <= 67; ++c) {
        font.CharWidths[std::size_t(c)] = std::uint8_t(c - 58);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x)
                font.CharImages[std::size_t(c)].setPixel(
                    x, y, levelColour((x * 7 + y * 3 + c) % (maxLevel(depth) + 1), depth));
    }
    return font;
}

std::string refusal(const FontModel& font, const Ft8xxFontOptions& options) {
    try {
        ft8xxFont(font, options);
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

} // namespace

// Text through the metric block equals the font's glyphs at their advances, in L1 and L4, from a 1-bit and a
// 4-bit font, with the codes from 32 or from 65, at the lowest address that works and 4 KiB above it.
TEST(Ft8xxFont, TextThroughTheMetricBlockIsTheFontsGlyphs) {
    const std::vector<int> text = {65, 32, 66, 67, 65};
    for (const int depth : {1, 4})
        for (const auto& [format, bits] : {std::pair{"L1", 1}, std::pair{"L4", 4}})
            for (const int first : {32, 65}) {
                const FontModel font = sampleFont(depth);
                const std::uint32_t stride = (10 * std::uint32_t(bits) + 7) / 8;
                const std::uint32_t before = std::uint32_t(first) * stride * 6;
                const std::uint32_t lowest = before > 148 ? (before - 148 + 3) / 4 * 4 : 0;
                for (const std::uint32_t address : {lowest, lowest + 4096}) {
                    const Ft8xxFont out = ft8xxFont(font, {format, address, first, std::nullopt, {}, {}});
                    EXPECT_EQ(out.bytes.size(), 148 + stride * 6 * std::uint32_t(68 - first));
                    const std::vector<int> shown = first == 32 ? text : std::vector<int>{65, 66, 67, 65};
                    EXPECT_EQ(drawn(out.bytes, address, shown), expected(font, bits, 2, shown))
                        << depth << " " << format << " " << first << " " << address;
                    if (address > 0) {
                        EXPECT_EQ(refusal(font, {format, address - 4, first, std::nullopt, {}, {}}).empty(),
                                  address != lowest);
                    }
                }
            }
}

// The worked example of the docs: one character of a 3 x 2 cell, L1 at address 0.
TEST(Ft8xxFont, WorkedExample) {
    FontModel font;
    font.CellImage = PixelImage(3, 2);
    font.RangeFrom = font.RangeTo = 65;
    font.CharImages[65] = PixelImage(3, 2);
    font.CharWidths[65] = 2;
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {2, 1}})
        font.CharImages[65].setPixel(x, y, kBlack); // (2, 1) is beyond the width: cut
    const Ft8xxFont out = ft8xxFont(font, {});
    std::vector<std::uint8_t> block(148, 0);
    block[65] = 3;
    for (const auto& [at, value] : {std::pair{128, 1}, {132, 1}, {136, 3}, {140, 2}, {144, 148 - 65 * 2}})
        block[std::size_t(at)] = std::uint8_t(value);
    block.push_back(0xC0);
    block.push_back(0x40);
    EXPECT_EQ(out.bytes, block);
    std::vector<std::uint8_t> item = {0, 1, 65, 65, 0, 0, 0, 0, 150, 0, 0, 0};
    item.insert(item.end(), block.begin(), block.end());
    EXPECT_EQ(ft8xxFontItemPayload(out, out.bytes, false), item);
}

TEST(Ft8xxFont, Refusals) {
    FontModel wide = sampleFont(1);
    wide.RangeTo = 130;
    for (int c = 68; c <= 130; ++c)
        wide.CharImages[std::size_t(c)] = wide.CellImage;
    FontModel spaced = sampleFont(1);
    spaced.CharWidths[66] = 255;
    const std::pair<std::pair<const FontModel*, Ft8xxFontOptions>, std::string> rows[] = {
        {{&wide, {}},
         "The controller's font holds codes up to 127; the font has 128, 129, 130: narrow it with "
         "--to 127 (or less)"},
        {{&spaced, {"L1", 632, 65}},
         "The width table holds advances up to 255; with the spacing these are wider: 66"},
        {{&spaced, {"L3"}}, "The controller's fonts are L1, L2, L4 or L8, not 'L3'"},
        {{&spaced, {"L1", 238}}, "The address 238 is not 4-byte aligned: 240 is"},
        {{&spaced, {"L1", 2}}, "The address 2 is not 4-byte aligned: 236 is"},
        {{&spaced, {"L1", 8, 65}},
         "At the address 8 the glyph pointer would be below 0 (65 cells of 12 bytes before "
         "the first): the smallest address that works is 632"},
        {{&spaced, {"L1", 630, 65}}, "The address 630 is not 4-byte aligned: 632 is"},
        {{&spaced, {"L1", 0, 30}}, "The codes 30 to 67 are not in the font's 32 to 67"},
    };
    for (const auto& [input, message] : rows)
        EXPECT_EQ(refusal(*input.first, input.second), message);
    EXPECT_EQ(refusal(wide, {"L1", 236, std::nullopt, 127}), "");
    EXPECT_EQ(refusal(spaced, {"L1", 632, 65, std::nullopt, 0}), "");
}
