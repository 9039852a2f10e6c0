#include "editing/edit_commands.h"

namespace tesselor {

namespace {
void copyCell(const PixelImage& from, PixelImage& to, int width, int height) {
    to.copyRect(from, 0, 0, width, height, 0, 0);
}

PixelImage& image(FontModel& font, int code) {
    return font.CharImages[static_cast<std::size_t>(code & 0xFF)];
}

std::uint8_t& width(FontModel& font, int code) {
    return font.CharWidths[static_cast<std::size_t>(code & 0xFF)];
}
} // namespace

void cutChar(FontModel& font, int code, CharClipboard& clipboard) {
    copyChar(font, code, clipboard);
    image(font, code).fillAll(kWhite);
    width(font, code) = 1;
}

void copyChar(FontModel& font, int code, CharClipboard& clipboard) {
    copyCell(image(font, code), font.CellImage, font.FontWidth(), font.FontHeight());
    clipboard.ClipWidth = width(font, code);
}

void pasteChar(FontModel& font, int code, CharClipboard& clipboard) {
    clipboard.RestoreImage.setSize(font.FontWidth(), font.FontHeight());
    copyCell(image(font, code), clipboard.RestoreImage, font.FontWidth(), font.FontHeight());
    clipboard.RestoreWidth = width(font, code);
    copyCell(font.CellImage, image(font, code), font.FontWidth(), font.FontHeight());
    width(font, code) = clipboard.ClipWidth;
}

void restoreChar(FontModel& font, int code, const CharClipboard& clipboard) {
    copyCell(clipboard.RestoreImage, image(font, code), font.FontWidth(), font.FontHeight());
    width(font, code) = clipboard.RestoreWidth;
}

} // namespace tesselor
