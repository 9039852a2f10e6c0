#pragma once

#include "model/font_model.h"
#include "platform/image_decoder.h"
#include "platform/rasteriser.h"

#include <functional>
#include <string>
#include <vector>

namespace tesselor {

inline constexpr int kMeasuringSide = 300;

struct ImportedFont {
    FontModel font;
    // Codes whose ink was wider than a width byte holds; their width was limited to 255.
    std::vector<int> limitedCodes;
};

// Measures the ink of the drawing in CellImage and stores it as character `code`, resized to the cell.
// Without removeLeftBlank the whole cell is copied and the width runs to the rightmost ink column; with it
// the ink moves to column 0 and the width is the ink width. A character without ink has width 1.
void StoreImportedChar(ImportedFont& imported, int code, bool removeLeftBlank);

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

// "Arial 12 Bold": face, size in points and the style word ("Regular", "Bold", "Italic", "Bold_Italic");
// with underline or strike-out no word, the label ends with the blank after the size.
std::string fontLabel(const std::string& face, int points, const FontStyle& style);

// Rasterises firstCode..lastCode (only firstCode when lastCode is below it) into a new font of exactly the
// measured cell. The name of the new font is `name`; at a depth above 1 the rasteriser's greys become the
// nearest levels of that depth (it should then draw with anti-aliasing).
ImportedFont importSystemFont(Rasteriser& rasteriser, int firstCode, int lastCode, bool removeLeftBlank,
                              const std::string& name, int depth = 1);

// Every pixel of the image to the grey of its nearest level at the depth.
void toLevels(PixelImage& image, int depth);

// A new font to draw by hand: the codes first..last, each a white cell of width x height as wide as the
// cell (at most 255).
FontModel blankFont(int width, int height, int first, int last);

struct BmpCharsImport {
    ImportedFont imported;
    bool found = false; // false: no character file in the folder
};

// The character files of 32 to 255 in a folder ("<code>.bmp", also "<code>.BMP"). Characters of different
// sizes are all enlarged with white to the largest width and the largest height among the files. At a depth
// above 1 their greys become the nearest levels of that depth; at 1 the pixels are taken as they are.
BmpCharsImport importBmpChars(const std::string& folder, ImageDecoder& decoder,
                              const std::function<bool(const std::string&)>& fileExists, bool removeLeftBlank,
                              const std::string& name, int depth = 1);
// Whether an imported font holds pixels other than black and white (grey character files).
bool hasGreys(const FontModel& font);

// The file of a code in the folder, or an empty text when there is none.
std::string bmpCharFile(const std::string& folder, int code,
                        const std::function<bool(const std::string&)>& fileExists);

} // namespace tesselor
