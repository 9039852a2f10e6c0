#include "fontio/bdf_reader.h"

#include "model/error.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>

namespace tesselor {

namespace {

constexpr int kMaxWidth = 255;

// The words of a line: runs of characters other than blanks and tabs.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t')
            ++at;
        if (at > start)
            out.push_back(line.substr(start, at - start));
    }
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : lines_(text) {}

    [[noreturn]] void fail(const std::string& what) const { failAt(number_, what); }
    [[noreturn]] static void failAt(std::size_t line, const std::string& what) {
        throw Error("Line " + text::dec(static_cast<std::int64_t>(line)) + " of the BDF file: " + what);
    }
    std::size_t lineNumber() const { return number_; }

    // The next line's words; false at the end of the file.
    bool next() {
        if (number_ >= lines_.count())
            return false;
        line_ = lines_.line(++number_);
        words_ = words(line_);
        return true;
    }
    bool blank() const { return words_.empty(); }
    std::string_view keyword() const { return words_.empty() ? std::string_view() : words_[0]; }
    std::string_view line() const { return line_; }

    // Refuses a line of fewer than `count` values after its keyword.
    void needs(std::size_t count) const {
        if (words_.size() < count + 1)
            fail(std::string(keyword()) + " needs " + text::dec(static_cast<std::int64_t>(count)) +
                 " numbers, has " + text::dec(static_cast<std::int64_t>(words_.size()) - 1));
    }

    // The value `index` (from 1) of the line as a whole number within [low, high].
    long number(std::size_t index, long low, long high) const {
        needs(index);
        const std::string_view word = words_[index];
        long value = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size())
            fail("'" + std::string(word) + "' is no whole number");
        if (value < low || value > high)
            fail(std::string(keyword()) + " value " + std::string(word) + " is outside " + text::dec(low) +
                 " to " + text::dec(high));
        return value;
    }
    std::size_t count() const { return words_.size(); }

    // A property's value: the text between the quotes of a string, else the word.
    std::string value() const {
        const std::size_t quote = line_.find('"');
        if (quote == std::string_view::npos)
            return words_.size() > 1 ? std::string(words_[1]) : std::string();
        std::string out;
        for (std::size_t at = quote + 1; at < line_.size(); ++at) {
            if (line_[at] == '"') {
                if (at + 1 < line_.size() && line_[at + 1] == '"') { // "" is a quote inside the string
                    out += '"';
                    ++at;
                    continue;
                }
                break;
            }
            out += line_[at];
        }
        return out;
    }

private:
    text::Lines lines_;
    std::size_t number_ = 0;
    std::string_view line_;
    std::vector<std::string_view> words_;
};

struct Box {
    int width = 0, height = 0, xOffset = 0, yOffset = 0;
};

Box readBox(const Parser& parser) {
    parser.needs(4);
    return {static_cast<int>(parser.number(1, 0, kMaxCellSide)),
            static_cast<int>(parser.number(2, 0, kMaxCellSide)),
            static_cast<int>(parser.number(3, -kMaxCellSide, kMaxCellSide)),
            static_cast<int>(parser.number(4, -kMaxCellSide, kMaxCellSide))};
}

