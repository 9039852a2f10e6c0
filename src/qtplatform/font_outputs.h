#pragma once

#include "fontexport/ft8xx_font.h"
#include "fontexport/lvgl_font.h"
#include "model/font_model.h"
#include "qtplatform/file_io.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

// The outputs of a font, one row each. The window's Create File items and the command line's font-export
// formats are both made from these rows, so the two write the same bytes and a new output is one row.
enum class FontOutputFamily {
    Device,  // the device's own font table and the text formats
    Ft8xx,   // the FT8xx controllers' font (--ft8xx)
    Library, // the fonts of the graphics libraries firmware uses (Adafruit GFX, LVGL)
};

// What an output is given besides the font and its path.
struct FontOutputChoices {
    std::string symbol;     // the array or item name; empty: the row's default
    bool bytes = false;     // a .c array of uint8_t instead of unsigned short
    std::string headerPath; // a header to write beside the output; empty: none
    Ft8xxFontOptions ft8xx;
    bool deflate = false; // the controller's font as one zlib stream
    // The libraries' advances, as the controller's (see controllerAdvances).
    std::optional<int> spacing;
    std::optional<int> spaceWidth;
    int lvglVersion = kDefaultLvglVersion;
};

struct FontOutputFiles {
    std::vector<fileio::OutputFile> files; // the output, then its header
    std::vector<std::string> warnings;     // what the output could not keep
};

struct FontOutput {
    FontOutputFamily family;
    const char* key;    // --format's value, and the extension without its dot unless `extension` says
    const char* title;  // the window's save dialog
    const char* filter; // its filter: "Description (*.x)|*.x|All files (*.*)|*.*"
    bool takesSymbol;   // an array or item name (for a .bin, the name of its header's macros)
    bool takesHeader;   // a header beside it
    std::function<FontOutputFiles(const FontModel& font, const std::string& path, const FontOutputChoices&)>
        write;
    const char* extension = nullptr; // without its dot, when it is not the key

    std::string fileExtension() const { return extension != nullptr ? extension : key; }

    // The name an array or item takes without --symbol: the file name and the size ("tiny_9x3").
    std::string defaultSymbol(const FontModel& font, const std::string& path) const;
};

const std::vector<FontOutput>& fontOutputs();
// The row of a family and key; nothing for a key the family lacks.
const FontOutput* fontOutput(FontOutputFamily family, const std::string& key);

// What the 1-bit outputs say of a grey font; nothing for a 1-bit font.
std::vector<std::string> halvingWarning(const FontModel& font);

} // namespace tesselor
