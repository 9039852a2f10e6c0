#pragma once

#include "model/app_state.h"

namespace tesselor {

// The one-character clipboard lives in the pixels of CellImage with ClipWidth; Paste keeps the character
// it overwrites for Restore. Each copies the cell rectangle pixel for pixel.
void cutChar(AppState& state);
void copyChar(AppState& state);
void pasteChar(AppState& state);
void restoreChar(AppState& state);

} // namespace tesselor
