#include "fontio/font_file.h"

#include "model/code_page.h"
#include "model/error.h"
#include "model/grey_levels.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <limits>

namespace tesselor {

namespace {

constexpr std::string_view kFontNameKey = "FontName:";
constexpr std::string_view kFontWidthKey = "FontWidth:";
constexpr std::string_view kFontHeightKey = "FontHeight:";
constexpr std::string_view kRangeFromKey = "RangeFrom:";
constexpr std::string_view kRangeToKey = "RangeTo:";
constexpr std::string_view kCharKey = "Char:";
// After the last record, and only for a code page other than the default, so that fonts in the default
// keep their bytes and readers that know no code page skip it.
constexpr std::string_view kCodePageKey = "CodePage:";
// After the last record too, only for a font of grey levels: its rows then hold a hexadecimal level a pixel
// (two digits at depth 8).
constexpr std::string_view kDepthKey = "Depth:";
// After the last record too, only for a font that has one: the row its characters stand on.
constexpr std::string_view kBaselineKey = "Baseline:";
constexpr std::string_view kWidthKey = "  Width:";
constexpr std::string_view kBitMapKey = "    BitMap:";
constexpr std::string_view kRowIndent = "           ";
constexpr std::size_t kRowIndentLength = 11;

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

class Reader {
public:
    explicit Reader(std::string_view data) : lines_(data) {}

    // Line numbers count from 1, as a user sees them in an editor.
    std::string_view line(std::size_t number) {
        if (number > lines_.count())
            throw Error("Line " + text::dec(static_cast<std::int64_t>(number)) +
                        " is missing: the file ends inside the font");
        return lines_.line(number);
    }
    bool has(std::size_t number) const { return number <= lines_.count(); }
    std::size_t count() const { return lines_.count(); }

    std::int32_t integer(std::size_t number) {
        const std::string_view text = line(number);
        const std::string_view value = text.substr(text.find(':') + 1);
        const auto parsed = parseFontInteger(value);
        if (!parsed)
            throw Error("Line " + text::dec(static_cast<std::int64_t>(number)) + ": the value " +
                        quoted(value) + " is not a valid number");
        return *parsed;
    }

    std::int32_t code(std::size_t number, const char* what) {
        const std::int32_t value = integer(number);
        if (value < 0 || value >= kCharCount)
            throw Error("Line " + text::dec(static_cast<std::int64_t>(number)) + ": the " + what + " " +
                        text::dec(value) + " is outside 0 to 255");
        return value;
    }

