#pragma once

#include "model/font_model.h"

namespace tesselor {

enum class Direction { Up, Left, Right, Down };

// Ink is any colour but white. The tests look at the cell W x H, not at the character widths.
bool topRowHasInk(const PixelImage& character, int width, int height);
bool bottomRowHasInk(const PixelImage& character, int width, int height);
bool leftColumnHasInk(const PixelImage& character, int width, int height);
bool rightColumnHasInk(const PixelImage& character, int width, int height);

// Shifts one character image by one pixel inside the cell and clears the vacated row or column.
void shiftPixels(PixelImage& character, int width, int height, Direction direction);

// Each command returns false, having changed nothing, when it is refused: when it would push ink out of the
// cell, widen a character past the cell or past 255, or narrow the cell below its widest character or below
// one row or column.
bool shiftChar(FontModel& font, int code, Direction direction);
bool moveAllChars(FontModel& font, Direction direction);
void addColumn(FontModel& font);
bool removeColumn(FontModel& font);
void addRow(FontModel& font);
bool removeRow(FontModel& font);

// Over the whole cell; the caller recomputes the width afterwards.
void mirrorHorizontal(FontModel& font, int code);
void mirrorVertical(FontModel& font, int code);
// Flips black and white in the columns inside the character's width.
void invertChar(FontModel& font, int code);

} // namespace tesselor
