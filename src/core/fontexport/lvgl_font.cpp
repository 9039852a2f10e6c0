#include "fontexport/lvgl_font.h"

#include "fontexport/glyph_box.h"
#include "model/error.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tesselor {

namespace {

constexpr const char* kEnd = "\r\n";
constexpr int kMaxBitmapIndex = (1 << 20) - 1;

void fits(int value, int low, int high, int code, const std::string& field) {
    if (value < low || value > high)
        throw Error("Character " + text::dec(code) + ": its " + field + " " + text::dec(value) +
                    " is outside the " + text::dec(low) + " to " + text::dec(high) + " an LVGL font holds");
}

struct Mapped {
    char32_t point;
    int code;
};

// The Unicode point of every code that has one, in the order of the points.
std::vector<Mapped> mappedCodes(const FontModel& font, const CodePage& page, std::vector<int>& unmapped) {
    std::vector<Mapped> mapped;
    for (int code = font.firstCode(); code <= font.lastCode(); ++code) {
        if (page.name == kFontSpecific)
            mapped.push_back({static_cast<char32_t>(code), code});
        else if (page.hasCharacter(code))
            mapped.push_back({page.characters[static_cast<std::size_t>(code)], code});
        else
            unmapped.push_back(code);
    }
    std::stable_sort(mapped.begin(), mapped.end(),
                     [](const Mapped& a, const Mapped& b) { return a.point < b.point; });
    // Two codes of one character: the first code keeps it.
    mapped.erase(std::unique(mapped.begin(), mapped.end(),
                             [](const Mapped& a, const Mapped& b) { return a.point == b.point; }),
                 mapped.end());
    return mapped;
}

std::string byteRows(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 16) {
        out += "    ";
        for (std::size_t j = i; j < bytes.size() && j < i + 16; ++j)
            out += "0x" + text::hex(bytes[j], 2) + (j + 1 < bytes.size() ? "," : "") +
                   (j + 1 < i + 16 && j + 1 < bytes.size() ? " " : "");
        out += kEnd;
    }
    return out;
}

} // namespace

