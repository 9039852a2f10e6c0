#pragma once

#include "fontio/font_import.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

// One glyph of a BDF file: its encoding, advance and bitmap, rows of ceil(width / 8) bytes, the leftmost
// pixel in the most significant bit.
struct BdfGlyph {
    long encoding = -1;                                  // -1: outside the standard encoding
    long nonStandard = -1;                               // the number after "ENCODING -1", when given
    int advance = 0;                                     // DWIDTH x
    int width = 0, height = 0, xOffset = 0, yOffset = 0; // BBX
    std::vector<std::uint8_t> rows;

    bool ink(int x, int y) const {
        return (rows[static_cast<std::size_t>(y) * static_cast<std::size_t>((width + 7) / 8) +
                     static_cast<std::size_t>(x / 8)] >>
                (7 - x % 8)) &
               1;
    }
};

// A BDF 2.1 font as far as a bitmap font needs it.
struct BdfFile {
    int ascent = 0;
    int descent = 0;
    std::string registry; // CHARSET_REGISTRY, "ISO10646" for Unicode
    std::string encoding; // CHARSET_ENCODING
    std::vector<BdfGlyph> glyphs;

    bool unicode() const;
};

// The code page name of a BDF charset (CHARSET_REGISTRY, CHARSET_ENCODING): "ISO8859" "2" is
// "ISO-8859-2", "KOI8" "R" is "KOI8-R", "microsoft" "cp1251" is "windows-1251", "IBM" "cp437" is "IBM437";
// others are joined by a dash.
std::string bdfCharsetName(const std::string& registry, const std::string& encoding);

// Reads a BDF file. Throws Error naming the line of the first fault: a missing or misplaced keyword, a
// number that is none, a bitmap row too short or not hexadecimal, a glyph or a cell beyond the limits of
// a .font.
BdfFile readBdf(std::string_view text);

// The byte code of a glyph's encoding, or nothing when it has none in the font being made.
using BdfCodeOf = std::function<std::optional<int>(long encoding)>;

struct BdfImport {
    ImportedFont imported;
    std::vector<int> missingCodes; // codes of the range no glyph gave
};

// A font of the glyphs whose codes fall in first..last (without a range: every code a glyph gives), on
// their common baseline: the cell is ascent + descent high and as wide as the widest advance or ink;
// each glyph sits at its BBX offset, its width its advance (255 at most). A glyph "ENCODING -1 n" takes
// code n. Throws Error when no glyph falls in the range.
BdfImport importBdf(const BdfFile& bdf, const BdfCodeOf& codeOf, std::optional<int> first,
                    std::optional<int> last, const std::string& name);

} // namespace tesselor
