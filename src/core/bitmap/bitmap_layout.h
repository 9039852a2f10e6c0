#pragma once

#include "bitmap/bitmap_formats.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

// Where the parts of a bitmap lie, as a display list sets it up: read from its payload alone.
struct BitmapLayout {
    BitmapEncoding encoding;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;       // bytes a row: BITMAP_LAYOUT's linestride
    std::size_t paletteBytes = 0; // 0 for a format without a table
    bool deflated = false;
    // Where the rows start: in the payload (after its header and palette) when plain, in what the zlib
    // stream inflates to (after the palette) when deflated. Either way the palette lies just before them.
    std::size_t dataOffset = 0;
    std::size_t inflatedSize = 0; // palette and rows: what a deflated payload's stream inflates to
};

// The layout of a payload whose format codes are of the family `ft8xx` says (the codes overlap). Nothing
// when the bytes are too short, the code is not of that family, or a plain payload's length is not what its
// header gives.
std::optional<BitmapLayout> bitmapLayout(const std::uint8_t* payload, std::size_t size, bool ft8xx);

// The macros of a layout, "#define STEM_WIDTH 3u" and so on, after a comment naming the format and its
// family. `stem` is already in macro form.
std::vector<std::string> bitmapLayoutMacros(const std::string& stem, const BitmapLayout& layout);

} // namespace tesselor
