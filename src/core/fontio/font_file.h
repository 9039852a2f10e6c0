#pragma once

#include "model/font_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tesselor {

// An integer value of a .font line: blanks, an optional sign, decimal digits or hexadecimal digits after
// "$", "x", "X", "0x" or "0X". Anything else, a trailing blank included, is invalid.
std::optional<std::int32_t> parseFontInteger(std::string_view value);

// How much of a .font file must be there. The window reads what it can; a build step must not turn a
// broken file into a font of blank characters.
enum class FontReading {
    Lenient,
    Strict, // every record of the range there, each with its Char:, Width: (0 to 255) and BitMap: lines
};

// Reads a .font file into a new font. `previous` supplies what a file of fewer than four lines
// leaves as it was (name, cell size, range) and the clipboard pixels of CellImage. Throws Error naming the
// line on a missing line, an invalid number or a value the model cannot hold; nothing is changed then.
// Characters without a record share one blank image, so memory grows with the file, not with the range.
FontModel readFontFile(std::string_view data, const FontModel& previous,
                       FontReading reading = FontReading::Lenient);

// Why the data is no .font file for a strict reader: "line N should start with 'KEY'" for the first of the
// five header lines that does not start with its key; nothing when all five do.
std::optional<std::string> fontHeaderProblem(std::string_view data);

// The lines of a .font file for the font as it stands.
std::vector<std::string> writeFontFile(const FontModel& font);

// The trim of Save: the cell becomes as wide as the widest character of the range, and so does every
// character of the range.
void trimCellToWidestChar(FontModel& font);

// The first and last column at or beyond `width` that hold ink in some character of the range: what a
// trim to `width` drops. Nothing when it drops no ink.
std::optional<std::pair<int, int>> inkBeyond(const FontModel& font, int width);

// The font as Save writes it to `path`: named after the file, its cell trimmed.
FontModel fontForSave(const FontModel& font, const std::string& path);

} // namespace tesselor
