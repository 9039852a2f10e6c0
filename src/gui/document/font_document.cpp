#include "document/font_document.h"

#include <QUndoStack>

namespace tesselor {

FontDocument::FontDocument(QObject* parent) : Document(parent) {}

void FontDocument::setCurrentCode(int code) {
    if (code == currentCode_ || !font_.hasCode(code))
        return;
    currentCode_ = code;
    emit currentCodeChanged(code);
}

void FontDocument::replace(FontModel font, const Source& source) {
    font_ = std::move(font);
    source_ = source;
    currentCode_ = font_.RangeFrom;
    emit replaced();
    emit sourceChanged();
}

void FontDocument::open(FontModel font, const Source& source) {
    replace(std::move(font), source);
    undoStack()->clear();
}

void FontDocument::saved(const std::string& path, const std::string& title) {
    source_.filePath = path;
    source_.title = title;
    undoStack()->setClean();
    emit sourceChanged();
}

} // namespace tesselor