// One glyph from after STARTCHAR to ENDCHAR.
BdfGlyph readGlyph(Parser& parser, const Box& fontBox, int fontAdvance) {
    BdfGlyph glyph;
    Box box = fontBox;
    glyph.advance = fontAdvance;
    bool encoded = false;
    while (parser.next()) {
        const std::string_view key = parser.keyword();
        if (key == "ENCODING") {
            glyph.encoding = parser.number(1, -1, INT_MAX);
            if (glyph.encoding < 0 && parser.count() > 2)
                glyph.nonStandard = parser.number(2, 0, INT_MAX);
            encoded = true;
        } else if (key == "DWIDTH") {
            glyph.advance = static_cast<int>(parser.number(1, -kMaxCellSide, kMaxCellSide));
        } else if (key == "BBX") {
            box = readBox(parser);
        } else if (key == "BITMAP") {
            if (!encoded)
                parser.fail("the glyph has no ENCODING before its BITMAP");
            glyph.width = box.width;
            glyph.height = box.height;
            glyph.xOffset = box.xOffset;
            glyph.yOffset = box.yOffset;
            const std::size_t rowBytes = static_cast<std::size_t>((box.width + 7) / 8);
            for (int row = 0;; ++row) {
                if (!parser.next())
                    parser.fail("the file ends inside a BITMAP");
                if (parser.keyword() == "ENDCHAR") {
                    if (row != box.height)
                        parser.fail("the BITMAP has " + text::dec(row) + " rows; its BBX says " +
                                    text::dec(box.height));
                    return glyph;
                }
                if (row == box.height)
                    parser.fail("the BITMAP has more rows than its BBX says (" + text::dec(box.height) + ")");
                const std::string_view digits = parser.keyword();
                if (digits.size() < 2 * rowBytes || parser.count() != 1)
                    parser.fail("a BITMAP row of " + text::dec(box.width) + " pixels needs " +
                                text::dec(static_cast<std::int64_t>(2 * rowBytes)) + " hexadecimal digits");
                // Digits past the row's bytes (padding to 16 or 32 bits) are allowed and ignored.
                for (std::size_t i = 0; i < digits.size(); ++i)
                    if (text::hexDigit(digits[i]) < 0)
                        parser.fail("'" + std::string(digits) + "' is no hexadecimal row");
                for (std::size_t i = 0; i < rowBytes; ++i)
                    glyph.rows.push_back(static_cast<std::uint8_t>(text::hexDigit(digits[2 * i]) << 4 |
                                                                   text::hexDigit(digits[2 * i + 1])));
            }
        } else if (key == "ENDCHAR") {
            parser.fail("the glyph has no BITMAP");
        } else if (key == "STARTCHAR" || key == "ENDFONT") {
            parser.fail("ENDCHAR is missing before " + std::string(key));
        }
    }
    parser.fail("the file ends inside a glyph");
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

} // namespace

bool BdfFile::unicode() const {
    return upper(registry) == "ISO10646";
}

std::string bdfCharsetName(const std::string& registry, const std::string& encoding) {
    const std::string r = upper(registry);
    const std::string e = upper(encoding);
    const std::string number = e.starts_with("CP") ? e.substr(2) : e;
    if (r == "ISO8859")
        return "ISO-8859-" + e;
    if (r == "KOI8")
        return "KOI8-" + e;
    if (r == "MICROSOFT")
        return "windows-" + number;
    if (r == "IBM")
        return "IBM" + number;
    return registry + "-" + encoding;
}

BdfFile readBdf(std::string_view text) {
    Parser parser(text);
    BdfFile bdf;
    while (parser.next() && parser.blank()) {
    }
    if (parser.keyword() != "STARTFONT")
        parser.fail("a BDF file starts with STARTFONT");
    Box fontBox;
    int fontAdvance = 0;
    std::optional<int> ascent, descent;
    std::size_t metricsLine = 0; // where the height was last given
    bool ended = false;
    while (!ended && parser.next()) {
        const std::string_view key = parser.keyword();
        if (key == "FONTBOUNDINGBOX") {
            fontBox = readBox(parser);
            metricsLine = ascent && descent ? metricsLine : parser.lineNumber();
        } else if (key == "DWIDTH") {
            fontAdvance = static_cast<int>(parser.number(1, -kMaxCellSide, kMaxCellSide));
        } else if (key == "STARTPROPERTIES") {
            while (true) {
                if (!parser.next())
                    parser.fail("the file ends inside the properties");
                const std::string_view property = parser.keyword();
                if (property == "ENDPROPERTIES")
                    break;
                if (property == "FONT_ASCENT" || property == "FONT_DESCENT") {
                    (property == "FONT_ASCENT" ? ascent : descent) =
                        static_cast<int>(parser.number(1, -kMaxCellSide, kMaxCellSide));
                    metricsLine = parser.lineNumber();
                } else if (property == "CHARSET_REGISTRY")
                    bdf.registry = parser.value();
                else if (property == "CHARSET_ENCODING")
                    bdf.encoding = parser.value();
            }
        } else if (key == "STARTCHAR") {
            bdf.glyphs.push_back(readGlyph(parser, fontBox, fontAdvance));
        } else if (key == "ENDFONT") {
            ended = true;
        } else if (key == "ENDCHAR" || key == "BITMAP" || key == "ENDPROPERTIES") {
            parser.fail(std::string(key) + " outside its place");
        }
    }
    if (!ended)
        parser.fail("the file ends before ENDFONT");
    // Without the properties, the bounding box gives the baseline, grown to every glyph's box: a box
    // that understates them would cut rows off.
    int top = fontBox.height + fontBox.yOffset;
    int bottom = -fontBox.yOffset;
    for (const BdfGlyph& glyph : bdf.glyphs) {
        top = std::max(top, glyph.yOffset + glyph.height);
        bottom = std::max(bottom, -glyph.yOffset);
    }
    bdf.ascent = ascent.value_or(top);
    bdf.descent = descent.value_or(bottom);
    const int height = bdf.ascent + bdf.descent;
    if (height < 1 || height > kMaxCellSide)
        Parser::failAt(metricsLine, "FONT_ASCENT + FONT_DESCENT is " + text::dec(height) +
                                        "; a cell is 1 to " + text::dec(kMaxCellSide) + " pixels high");
    return bdf;
}

