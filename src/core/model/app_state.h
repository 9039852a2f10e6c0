#pragma once

#include "model/font_model.h"
#include "model/pixel_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tesselor {

inline const std::string kAppTitle = "Tesselor";

// Everything the program works on; owned by the main window for its whole life.
struct AppState {
    // The font.
    FontModel font;
    bool FontModified = false;

    // The editor.
    int CurrentCode = 0;
    int GridZoom = 5;
    std::uint8_t ClipWidth = 0;
    PixelImage RestoreImage;
    std::uint8_t RestoreWidth = 0;
    bool RemoveLeftBlank = false;
    bool AutomaticCharWidth = false;

    // The bitmap and the resource file.
    PixelImage BitmapImage;
    std::vector<std::uint8_t> BitmapAlpha; // one byte a pixel; empty for an image without alpha
    std::uint8_t BitmapBits = 0;
    // Whether the imported image's layout is one of the classified ones (BitmapBits is then its depth).
    bool BitmapLayoutListed = false;
    bool ForFT800 = false;
    std::string BitmapFtFormat = "RGB565"; // the FT8xx format with the FT800 option
    bool BitmapDither = false;
    bool BitmapDeflate = false;
    // The items of the resource file under construction, each the complete bytes of a resource item.
    std::vector<std::vector<std::uint8_t>> ResourceList;
    bool ResourcesModified = false;

    // Window titles.
    std::string AppTitle = kAppTitle;
    std::string FontPageTitle = kAppTitle;
    std::string BitmapPageTitle = kAppTitle;
    std::string ResourcesPageTitle = kAppTitle;

    // Remembered paths and names.
    std::string FontFilePath;
    std::string FontBaseName;
    std::string FontOutputName;
    std::string FontCFilePath;
    std::string FontLcdFilePath;
    std::string FontBdfFilePath;
    std::string FontSourcePath; // the last font file or BDF file imported
    std::string ResdataFilePath;
    std::string BitmapFilePath;
    std::string BitmapBaseName;
    std::string BitmapCFilePath;
    std::string ResdataImportPath;
    std::string ResFilePath;
    std::string ResHeaderPath;
    std::string BmpCharsFolder;

    // The current character and its width.
    PixelImage& currentChar() { return font.CharImages[codeIndex(CurrentCode)]; }
    std::uint8_t& currentWidth() { return font.CharWidths[codeIndex(CurrentCode)]; }

    static std::size_t codeIndex(int code) { return static_cast<std::size_t>(code & 0xFF); }
};

// "Tesselor [" + path + "]"
std::string titleFor(const std::string& path);

} // namespace tesselor
