#include "editing/edit_commands.h"

namespace tesselor {

namespace {
void copyCell(const PixelImage& from, PixelImage& to, int width, int height) {
    to.copyRect(from, 0, 0, width, height, 0, 0);
}
} // namespace

void cutChar(AppState& state) {
    copyChar(state);
    state.currentChar().fillAll(kWhite);
    state.currentWidth() = 1;
}

void copyChar(AppState& state) {
    FontModel& font = state.font;
    copyCell(state.currentChar(), font.CellImage, font.FontWidth(), font.FontHeight());
    state.ClipWidth = state.currentWidth();
}

void pasteChar(AppState& state) {
    FontModel& font = state.font;
    state.RestoreImage.setSize(font.FontWidth(), font.FontHeight());
    copyCell(state.currentChar(), state.RestoreImage, font.FontWidth(), font.FontHeight());
    state.RestoreWidth = state.currentWidth();
    copyCell(font.CellImage, state.currentChar(), font.FontWidth(), font.FontHeight());
    state.currentWidth() = state.ClipWidth;
}

void restoreChar(AppState& state) {
    FontModel& font = state.font;
    copyCell(state.RestoreImage, state.currentChar(), font.FontWidth(), font.FontHeight());
    state.currentWidth() = state.RestoreWidth;
}

} // namespace tesselor