    std::int32_t side(std::size_t number, const char* what) {
        const std::int32_t value = integer(number);
        if (value < 0)
            throw Error("Line " + text::dec(static_cast<std::int64_t>(number)) + ": the " + what + " " +
                        text::dec(value) + " is negative");
        if (value > kMaxCellSide)
            throw Error("Line " + text::dec(static_cast<std::int64_t>(number)) + ": the " + what + " " +
                        text::dec(value) + " is larger than " + text::dec(kMaxCellSide));
        return value;
    }

private:
    text::Lines lines_;
};

bool startsWith(std::string_view line, std::string_view key) {
    return line.starts_with(key);
}

bool isTrailer(std::string_view line) {
    return startsWith(line, kCodePageKey) || startsWith(line, kDepthKey) || startsWith(line, kBaselineKey);
}

// The depth, from the lines after the last record: the rows before it are read at that depth.
int trailerDepth(Reader& reader) {
    for (std::size_t i = reader.count(); i >= 6 && isTrailer(reader.line(i)); --i) {
        if (!startsWith(reader.line(i), kDepthKey))
            continue;
        const std::int32_t depth = reader.integer(i);
        if (!isFontDepth(depth))
            throw Error("Line " + text::dec(static_cast<std::int64_t>(i)) + ": the depth " +
                        text::dec(depth) + " is none of 1, 2, 4 and 8");
        return depth;
    }
    return 1;
}

// One row of a grey font: a hexadecimal level a pixel, two digits at depth 8; a row cut short is paper.
void readGreyRow(std::string_view row, std::size_t lineNumber, int depth, int y, PixelImage& image) {
    const std::size_t digits = depth == 8 ? 2 : 1;
    for (int x = 0; x < image.width(); ++x) {
        const std::string_view level =
            row.substr(std::min(row.size(), static_cast<std::size_t>(x) * digits), digits);
        int value = 0;
        for (const char digit : level) {
            const int nibble = text::hexDigit(digit);
            value = value * 16 + nibble;
            if (nibble < 0 || value > maxLevel(depth))
                throw Error("Line " + text::dec(static_cast<std::int64_t>(lineNumber)) + ": " +
                            quoted(level) + " is no level of a " + text::dec(depth) + "-bit font");
        }
        image.setPixel(x, y, levelColour(value, depth));
    }
}

} // namespace

std::optional<std::int32_t> parseFontInteger(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && value[i] == ' ')
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    bool hexadecimal = false;
    if (i < value.size() && (value[i] == '$' || value[i] == 'x' || value[i] == 'X')) {
        hexadecimal = true;
        ++i;
    } else if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
        hexadecimal = true;
        i += 2;
    }
    if (i >= value.size())
        return std::nullopt;

    std::int64_t magnitude = 0;
    for (; i < value.size(); ++i) {
        const int digit = hexadecimal ? text::hexDigit(value[i])
                                      : (value[i] >= '0' && value[i] <= '9' ? value[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * (hexadecimal ? 16 : 10) + digit;
        // Hexadecimal may spell any 32-bit pattern; decimal must stay within the signed range.
        const std::int64_t limit =
            hexadecimal ? 0xFFFFFFFFLL
                        : (negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                    : std::numeric_limits<std::int32_t>::max());
        if (magnitude > limit)
            return std::nullopt;
    }
    if (hexadecimal) {
        const auto bits = static_cast<std::uint32_t>(magnitude);
        const std::uint32_t result = negative ? static_cast<std::uint32_t>(0u - bits) : bits;
        return static_cast<std::int32_t>(result);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::optional<std::string> fontHeaderProblem(std::string_view data) {
    text::Lines lines(data);
    const std::string_view keys[] = {kFontNameKey, kFontWidthKey, kFontHeightKey, kRangeFromKey, kRangeToKey};
    for (std::size_t i = 0; i < std::size(keys); ++i)
        if (i >= lines.count() || !startsWith(lines.line(i + 1), keys[i]))
            return "line " + text::dec(static_cast<std::int64_t>(i + 1)) + " should start with '" +
                   std::string(keys[i]) + "'";
    return std::nullopt;
}

FontModel readFontFile(std::string_view data, const FontModel& previous, FontReading reading) {
    const bool strict = reading == FontReading::Strict;
    Reader reader(data);
    auto expect = [&reader, strict](std::size_t number, std::string_view key) {
        if (strict && !startsWith(reader.line(number), key))
            throw Error("Line " + text::dec(static_cast<std::int64_t>(number)) + " should start with '" +
                        std::string(key.substr(key.find_first_not_of(' '))) + "'");
    };
    FontModel font;
    font.FontName = previous.FontName;
    font.RangeFrom = previous.RangeFrom;
    font.RangeTo = previous.RangeTo;
    int width = previous.FontWidth();
    int height = previous.FontHeight();

    if (reader.count() >= 4) {
        if (startsWith(reader.line(1), kFontNameKey))
            font.FontName = std::string(reader.line(1).substr(reader.line(1).find(':') + 1));
        if (startsWith(reader.line(2), kFontWidthKey))
            width = reader.side(2, "cell width");
        if (startsWith(reader.line(3), kFontHeightKey))
            height = reader.side(3, "cell height");
        if (startsWith(reader.line(4), kRangeFromKey))
            font.RangeFrom = reader.code(4, "first character code");
        if (startsWith(reader.line(5), kRangeToKey))
            font.RangeTo = reader.code(5, "last character code");
        if (static_cast<std::int64_t>(width) * height > kMaxCellArea)
            throw Error("The cell of " + text::dec(width) + " x " + text::dec(height) +
                        " pixels is larger than the " + text::dec(kMaxCellArea) + " pixels a cell may have");
    }

    font.CellImage = previous.CellImage;
    font.CellImage.setSize(width, height);
    font.CharWidths.fill(1);
    // Characters outside the range are not part of the font; they get the cell only when a record names
    // them. The blank ones share one image: memory grows with the characters the file holds.
    const PixelImage blank(width, height, kWhite);
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        font.CharImages[static_cast<std::size_t>(c)] = blank;

    font.Depth = trailerDepth(reader);
    std::array<bool, kCharCount> recorded{};
    std::size_t i = 6;
    while (reader.has(i)) {
        if (startsWith(reader.line(i), kCodePageKey)) {
            font.CodePage = std::string(reader.line(i).substr(kCodePageKey.size()));
            ++i;
            continue;
        }
        if (startsWith(reader.line(i), kDepthKey)) {
            ++i;
            continue;
        }
        if (startsWith(reader.line(i), kBaselineKey)) {
            const std::int32_t row = reader.integer(i);
            if (row < 0 || row >= std::max(height, 1))
                throw Error("Line " + text::dec(static_cast<std::int64_t>(i)) + ": the baseline " +
                            text::dec(row) + " is outside the cell's rows 0 to " +
                            text::dec(std::max(height - 1, 0)));
            font.Baseline = row;
            ++i;
            continue;
        }
        int code = 0;
        expect(i, kCharKey);
        if (startsWith(reader.line(i), kCharKey))
            code = reader.code(i, "character code");
        recorded[static_cast<std::size_t>(code)] = true;
        auto& image = font.CharImages[static_cast<std::size_t>(code)];
        if (image.width() != width || image.height() != height)
            image = blank;

        ++i;
        expect(i, kWidthKey);
        if (startsWith(reader.line(i), kWidthKey)) {
            const std::int32_t charWidth = reader.integer(i);
            if (strict && (charWidth < 0 || charWidth > 255))
                throw Error("Line " + text::dec(static_cast<std::int64_t>(i)) + ": the width " +
                            text::dec(charWidth) + " is outside 0 to 255");
            font.CharWidths[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(charWidth & 0xFF);
        }

        ++i;
        expect(i, kBitMapKey);
        if (startsWith(reader.line(i), kBitMapKey)) {
            std::string_view rest = reader.line(i).substr(reader.line(i).find(':') + 1);
            for (int y = 0; y < height; ++y) {
                if (font.Depth > 1)
                    readGreyRow(rest, i, font.Depth, y, image);
                for (int x = 0; x < width && font.Depth == 1; ++x) {
                    const bool white = !rest.empty() && rest.front() == '0';
                    if (!rest.empty())
                        rest.remove_prefix(1);
                    image.setPixel(x, y, white ? kWhite : kBlack);
                }
                if (y + 1 < height) {
                    ++i;
                    rest = reader.line(i);
                    rest.remove_prefix(std::min(kRowIndentLength, rest.size()));
                }
            }
        }
        ++i;
    }
    for (int c = font.firstCode(); strict && c <= font.lastCode(); ++c)
        if (!recorded[static_cast<std::size_t>(c)])
            throw Error("The record of character " + text::dec(c) + " is missing: the range is " +
                        text::dec(font.RangeFrom) + " to " + text::dec(font.RangeTo));
    return font;
}

std::vector<std::string> writeFontFile(const FontModel& font) {
    const int width = font.FontWidth();
    const int height = font.FontHeight();
    std::vector<std::string> lines;
    // A line end in the name (a file named so) would end the line early and break every record after it.
    std::string name = font.FontName;
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, '_');
    lines.push_back(std::string(kFontNameKey) + name);
    lines.push_back(std::string(kFontWidthKey) + text::dec(width));
    lines.push_back(std::string(kFontHeightKey) + text::dec(height));
    lines.push_back(std::string(kRangeFromKey) + text::dec(font.RangeFrom));
    lines.push_back(std::string(kRangeToKey) + text::dec(font.RangeTo));
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const auto& image = font.CharImages[static_cast<std::size_t>(c)];
        lines.push_back(std::string(kCharKey) + text::dec(c));
        lines.push_back(std::string(kWidthKey) + text::dec(font.CharWidths[static_cast<std::size_t>(c)]));
        // A cell of height 0 still gets its BitMap line, so that the reader finds three lines per record.
        for (int y = 0; y < std::max(height, 1); ++y) {
            std::string line(y == 0 ? kBitMapKey : kRowIndent);
            for (int x = 0; x < width && y < height; ++x) {
                if (font.Depth <= 1) {
                    line += image.pixel(x, y) == kBlack ? '1' : '0';
                    continue;
                }
                const int level = levelOf(image.pixel(x, y), font.Depth);
                if (font.Depth == 8)
                    line += text::kHexDigits[level >> 4];
                line += text::kHexDigits[level & 0xF];
            }
            lines.push_back(std::move(line));
        }
    }
    if (!font.CodePage.empty() && font.CodePage != kDefaultCodePage)
        lines.push_back(std::string(kCodePageKey) + font.CodePage);
    if (font.Depth > 1)
        lines.push_back(std::string(kDepthKey) + text::dec(font.Depth));
    if (font.Baseline)
        lines.push_back(std::string(kBaselineKey) + text::dec(font.baselineRow()));
    return lines;
}

void trimCellToWidestChar(FontModel& font) {
    const int widest = font.widestWidth();
    font.CellImage.setWidth(widest);
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        font.CharImages[static_cast<std::size_t>(c)].setWidth(widest);
}

std::optional<std::pair<int, int>> inkBeyond(const FontModel& font, int width) {
    std::optional<std::pair<int, int>> columns;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const PixelImage& image = font.CharImages[static_cast<std::size_t>(c)];
        for (int y = 0; y < image.height(); ++y)
            for (int x = std::max(width, 0); x < image.width(); ++x)
                if (image.pixel(x, y) != kWhite)
                    columns = columns ? std::pair(std::min(columns->first, x), std::max(columns->second, x))
                                      : std::pair(x, x);
    }
    return columns;
}

FontModel fontForSave(const FontModel& font, const std::string& path) {
    FontModel saved = font;
    saved.FontName = paths::baseName(path);
    trimCellToWidestChar(saved);
    return saved;
}

} // namespace tesselor
