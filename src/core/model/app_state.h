#pragma once

#include "bitmap/bitmap_payload.h"
#include "bitmap/ft8xx_chips.h"
#include "model/pixel_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

inline const std::string kAppTitle = "Tesselor";

// What the window works on besides its two documents (the font and the resource list, each with its
// history): the editor's options, the bitmap, and the paths each dialog remembers. Owned by the main
// window for its whole life.
struct AppState {
    // The editor.
    int GridZoom = 5;
    bool RemoveLeftBlank = false;
    bool AutomaticCharWidth = false;

    // The bitmap.
    PixelImage BitmapImage;
    std::vector<std::uint8_t> BitmapAlpha; // one byte a pixel; empty for an image without alpha
    std::uint8_t BitmapBits = 0;
    // Whether the imported image's layout is one of the classified ones (BitmapBits is then its depth).
    bool BitmapLayoutListed = false;
    bool ForFT800 = false;
    std::string BitmapFtFormat = "RGB565"; // the FT8xx format with the FT800 option
    bool BitmapDither = false;
    bool BitmapDeflate = false;
    LuminanceSource BitmapLuminance = LuminanceSource::Auto;
    std::optional<Chip> BitmapChip;         // refuse what it cannot draw; none: any
    std::optional<Colour> BitmapBackground; // composite onto it first
    bool BitmapSwapBytes = false;           // native 16-bit values high byte first

    // Window titles.
    std::string AppTitle = kAppTitle;
    std::string BitmapPageTitle = kAppTitle;

    // Remembered paths and names: where each dialog starts.
    std::string FontFilePath;
    std::string FontOutputName;
    std::string FontCFilePath;
    std::string FontLcdFilePath;
    std::string FontBdfFilePath;
    std::string FontFt8xxFilePath;
    std::string FontGfxFilePath;
    std::string FontLvglFilePath;
    std::string FontSourcePath; // the last font file or BDF file imported
    std::string ResdataFilePath;
    std::string BitmapFilePath;
    std::string BitmapBaseName;
    std::string BitmapCFilePath;
    std::string ResdataImportPath;
    std::string ResFilePath;
    std::string ResHeaderPath;
    std::string BmpCharsFolder;
};

// "Tesselor [" + path + "]"
std::string titleFor(const std::string& path);

} // namespace tesselor
