#pragma once

#include "model/font_model.h"

#include <cstdint>

namespace tesselor {

// The one-character clipboard: its pixels are those of the font's CellImage, with ClipWidth; Paste keeps
// the character it overwrites for Restore.
struct CharClipboard {
    std::uint8_t ClipWidth = 0;
    PixelImage RestoreImage;
    std::uint8_t RestoreWidth = 0;
};

// Each copies the cell rectangle pixel for pixel, on the character `code`.
void cutChar(FontModel& font, int code, CharClipboard& clipboard);
void copyChar(FontModel& font, int code, CharClipboard& clipboard);
void pasteChar(FontModel& font, int code, CharClipboard& clipboard);
void restoreChar(FontModel& font, int code, const CharClipboard& clipboard);

} // namespace tesselor
