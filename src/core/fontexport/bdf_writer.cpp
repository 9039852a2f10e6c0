#include "fontexport/bdf_writer.h"

#include "platform/text.h"

#include <algorithm>
#include <map>

namespace tesselor {

namespace {

// The row under a character's lowest ink, or nothing without ink.
std::optional<int> inkBottom(const FontModel& font, int code) {
    const PixelImage& image = font.CharImages[static_cast<std::size_t>(code)];
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kBlack)
                return y + 1;
    return std::nullopt;
}

// A name inside an XLFD field: no dashes, no quotes.
std::string fieldOf(const std::string& name) {
    std::string out = name.empty() ? "Tesselor" : name;
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '-' || c == '"' || c == '\n' || c == '\r'; }, '_');
    return out;
}

} // namespace

int fontBaseline(const FontModel& font) {
    if (font.Baseline)
        return font.baselineRow() + 1;
    for (const int code : {'H', '0'})
        if (font.hasCode(code))
            if (const auto bottom = inkBottom(font, code))
                return *bottom;
    std::map<int, int> bottoms;
    for (int code = font.firstCode(); code <= font.lastCode(); ++code)
        if (const auto bottom = inkBottom(font, code))
            ++bottoms[*bottom];
    if (bottoms.empty())
        return font.FontHeight();
    return std::max_element(bottoms.begin(), bottoms.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

std::string bdfText(const FontModel& font, const CodePage& page, const std::string& name) {
    std::string text;
    writeBdfText(font, page, name, [&text](std::string_view piece) { text += piece; });
    return text;
}

void writeBdfText(const FontModel& font, const CodePage& page, const std::string& name,
                  const std::function<void(std::string_view)>& put) {
    const int width = font.FontWidth();
    const int height = font.FontHeight();
    const int ascent = fontBaseline(font);
    const int descent = height - ascent;
    const bool unicode = page.name != kFontSpecific;
    const std::string registry = unicode ? "ISO10646" : kFontSpecific;
    const std::string encoding = unicode ? "1" : "0";
    const int count = font.rangeIsEmpty() ? 0 : font.lastCode() - font.firstCode() + 1;
    int widths = 0;
    for (int code = font.firstCode(); code <= font.lastCode(); ++code)
        widths += font.CharWidths[static_cast<std::size_t>(code)];
    const int average = count == 0 ? 0 : widths * 10 / count;
    const std::string box = text::dec(width) + " " + text::dec(height) + " 0 " + text::dec(-descent);

    std::string out;
    auto line = [&out](const std::string& text) {
        out += text;
        out += '\n';
    };
    line("STARTFONT 2.1");
    line("FONT -Tesselor-" + fieldOf(name) + "-Medium-R-Normal--" + text::dec(height) + "-" +
         text::dec(height * 10) + "-72-72-P-" + text::dec(average) + "-" + registry + "-" + encoding);
    line("SIZE " + text::dec(height) + " 72 72");
    line("FONTBOUNDINGBOX " + box);
    line("STARTPROPERTIES 6");
    line("FAMILY_NAME \"" + fieldOf(name) + "\"");
    line("PIXEL_SIZE " + text::dec(height));
    line("FONT_ASCENT " + text::dec(ascent));
    line("FONT_DESCENT " + text::dec(descent));
    line("CHARSET_REGISTRY \"" + registry + "\"");
    line("CHARSET_ENCODING \"" + encoding + "\"");
    line("ENDPROPERTIES");
    line("CHARS " + text::dec(count));
    for (int code = font.firstCode(); code <= font.lastCode(); ++code) {
        const int advance = font.CharWidths[static_cast<std::size_t>(code)];
        line("STARTCHAR C" + text::hex(static_cast<std::uint64_t>(code), 4));
        if (!unicode)
            line("ENCODING " + text::dec(code));
        else if (page.hasCharacter(code))
            line("ENCODING " +
                 text::dec(static_cast<std::int64_t>(page.characters[static_cast<std::size_t>(code)])));
        else
            line("ENCODING -1 " + text::dec(code));
        line("SWIDTH " + text::dec(height == 0 ? 0 : advance * 1000 / height) + " 0");
        line("DWIDTH " + text::dec(advance) + " 0");
        line("BBX " + box);
        line("BITMAP");
        const PixelImage& image = font.CharImages[static_cast<std::size_t>(code)];
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; x += 8) {
                unsigned byte = 0;
                for (int bit = 0; bit < 8 && x + bit < width; ++bit)
                    if (image.pixel(x + bit, y) == kBlack)
                        byte |= 0x80u >> bit;
                row += text::hex(byte, 2);
            }
            line(row);
        }
        line("ENDCHAR");
        // A glyph at a time: the text is never held whole.
        put(out);
        out.clear();
    }
    line("ENDFONT");
    put(out);
}

} // namespace tesselor
