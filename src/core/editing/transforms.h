#pragma once

#include "model/font_model.h"

#include <vector>

namespace tesselor {

enum class Direction { Up, Left, Right, Down };

// Ink is any colour but white. The tests look at the cell W x H, not at the character widths.
bool topRowHasInk(const PixelImage& character, int width, int height);
bool bottomRowHasInk(const PixelImage& character, int width, int height);
bool leftColumnHasInk(const PixelImage& character, int width, int height);
bool rightColumnHasInk(const PixelImage& character, int width, int height);

// Shifts one character image by one pixel inside the cell and clears the vacated row or column.
void shiftPixels(PixelImage& character, int width, int height, Direction direction);

// Why a transform changed nothing.
enum class Refusal {
    None,
    InkAtEdge,             // ink would leave the cell
    EmptyWidth,            // nothing to shift left
    WidthAtLimit,          // the width would pass the cell or 255
    CharacterAsWideAsCell, // the cell would be narrower than a character
    LastColumnOrRow,       // the cell keeps at least one column and one row
};

// The reason in words, for the status bar.
const char* describe(Refusal refusal);

// Each command changes nothing and says why when it is refused.
Refusal shiftChar(FontModel& font, int code, Direction direction);
// Moves every character of the range, and up or down the baseline with them; `moved` (when given)
// receives the codes whose pixels moved, which a move to the left leaves out for widths 0 and 1.
Refusal moveAllChars(FontModel& font, Direction direction, std::vector<int>* moved = nullptr);
void addColumn(FontModel& font);
Refusal removeColumn(FontModel& font);
void addRow(FontModel& font);
Refusal removeRow(FontModel& font);

// The cell and every character of the range take this size: kept pixels stay, added ones are white.
void resizeCell(FontModel& font, int width, int height);

// The direction that undoes a step in this one.
Direction opposite(Direction direction);

// Over the whole cell; the caller recomputes the width afterwards.
void mirrorHorizontal(FontModel& font, int code);
void mirrorVertical(FontModel& font, int code);
// Flips black and white in the columns inside the character's width; a grey font's levels become the
// maximum less themselves.
void invertChar(FontModel& font, int code);

} // namespace tesselor
