// The graphics libraries' fonts (Adafruit GFX, LVGL) and the baseline they stand on: small fonts byte for
// byte, each field's limit and one past it, and the baseline through .font and the transforms. The C test
// compiles the outputs and draws text with them.
#include "editing/transforms.h"
#include "fontexport/gfx_font.h"
#include "fontexport/lvgl_font.h"
#include "fontio/font_file.h"
#include "model/error.h"
#include "model/grey_levels.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tesselor;

namespace {

FontModel blank(int width, int height, int first, int last, int depth = 1) {
    FontModel font;
    font.FontName = "t";
    font.Depth = depth;
    font.CellImage = PixelImage(width, height);
    font.RangeFrom = first;
    font.RangeTo = last;
    for (int c = first; c <= last; ++c) {
        font.CharImages[std::size_t(c)] = font.CellImage;
        font.CharWidths[std::size_t(c)] = std::uint8_t(std::min(width, 255));
    }
    return font;
}

void ink(FontModel& font, int code, int x, int y, int level = 1) {
    font.CharImages[std::size_t(code)].setPixel(x, y, levelColour(level, font.Depth));
}

CodePage latin() {
    CodePage page{"windows-1252", {}};
    for (char32_t c = 0; c < 256; ++c)
        page.characters[c] = c;
    return page;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// 'A' trimmed to its ink box, 3 x 2 standing on row 1, bits running on across rows (010 101 -> 0x54); 'B'
// without ink is a space of a third of the cell's height; the cursor stands on the row under the baseline.
TEST(GfxFont, TinyFontByteForByte) {
    FontModel font = blank(4, 3, 65, 66);
    font.Baseline = 1;
    font.CharWidths[65] = 3;
    font.CharWidths[66] = 2;
    for (auto [x, y] : {std::pair{1, 0}, {0, 1}, {2, 1}})
        ink(font, 65, x, y);
    ink(font, 65, 3, 2); // beyond its width: not drawn
    const std::string text = gfxFontHeader(font, latin(), "t.h", "tiny", controllerAdvances(font));
    EXPECT_TRUE(has(text, "#define TINY_BASELINE 2\r\n"));
    EXPECT_TRUE(has(text, "const uint8_t tinyBitmaps[] PROGMEM = {\r\n    0x54\r\n};\r\n"));
    EXPECT_TRUE(has(text, "    {     0,   3,   2,   4,    0,   -2}, // 0x41 'A'\r\n"
                          "    {     1,   0,   0,   1,    0,    0}  // 0x42 'B'\r\n"));
    EXPECT_TRUE(has(
        text, "const GFXfont tiny PROGMEM = {(uint8_t *)tinyBitmaps, (GFXglyph *)tinyGlyphs, 65, 66, 3};"));
}

// A Windows-1250 font's 0xA5 is U+0104: the map is sparse, ordered by point, glyph 0 the library's "not
// found"; levels at 4 bits (15, 8 -> 0xF8); the box's bottom counts up from the baseline; a code without a
// character is left out and named.
TEST(LvglFont, CodePageFontByUnicodePoints) {
    FontModel font = blank(2, 4, 0xA4, 0xA6, 4);
    font.Baseline = 2;
    ink(font, 0xA5, 0, 3, 15);
    ink(font, 0xA5, 1, 3, 8);
    CodePage page = latin();
    page.name = "windows-1250";
    page.characters[0xA5] = 0x0104;
    page.characters[0xA6] = 0xFFFD;
    std::vector<std::string> warnings;
    const std::string text = lvglFontSource(font, page, "cz", controllerAdvances(font, 0, 3), 9, warnings);
    EXPECT_EQ(warnings,
              std::vector<std::string>{"codes without a character in windows-1250 are left out: 166"});
    EXPECT_TRUE(has(text, "static const uint8_t cz_bitmap[] = {\r\n    0xF8\r\n};"));
    EXPECT_TRUE(has(
        text,
        "{.bitmap_index = 0, .adv_w = 0, .box_w = 0, .box_h = 0, .ofs_x = 0, .ofs_y = 0}, // 0: not found\r\n"
        "    {.bitmap_index = 0, .adv_w = 48, .box_w = 0, .box_h = 0, .ofs_x = 0, .ofs_y = 0}, // U+00A4, "
        "code 0xA4\r\n"
        "    {.bitmap_index = 0, .adv_w = 32, .box_w = 2, .box_h = 1, .ofs_x = 0, .ofs_y = -1} // U+0104, "
        "code 0xA5\r\n"));
    EXPECT_TRUE(has(text, "static const uint16_t cz_points[] = {\r\n    0, 96\r\n};"));
    EXPECT_TRUE(
        has(text, "{.range_start = 164, .range_length = 97, .glyph_id_start = 1, .unicode_list = cz_points, "
                  ".glyph_id_ofs_list = NULL, .list_length = 2, .type = LV_FONT_FMT_TXT_CMAP_SPARSE_TINY}"));
    EXPECT_TRUE(has(text, "    .bpp = 4,\r\n"));
    EXPECT_TRUE(has(text, "    .line_height = 4,\r\n    .base_line = 1,\r\n"));
    EXPECT_FALSE(has(text, "cache"));
    EXPECT_TRUE(has(lvglFontSource(font, page, "cz", {}, 8, warnings),
                    "static lv_font_fmt_txt_glyph_cache_t cz_cache;\r\n"));
}

// Every field at its limit is written and one past it is refused, naming the character.
TEST(LibraryFonts, FieldLimits) {
    using Make = std::function<std::string()>;
    const auto gfx = [](const FontModel& font, int spacing = 1) {
        return [font, spacing] {
            return gfxFontHeader(font, latin(), "f.h", "f", controllerAdvances(font, spacing));
        };
    };
    const auto lvgl = [](const FontModel& font, int spacing = 1) {
        return [font, spacing] {
            std::vector<std::string> warnings;
            return lvglFontSource(font, latin(), "f", controllerAdvances(font, spacing), 9, warnings);
        };
    };
    // Glyphs of 255 x 255 pixels of full ink, at a depth, reaching 128 rows above the baseline.
    const auto solid = [](int count, int depth) {
        FontModel font = blank(255, 255, 65, 64 + count, depth);
        font.Baseline = 127;
        for (int c = 65; c < 65 + count; ++c)
            font.CharImages[std::size_t(c)].fillAll(levelColour(maxLevel(depth), depth));
        return font;
    };
    const auto inkAt = [](int width, int height, int x, int y, std::optional<int> baseline = std::nullopt) {
        FontModel font = blank(width, height, 65, 65);
        ink(font, 65, x, y);
        font.Baseline = baseline;
        return font;
    };
    FontModel tall = blank(1, 256, 65, 65);
    tall.CharImages[65].fillAll(kBlack);
    FontModel tallest = blank(1, 255, 65, 65);
    tallest.CharImages[65].fillAll(kBlack);
    tallest.Baseline = 127; // the box's top 128 rows above the cursor
    struct Case {
        const char* what;
        Make make;
        const char* refusal; // nothing: written
    };
    const Case cases[] = {
        {"GFX offset 65032", gfx(solid(9, 1), 0), nullptr},
        {"GFX offset 73161", gfx(solid(10, 1), 0),
         "Character 74: its bitmap offset 73161 is outside the 0 to 65535 an Adafruit GFX font holds"},
        {"GFX advance 255", gfx(inkAt(254, 1, 0, 0)), nullptr},
        {"GFX advance 256", gfx(inkAt(255, 1, 0, 0)),
         "Character 65: its advance 256 is outside the 0 to 255 an Adafruit GFX font holds"},
        {"GFX x offset 127", gfx(inkAt(128, 1, 127, 0), 0), nullptr},
        {"GFX x offset 128", gfx(inkAt(129, 1, 128, 0), 0),
         "Character 65: its x offset 128 is outside the -128 to 127 an Adafruit GFX font holds"},
        {"GFX y offset -128", gfx(inkAt(1, 200, 0, 0, 127)), nullptr},
        {"GFX y offset -129", gfx(inkAt(1, 200, 0, 0, 128)),
         "Character 65: its y offset -129 is outside the -128 to 127 an Adafruit GFX font holds"},
        {"GFX line 255", gfx(tallest), nullptr},
        {"GFX line 256", gfx(tall),
         "The cell is 256 pixels high: an Adafruit GFX font's line (yAdvance) is at most 255"},
        {"LVGL index 1040400", lvgl(solid(17, 8), 0), nullptr},
        {"LVGL index 1105425", lvgl(solid(18, 8), 0),
         "Character 82: its bitmap index 1105425 is outside the 0 to 1048575 an LVGL font holds"},
        {"LVGL advance 256", lvgl(inkAt(255, 1, 0, 0)),
         "Character 65: its advance 256 is outside the 0 to 255 an LVGL font holds"},
        {"LVGL box height 255", lvgl(tallest), nullptr},
        {"LVGL box height 256", lvgl(tall),
         "Character 65: its box height 256 is outside the 0 to 255 an LVGL font holds"},
        {"LVGL y offset 127", lvgl(inkAt(1, 201, 0, 73, 200)), nullptr},
        {"LVGL y offset 128", lvgl(inkAt(1, 201, 0, 72, 200)),
         "Character 65: its y offset 128 is outside the -128 to 127 an LVGL font holds"},
        {"LVGL x offset 128", lvgl(inkAt(129, 1, 128, 0), 0),
         "Character 65: its x offset 128 is outside the -128 to 127 an LVGL font holds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.make();
            EXPECT_EQ(c.refusal, nullptr);
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.refusal);
        }
    }
}

// The baseline is written after the last record only when the font has one, reads back, and a row outside
// the cell is refused by its line; moving all characters up or down moves it.
TEST(Baseline, FontFileAndTransforms) {
    FontModel font = blank(2, 3, 65, 65, 4);
    EXPECT_FALSE(has(text::joinLinesCrLf(writeFontFile(font)), "Baseline"));
    EXPECT_EQ(font.baselineRow(), 2);
    font.Baseline = 1;
    const std::string file = text::joinLinesCrLf(writeFontFile(font));
    EXPECT_TRUE(file.ends_with("Depth:4\r\nBaseline:1\r\n"));
    EXPECT_EQ(readFontFile(file, FontModel{}, FontReading::Strict).Baseline, 1);
    for (const char* row : {"3", "-1"}) {
        std::string bad = file;
        bad.replace(bad.find("Baseline:1"), 10, std::string("Baseline:") + row);
        try {
            readFontFile(bad, FontModel{});
            ADD_FAILURE() << row;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Line 12: the baseline " + std::string(row) + " is outside the cell's rows 0 to 2");
        }
    }
    EXPECT_EQ(moveAllChars(font, Direction::Down), Refusal::None);
    EXPECT_EQ(font.Baseline, 2);
    EXPECT_EQ(moveAllChars(font, Direction::Up), Refusal::None);
    EXPECT_EQ(moveAllChars(font, Direction::Up), Refusal::None);
    EXPECT_EQ(font.Baseline, 0);
    addRow(font); // a row added under the characters leaves them standing where they were
    EXPECT_EQ(font.baselineRow(), 0);
}
