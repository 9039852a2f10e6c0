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
    std::vector<std::pair<int, std::pair<int, int>>> calls; // code, (x, y)

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
    DecodedImage decode(const std::string& path) override {
        if (broken.count(path))
            throw Error("Cannot decode '" + path + "' as a bitmap");
        return {files.at(path), {}};
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

TEST(ImportSystemFont, MeasuresTheCellAndDrawsAtOneZero) {
    FakeRasteriser r = sampleRasteriser();
    const ImportedFont imported = importSystemFont(r, 65, 66, false, "Kept");
    const FontModel& font = imported.font;
    // Widest box 7 (MaxX 6) plus 5 by the line height 5.
    EXPECT_EQ(font.FontWidth(), 12);
    EXPECT_EQ(font.FontHeight(), 5);
    EXPECT_EQ(font.RangeFrom, 65);
    EXPECT_EQ(font.RangeTo, 66);
    EXPECT_EQ(font.FontName, "Kept");
    // Measuring at (0, 0) white on black, then drawing at (1, 0) black on white.
    ASSERT_EQ(r.calls.size(), 4u);
    EXPECT_EQ(r.calls[0], (std::pair{65, std::pair{0, 0}}));
    EXPECT_EQ(r.calls[2], (std::pair{65, std::pair{1, 0}}));
    // Without the option the ink keeps its bearing plus the one-pixel offset.
    EXPECT_EQ(font.CharImages[65].pixel(2, 1), kWhite);
    EXPECT_EQ(font.CharImages[65].pixel(3, 1), kBlack);
    EXPECT_EQ(font.CharImages[65].pixel(2, 2), kBlack);
    EXPECT_EQ(font.CharWidths[65], 5);
    EXPECT_EQ(font.CharWidths[66], 7);
    EXPECT_EQ(font.CharImages[66].width(), 12);
    EXPECT_EQ(font.CharWidths[67], 1);     // outside the range: 1
    EXPECT_EQ(font.CellImage.width(), 12); // left holding the last character drawn
    EXPECT_EQ(font.CellImage.pixel(2, 4), kBlack);
    EXPECT_TRUE(imported.limitedCodes.empty());
}

TEST(ImportSystemFont, RemoveLeftBlankMovesInkToColumnZero) {
    FakeRasteriser r = sampleRasteriser();
    const FontModel font = importSystemFont(r, 65, 66, true, "").font;
    EXPECT_EQ(font.CharImages[65].pixel(0, 2), kBlack);
    EXPECT_EQ(font.CharImages[65].pixel(1, 1), kBlack);
    EXPECT_EQ(font.CharImages[65].pixel(1, 2), kWhite);
    EXPECT_EQ(font.CharWidths[65], 3);
    EXPECT_EQ(font.CharWidths[66], 5);
}

TEST(ImportSystemFont, BlankCharacterHasWidthOneEitherWay) {
    for (bool option : {false, true}) {
        FakeRasteriser r = sampleRasteriser();
        const FontModel font = importSystemFont(r, 32, 32, option, "").font;
        EXPECT_EQ(font.CharWidths[32], 1);
        EXPECT_EQ(font.CharImages[32], PixelImage(7, 5, kWhite));
    }
}

TEST(ImportSystemFont, InvertedRangeDrawsTheFirstCodeInASixByOneCell) {
    FakeRasteriser r = sampleRasteriser();
    const FontModel font = importSystemFont(r, 100, 50, false, "").font;
    EXPECT_EQ(font.FontWidth(), 6);
    EXPECT_EQ(font.FontHeight(), 1);
    EXPECT_EQ(font.RangeFrom, 100);
    EXPECT_EQ(font.RangeTo, 100);
    ASSERT_EQ(r.calls.size(), 1u); // no measuring, one drawing
    EXPECT_EQ(r.calls[0].first, 100);
}

TEST(ImportSystemFont, OneCharacterRange) {
    FakeRasteriser r = sampleRasteriser();
    const FontModel font = importSystemFont(r, 65, 65, false, "").font;
    EXPECT_EQ(font.RangeFrom, 65);
    EXPECT_EQ(font.RangeTo, 65);
    EXPECT_EQ(font.FontWidth(), 10);
}

TEST(ImportSystemFont, BoxesAreMeasuredUpTo300PixelsAndWidthsAreLimitedTo255) {
    FakeRasteriser r;
    r.height = 400;
    r.glyphs[87] = {400, {".", "." + std::string(399, '#')}};
    const ImportedFont imported = importSystemFont(r, 87, 87, false, "");
    EXPECT_EQ(imported.font.FontWidth(), 305);
    EXPECT_EQ(imported.font.FontHeight(), 300);
    EXPECT_EQ(imported.font.CharWidths[87], 255);
    EXPECT_EQ(imported.limitedCodes, std::vector<int>{87});
}

TEST(StoreImportedChar, InkAtColumnZeroKeepsItsPlaceWithOrWithoutTheOption) {
    for (bool option : {false, true}) {
        ImportedFont imported;
        imported.font.CellImage = charImage(6, 3, {{0, 0}, {3, 2}});
        StoreImportedChar(imported, 70, option);
        EXPECT_EQ(imported.font.CharWidths[70], 4);
        EXPECT_EQ(imported.font.CharImages[70].pixel(0, 0), kBlack);
        EXPECT_EQ(imported.font.CharImages[70].pixel(3, 2), kBlack);
    }
}

TEST(StoreImportedChar, ColouredInkIsMeasuredAndKept) {
    ImportedFont imported;
    imported.font.CellImage = charImage(6, 3, {{2, 1}, {4, 1}}, 0x0000FF);
    imported.font.CharWidths[70] = 1;
    StoreImportedChar(imported, 70, true);
    EXPECT_EQ(imported.font.CharWidths[70], 3);
    EXPECT_EQ(imported.font.CharImages[70].pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(imported.font.CharImages[70].pixel(2, 1), 0x0000FFu);
    EXPECT_EQ(imported.font.CharImages[70].pixel(4, 1), kWhite);
}

TEST(ImportBmpChars, TenDigitsOfOneSize) {
    FakeDecoder decoder;
    for (int c = 48; c <= 57; ++c)
        decoder.files["/chars/" + std::to_string(c) + ".bmp"] =
            charImage(8, 12, {{1, 1}, {c - 48 < 7 ? c - 47 : 6, 5}});
    const BmpCharsImport result = importFrom(decoder);
    ASSERT_TRUE(result.found);
    const FontModel& font = result.imported.font;
    EXPECT_EQ(font.RangeFrom, 48);
    EXPECT_EQ(font.RangeTo, 57);
    EXPECT_EQ(font.FontWidth(), 8);
    EXPECT_EQ(font.FontHeight(), 12);
    EXPECT_EQ(font.CharWidths[48], 2);
    EXPECT_EQ(font.CharWidths[57], 7);
    EXPECT_EQ(font.FontName, "Name");
}

TEST(ImportBmpChars, GapsBecomeWhiteCharactersOfWidthOne) {
    FakeDecoder decoder;
    decoder.files["/chars/65.bmp"] = charImage(5, 7, {{2, 2}});
    decoder.files["/chars/67.BMP"] = charImage(5, 7, {{3, 3}}); // upper-case extension found too
    const FontModel font = importFrom(decoder).imported.font;
    EXPECT_EQ(font.RangeFrom, 65);
    EXPECT_EQ(font.RangeTo, 67);
    EXPECT_EQ(font.CharWidths[66], 1);
    EXPECT_EQ(font.CharImages[66], PixelImage(5, 7, kWhite));
    EXPECT_EQ(font.CharWidths[67], 4);
}

TEST(ImportBmpChars, CodesOutside32To255AreIgnored) {
    FakeDecoder decoder;
    decoder.files["/chars/10.bmp"] = charImage(5, 7, {{2, 2}});
    decoder.files["/chars/300.bmp"] = charImage(5, 7, {{2, 2}});
    const BmpCharsImport result = importFrom(decoder);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.imported.font.RangeFrom, 65535);
    EXPECT_EQ(result.imported.font.RangeTo, 0);
    EXPECT_EQ(result.imported.font.CharWidths[65], 1);
}

TEST(ImportBmpChars, MixedSizesGetTheLargestCell) {
    FakeDecoder decoder;
    decoder.files["/chars/65.bmp"] = charImage(8, 12, {{7, 11}});
    decoder.files["/chars/66.bmp"] = charImage(10, 9, {{9, 0}});
    const FontModel font = importFrom(decoder).imported.font;
    EXPECT_EQ(font.FontWidth(), 10);
    EXPECT_EQ(font.FontHeight(), 12);
    for (int c : {65, 66}) {
        EXPECT_EQ(font.CharImages[static_cast<std::size_t>(c)].width(), 10);
        EXPECT_EQ(font.CharImages[static_cast<std::size_t>(c)].height(), 12);
    }
    EXPECT_EQ(font.CharImages[65].pixel(7, 11), kBlack);
    EXPECT_EQ(font.CharImages[66].pixel(9, 0), kBlack);
    EXPECT_EQ(font.CharWidths[65], 8);
    EXPECT_EQ(font.CharWidths[66], 10);
}

TEST(ImportBmpChars, AnUndecodableFileEndsTheImport) {
    FakeDecoder decoder;
    decoder.files["/chars/65.bmp"] = charImage(5, 7, {});
    decoder.broken.insert("/chars/66.bmp");
    EXPECT_THROW(importFrom(decoder), Error);
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

TEST(ImportBmpChars, WideFilesHaveTheirWidthsLimited) {
    FakeDecoder decoder;
    decoder.files["/chars/65.bmp"] = charImage(300, 2, {{299, 1}});
    const BmpCharsImport result = importFrom(decoder);
    EXPECT_EQ(result.imported.font.CharWidths[65], 255);
    EXPECT_EQ(result.imported.limitedCodes, std::vector<int>{65});
}
