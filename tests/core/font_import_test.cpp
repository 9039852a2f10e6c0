#include "bmp_writer.h"
#include "fontio/font_import.h"
#include "model/error.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tesselor;

namespace {

// Glyphs as rows of '#' (ink) and '.' inside a box; `advance` and the row count make the box.
struct FakeGlyph {
    int advance = 0;
    std::vector<std::string> rows;
};

class FakeRasteriser : public Rasteriser {
public:
    std::map<int, FakeGlyph> glyphs;
    int height = 4;
    int ascentRows = 3;
    std::vector<std::pair<int, std::pair<int, int>>> calls; // code, (x, y)

    int ascent() const override { return ascentRows; }

    void drawChar(PixelImage& image, int code, int x, int y, Colour text, Colour background) override {
        calls.push_back({code, {x, y}});
        const FakeGlyph glyph = glyphs.count(code) ? glyphs.at(code) : FakeGlyph{3, {}};
        for (int by = 0; by < height; ++by) {
            for (int bx = 0; bx < glyph.advance; ++bx) {
                const bool ink = by < static_cast<int>(glyph.rows.size()) &&
                                 bx < static_cast<int>(glyph.rows[by].size()) && glyph.rows[by][bx] == '#';
                image.setPixel(x + bx, y + by, ink ? text : background);
            }
        }
    }
};

FakeRasteriser sampleRasteriser() {
    FakeRasteriser r;
    // Like real glyphs, the boxes have a blank top row and a blank left column.
    r.height = 5;
    r.glyphs[65] = {5, {".....", "..#..", ".#.#.", ".###.", ".#.#."}};
    r.glyphs[66] = {7, {".......", ".####..", ".#...#.", ".####..", ".#####."}};
    r.glyphs[32] = {2, {}};
    return r;
}

class FakeDecoder : public ImageDecoder {
public:
    std::map<std::string, PixelImage> files;
    std::set<std::string> broken;
    using ImageDecoder::decode;
    DecodedImage decode(const std::string& path, const Progress&) override {
        if (broken.count(path))
            throw Error("Cannot decode '" + path + "' as a bitmap");
        return {ownedRows(files.at(path)), "", {}};
    }
    bool exists(const std::string& path) const { return files.count(path) || broken.count(path); }
};

PixelImage charImage(int width, int height, std::vector<std::pair<int, int>> ink, Colour colour = kBlack) {
    PixelImage image(width, height);
    for (auto [x, y] : ink)
        image.setPixel(x, y, colour);
    return image;
}

BmpCharsImport importFrom(FakeDecoder& decoder, bool removeLeftBlank = false) {
    return importBmpChars(
        "/chars", decoder, [&](const std::string& p) { return decoder.exists(p); }, removeLeftBlank, "Name");
}

} // namespace

TEST(FontLabel, StyleWords) {
    EXPECT_EQ(fontLabel("Arial", 12, {}), "Arial 12 Regular");
    EXPECT_EQ(fontLabel("Arial", 12, {true, false, false, false}), "Arial 12 Bold");
    EXPECT_EQ(fontLabel("Arial", 12, {false, true, false, false}), "Arial 12 Italic");
    EXPECT_EQ(fontLabel("Arial", 12, {true, true, false, false}), "Arial 12 Bold_Italic");
    EXPECT_EQ(fontLabel("Arial", 12, {false, false, true, false}), "Arial 12 ");
    EXPECT_EQ(fontLabel("Arial", 12, {true, false, false, true}), "Arial 12 ");
}

