#pragma once

#include "model/code_page.h"
#include "platform/rasteriser.h"

#include <QFont>

#include <string>

namespace tesselor {

// Draws with a QFont, without anti-aliasing for a 1-bit font and with it for grey levels (depth above 1:
// each pixel then mixes the two colours by its coverage); the point size is taken at 96 dots per inch. A
// code is drawn as its character in the code page.
class QtRasteriser : public Rasteriser {
public:
    QtRasteriser(const QFont& font, const CodePage& page, int depth = 1);

    int ascent() const override;
    void drawChar(PixelImage& image, int code, int x, int y, Colour text, Colour background) override;

    const QFont& font() const { return font_; }

private:
    QFont font_;
    CodePage page_;
    bool antialias_;
};

// The font of a file (TrueType, OpenType, or what else Qt's font database loads). Bold and italic choose
// among the faces of a collection; a file of one face must be asked for as it is. Its glyphs alone are drawn:
// a character it lacks is not taken from another font, so the result is the same on every machine with the
// file. Throws Error "Cannot load the font file ..."
QFont loadFontFile(const std::string& path, int points, bool bold, bool italic);

// The face a font file holds, as loadFontFile takes it: a file of one face has its own weight and slant;
// a collection's faces are chosen by bold and italic. Throws Error as loadFontFile does.
struct FontFileFace {
    QString family;
    QString style;
    bool collection = false;
    bool bold = false;
    bool italic = false;
};
FontFileFace describeFontFile(const std::string& path);

// The font the import offers before the user chose one: Arial 12 pt when installed, else DejaVu Sans.
QFont defaultImportFont();

} // namespace tesselor
