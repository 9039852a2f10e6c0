#pragma once

#include "platform/rasteriser.h"

#include <QChar>
#include <QFont>
#include <QString>

#include <vector>

namespace tesselor {

// The character of code c (one byte) in the Windows-1252 code page.
QChar windows1252Char(int code);
// The codes of a text's characters in that code page; -1 for a character it lacks.
std::vector<int> windows1252Codes(const QString& text);

// Draws with a QFont without anti-aliasing; the point size is taken at 96 dots per inch.
class QtRasteriser : public Rasteriser {
public:
    explicit QtRasteriser(const QFont& font);

    void drawChar(PixelImage& image, int code, int x, int y, Colour text, Colour background) override;

    const QFont& font() const { return font_; }

private:
    QFont font_;
};

// The font the import offers before the user chose one: Arial 12 pt when installed, else DejaVu Sans.
QFont defaultImportFont();

} // namespace tesselor