// The cell is the widest box plus 5 by the line height; each character is measured at (0, 0) white on
// black, then drawn at (1, 0) black on white; its width runs to its rightmost ink.
TEST(ImportSystemFont, MeasuresTheCellAndDrawsAtOneZero) {
    FakeRasteriser r = sampleRasteriser();
    const ImportedFont imported = importSystemFont(r, 65, 66, false, "Kept");
    const FontModel& font = imported.font;
    EXPECT_EQ(font.FontWidth() * 100 + font.FontHeight(), 1205);
    EXPECT_EQ(font.FontName, "Kept");
    EXPECT_EQ(r.calls, (std::vector<std::pair<int, std::pair<int, int>>>{
                           {65, {0, 0}}, {66, {0, 0}}, {65, {1, 0}}, {66, {1, 0}}}));
    EXPECT_EQ(font.CharImages[65].pixel(2, 1), kWhite);
    EXPECT_EQ(font.CharImages[65].pixel(3, 1), kBlack);
    EXPECT_EQ(font.CharWidths[65], 5);
    EXPECT_EQ(font.CharWidths[66], 7);
    EXPECT_EQ(font.CharWidths[67], 1);             // outside the range
    EXPECT_EQ(font.CellImage.pixel(2, 4), kBlack); // left holding the last character drawn
    EXPECT_EQ(font.Baseline, 2);                   // the row above the ascent's end
    // With Remove Left Blank the ink starts in column 0 and the width is the ink's.
    FakeRasteriser again = sampleRasteriser();
    const FontModel moved = importSystemFont(again, 65, 66, true, "").font;
    EXPECT_EQ(moved.CharImages[65].pixel(0, 2), kBlack);
    EXPECT_EQ(moved.CharImages[65].pixel(1, 2), kWhite);
    EXPECT_EQ(moved.CharWidths[65] * 10 + moved.CharWidths[66], 35);
}

TEST(ImportSystemFont, EdgeRanges) {
    for (bool option : {false, true}) { // a blank character has width 1 either way
        FakeRasteriser r = sampleRasteriser();
        const FontModel font = importSystemFont(r, 32, 32, option, "").font;
        EXPECT_EQ(font.CharWidths[32], 1);
        EXPECT_EQ(font.CharImages[32], PixelImage(7, 5, kWhite));
    }
    FakeRasteriser r = sampleRasteriser(); // an inverted range draws the first code in a 6 x 1 cell
    const FontModel inverted = importSystemFont(r, 100, 50, false, "").font;
    EXPECT_EQ(inverted.FontWidth() * 100 + inverted.FontHeight(), 601);
    EXPECT_EQ(inverted.RangeFrom * 1000 + inverted.RangeTo, 100100);
    EXPECT_EQ(r.calls.size(), 1u);
}

// Boxes are measured up to 300 pixels; widths are limited to 255 and reported, 255 itself is not.
TEST(ImportSystemFont, WidthsAreLimitedTo255) {
    FakeRasteriser r;
    r.height = 400;
    r.glyphs[87] = {400, {".", "." + std::string(399, '#')}};
    r.glyphs[88] = {300, {".", std::string(253, '.') + "#"}}; // drawn at x + 1: width 255
    const ImportedFont imported = importSystemFont(r, 87, 88, false, "");
    EXPECT_EQ(imported.font.FontWidth() * 1000 + imported.font.FontHeight(), 305300);
    EXPECT_EQ(imported.font.CharWidths[87], 255);
    EXPECT_EQ(imported.font.CharWidths[88], 255);
    EXPECT_EQ(imported.limitedCodes, std::vector<int>{87});
}