std::string lvglFontSource(const FontModel& font, const CodePage& page, const std::string& symbol,
                           const Advances& advances, int version, std::vector<std::string>& warnings) {
    if (version != 8 && version != 9)
        throw Error("LVGL " + text::dec(version) + " is not written: 8 or 9");
    if (font.rangeIsEmpty())
        throw Error("The font has no characters");
    std::vector<int> unmapped;
    const std::vector<Mapped> mapped = mappedCodes(font, page, unmapped);
    if (mapped.empty())
        throw Error("No character of the font has a Unicode point in " + page.name);
    if (!unmapped.empty())
        warnings.push_back("codes without a character in " + page.name +
                           " are left out: " + text::decList(unmapped));
    const char32_t first = mapped.front().point;
    const std::uint32_t span = mapped.back().point - first + 1;
    if (span > 65535)
        throw Error("The characters run from U+" + text::hex(first, 4) + " to U+" +
                    text::hex(mapped.back().point, 4) + ": one character map spans at most 65535 points");

    const int bpp = font.Depth;
    const int baseLine = font.FontHeight() - 1 - font.baselineRow();
    std::vector<std::uint8_t> bitmap;
    std::string descriptors =
        "    {.bitmap_index = 0, .adv_w = 0, .box_w = 0, .box_h = 0, .ofs_x = 0, .ofs_y = 0}, "
        "// 0: not found";
    descriptors += kEnd;
    std::string unicodeList;
    for (std::size_t i = 0; i < mapped.size(); ++i) {
        const int code = mapped[i].code;
        const GlyphBox box = glyphBox(font, code, advances);
        fits(static_cast<int>(bitmap.size()), 0, kMaxBitmapIndex, code, "bitmap index");
        fits(box.width, 0, 255, code, "box width");
        fits(box.height, 0, 255, code, "box height");
        fits(box.advance, 0, 255, code, "advance");
        fits(box.x, -128, 127, code, "x offset");
        // The box's bottom row, counted up from the baseline.
        const int ofsY = box.height == 0 ? 0 : font.baselineRow() - (box.y + box.height - 1);
        fits(ofsY, -128, 127, code, "y offset");
        descriptors += "    {.bitmap_index = " + text::dec(static_cast<std::int64_t>(bitmap.size())) +
                       ", .adv_w = " + text::dec(box.advance * 16) + ", .box_w = " + text::dec(box.width) +
                       ", .box_h = " + text::dec(box.height) + ", .ofs_x = " + text::dec(box.x) +
                       ", .ofs_y = " + text::dec(ofsY) + "}" + (i + 1 < mapped.size() ? "," : "") + " // U+" +
                       text::hex(mapped[i].point, 4) + ", code " + codeComment(code, mapped[i].point) + kEnd;
        packLevels(box.levels, bpp, bitmap);
        unicodeList +=
            (i % 12 == 0 ? "    " : " ") + text::dec(static_cast<std::int64_t>(mapped[i].point - first)) +
            (i + 1 < mapped.size() ? "," : "") + (i % 12 == 11 || i + 1 == mapped.size() ? kEnd : "");
    }
    if (bitmap.empty())
        bitmap.push_back(0);
    const bool contiguous = span == mapped.size();

    std::string out;
    auto line = [&out](const std::string& text) { out += text + kEnd; };
    line("// Font \"" + commentText(font.FontName) + "\" for LVGL " + text::dec(version) +
         ", generated by \"Tesselor\" 1.0");
    line("// " + text::dec(static_cast<std::int64_t>(mapped.size())) + " characters from U+" +
         text::hex(first, 4) + " to U+" + text::hex(mapped.back().point, 4) + ", " + text::dec(bpp) + " bit" +
         (bpp > 1 ? "s" : "") + " a pixel, lines " + text::dec(font.FontHeight()) + " pixels apart.");
    line("// Declare it with LV_FONT_DECLARE(" + symbol + ") and give &" + symbol +
         " to a style's text font.");
    line("");
    line("#ifdef LV_LVGL_H_INCLUDE_SIMPLE");
    line("#include \"lvgl.h\"");
    line("#else");
    line("#include \"lvgl/lvgl.h\"");
    line("#endif");
    line("");
    line("static const uint8_t " + symbol + "_bitmap[] = {");
    out += byteRows(bitmap);
    line("};");
    line("");
    line("static const lv_font_fmt_txt_glyph_dsc_t " + symbol + "_glyphs[] = {");
    out += descriptors;
    line("};");
    line("");
    if (!contiguous) {
        line("static const uint16_t " + symbol + "_points[] = {");
        out += unicodeList;
        line("};");
        line("");
    }
    line("static const lv_font_fmt_txt_cmap_t " + symbol + "_cmaps[] = {");
    line("    {.range_start = " + text::dec(first) + ", .range_length = " + text::dec(span) +
         ", .glyph_id_start = 1, .unicode_list = " + (contiguous ? "NULL" : symbol + "_points") +
         ", .glyph_id_ofs_list = NULL, .list_length = " +
         text::dec(contiguous ? 0 : static_cast<std::int64_t>(mapped.size())) + ", .type = " +
         (contiguous ? "LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY" : "LV_FONT_FMT_TXT_CMAP_SPARSE_TINY") + "}");
    line("};");
    line("");
    if (version == 8) {
        line("static lv_font_fmt_txt_glyph_cache_t " + symbol + "_cache;");
        line("");
    }
    line("static const lv_font_fmt_txt_dsc_t " + symbol + "_dsc = {");
    line("    .glyph_bitmap = " + symbol + "_bitmap,");
    line("    .glyph_dsc = " + symbol + "_glyphs,");
    line("    .cmaps = " + symbol + "_cmaps,");
    line("    .kern_dsc = NULL,");
    line("    .kern_scale = 0,");
    line("    .cmap_num = 1,");
    line("    .bpp = " + text::dec(bpp) + ",");
    line("    .kern_classes = 0,");
    line("    .bitmap_format = 0,");
    if (version == 8)
        line("    .cache = &" + symbol + "_cache,");
    line("};");
    line("");
    line("const lv_font_t " + symbol + " = {");
    line("    .get_glyph_dsc = lv_font_get_glyph_dsc_fmt_txt,");
    line("    .get_glyph_bitmap = lv_font_get_bitmap_fmt_txt,");
    line("    .line_height = " + text::dec(font.FontHeight()) + ",");
    line("    .base_line = " + text::dec(baseLine) + ",");
    line("    .subpx = LV_FONT_SUBPX_NONE,");
    line("    .underline_position = " + text::dec(baseLine > 0 ? -1 : 0) + ",");
    line("    .underline_thickness = 1,");
    line("    .dsc = &" + symbol + "_dsc,");
    line("};");
    return out;
}

} // namespace tesselor