BdfImport importBdf(const BdfFile& bdf, const BdfCodeOf& codeOf, std::optional<int> first,
                    std::optional<int> last, const std::string& name) {
    // Each glyph's code; of two glyphs for one code, the first counts.
    std::array<const BdfGlyph*, kCharCount> byCode{};
    for (const BdfGlyph& glyph : bdf.glyphs) {
        std::optional<int> code;
        if (glyph.encoding >= 0)
            code = codeOf(glyph.encoding);
        else if (glyph.nonStandard >= 0 && glyph.nonStandard < kCharCount)
            code = static_cast<int>(glyph.nonStandard);
        if (code && *code >= 0 && *code < kCharCount && byCode[static_cast<std::size_t>(*code)] == nullptr)
            byCode[static_cast<std::size_t>(*code)] = &glyph;
    }
    int from = first.value_or(kCharCount);
    int to = last.value_or(-1);
    for (int code = 0; code < kCharCount; ++code)
        if (byCode[static_cast<std::size_t>(code)] != nullptr) {
            if (!first)
                from = std::min(from, code);
            if (!last)
                to = std::max(to, code);
        }
    bool any = false;
    for (int code = std::max(from, 0); code <= std::min(to, kCharCount - 1); ++code)
        any = any || byCode[static_cast<std::size_t>(code)] != nullptr;
    if (!any)
        throw Error("The BDF file has no glyph for the codes " + text::dec(std::max(from, 0)) + " to " +
                    text::dec(std::max(to, 0)));

    const int height = bdf.ascent + bdf.descent;
    int width = 1;
    for (int code = from; code <= to; ++code)
        if (const BdfGlyph* glyph = byCode[static_cast<std::size_t>(code)])
            width = std::max({width, glyph->advance, glyph->xOffset + glyph->width});
    width = std::min(width, kMaxCellSide);
    if (static_cast<std::int64_t>(width) * height > kMaxCellArea)
        throw Error("The cell of " + text::dec(width) + " x " + text::dec(height) +
                    " pixels is larger than the " + text::dec(kMaxCellArea) + " pixels a cell may have");

    BdfImport result;
    FontModel& font = result.imported.font;
    font.FontName = name;
    font.RangeFrom = from;
    font.RangeTo = to;
    font.CellImage = PixelImage(width, height);
    font.Baseline = std::clamp(bdf.ascent - 1, 0, std::max(height - 1, 0));
    font.CharWidths.fill(1);
    for (int code = from; code <= to; ++code) {
        PixelImage& image = font.CharImages[static_cast<std::size_t>(code)];
        image = PixelImage(width, height);
        const BdfGlyph* glyph = byCode[static_cast<std::size_t>(code)];
        auto& stored = font.CharWidths[static_cast<std::size_t>(code)];
        if (glyph == nullptr) {
            result.missingCodes.push_back(code);
            stored = 0;
            continue;
        }
        // The bitmap's bottom row lies yOffset above the baseline, which is `ascent` rows down.
        const int top = bdf.ascent - (glyph->yOffset + glyph->height);
        for (int y = 0; y < glyph->height; ++y)
            for (int x = 0; x < glyph->width; ++x)
                if (glyph->ink(x, y))
                    image.setPixel(glyph->xOffset + x, top + y, kBlack);
        const int advance = std::max(glyph->advance, 0);
        if (advance > kMaxWidth)
            result.imported.limitedCodes.push_back(code);
        stored = static_cast<std::uint8_t>(std::min(advance, kMaxWidth));
    }
    return result;
}

} // namespace tesselor