// Ink at column 0 keeps its place with or without the option; coloured ink is measured and kept.
TEST(StoreImportedChar, InkOfAnyColour) {
    for (bool option : {false, true}) {
        ImportedFont imported;
        imported.font.CellImage = charImage(6, 3, {{0, 0}, {3, 2}});
        StoreImportedChar(imported, 70, option);
        EXPECT_EQ(imported.font.CharWidths[70], 4);
        EXPECT_EQ(imported.font.CharImages[70].pixel(3, 2), kBlack);
    }
    ImportedFont imported;
    imported.font.CellImage = charImage(6, 3, {{2, 1}, {4, 1}}, 0x0000FF);
    StoreImportedChar(imported, 70, true);
    EXPECT_EQ(imported.font.CharWidths[70], 3);
    EXPECT_EQ(imported.font.CharImages[70].pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(imported.font.CharImages[70].pixel(4, 1), kWhite);
}

// The files 32 to 255 (".bmp" or ".BMP") make the range; gaps are white of width 1; smaller characters
// are enlarged to the widest and the tallest; 31 and 256 are no characters.
TEST(ImportBmpChars, RangeGapsAndSizes) {
    FakeDecoder decoder;
    decoder.files["/chars/31.bmp"] = charImage(2, 2, {{1, 1}});
    decoder.files["/chars/32.bmp"] = charImage(8, 12, {{7, 11}});
    decoder.files["/chars/254.BMP"] = charImage(10, 9, {{9, 0}});
    decoder.files["/chars/255.bmp"] = charImage(5, 7, {{2, 2}});
    decoder.files["/chars/256.bmp"] = charImage(2, 2, {{1, 1}});
    const BmpCharsImport result = importFrom(decoder);
    ASSERT_TRUE(result.found);
    const FontModel& font = result.imported.font;
    EXPECT_EQ(font.RangeFrom * 1000 + font.RangeTo, 32255);
    EXPECT_EQ(font.FontWidth() * 100 + font.FontHeight(), 1012);
    EXPECT_EQ(font.Baseline, 11); // the bottom row of the tallest file
    EXPECT_EQ(font.CharImages[255].width() * 100 + font.CharImages[255].height(), 1012);
    EXPECT_EQ(font.CharImages[32].pixel(7, 11), kBlack);
    EXPECT_EQ(std::vector<int>(
                  {font.CharWidths[32], font.CharWidths[100], font.CharWidths[254], font.CharWidths[255]}),
              std::vector<int>({8, 1, 10, 3}));
    EXPECT_EQ(font.CharImages[100], PixelImage(10, 12, kWhite));
    EXPECT_EQ(font.FontName, "Name");

    FakeDecoder outside;
    outside.files["/chars/31.bmp"] = charImage(5, 7, {{2, 2}});
    outside.files["/chars/256.bmp"] = charImage(5, 7, {{2, 2}});
    EXPECT_FALSE(importFrom(outside).found);
    FakeDecoder broken;
    broken.files["/chars/65.bmp"] = charImage(5, 7, {});
    broken.broken.insert("/chars/66.bmp");
    EXPECT_THROW(importFrom(broken), Error);
}

// The cell is the widest file by the tallest: the limit holds for that cell, and names the file that
// crossed it.
TEST(ImportBmpChars, TheCellOfAllFilesIsBounded) {
    struct Case {
        std::vector<std::pair<int, int>> sizes; // of 65.bmp, 66.bmp, ...
        const char* refused;                    // the file named, or nothing
    };
    const Case cases[] = {
        {{{512, 512}}, nullptr},
        {{{513, 512}}, "/chars/65.bmp"},
        {{{512, 1}, {1, 512}}, nullptr},
        {{{4096, 1}, {1, 64}}, nullptr},
        {{{4096, 1}, {1, 65}}, "/chars/66.bmp"},
        {{{4097, 1}}, "/chars/65.bmp"},
        {{{1, 4096}, {64, 1}, {65, 1}}, "/chars/67.bmp"},
    };
    for (const Case& c : cases) {
        FakeDecoder decoder;
        for (std::size_t i = 0; i < c.sizes.size(); ++i)
            decoder.files["/chars/" + std::to_string(65 + i) + ".bmp"] =
                PixelImage(c.sizes[i].first, c.sizes[i].second);
        std::string error;
        try {
            importFrom(decoder);
        } catch (const Error& e) {
            error = e.what();
        }
        if (c.refused)
            EXPECT_TRUE(error.starts_with("The character file '" + std::string(c.refused) + "'")) << error;
        else
            EXPECT_EQ(error, "");
    }
}

// A blank font: white cells for the codes asked, each as wide as the cell up to the 255 a width holds.
TEST(BlankFont, CellsAndWidthsAtTheirLimits) {
    const struct {
        int width, height, first, last, expectedWidth;
    } rows[] = {{1, 1, 0, 255, 1}, {255, 2, 65, 65, 255}, {256, 2, 65, 66, 255}, {512, 512, 32, 32, 255}};
    for (const auto& row : rows) {
        const FontModel font = blankFont(row.width, row.height, row.first, row.last);
        EXPECT_EQ(font.CellImage, PixelImage(row.width, row.height, kWhite));
        for (int c = 0; c < kCharCount; ++c) {
            const bool inRange = c >= row.first && c <= row.last;
            EXPECT_EQ(font.CharImages[std::size_t(c)], inRange ? font.CellImage : PixelImage()) << c;
            EXPECT_EQ(font.CharWidths[std::size_t(c)], inRange ? row.expectedWidth : 0) << c;
        }
    }
}
