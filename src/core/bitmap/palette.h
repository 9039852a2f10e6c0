#pragma once

#include "bitmap/bitmap_formats.h"
#include "bitmap/pixel_rows.h"

#include <array>
#include <vector>

namespace tesselor {

// The palette of a paletted format: exact when the image has at most 256 colours (as the entries store
// them), in the order they first appear row by row; otherwise median cut, refined by k-means.
class Palette {
public:
    Palette(RowSource& rows, PaletteEntry entry);

    // The entries as the device shows them: each stored level widened to 8 bits.
    const std::vector<Rgba>& colours() const { return colours_; }
    // The entry nearest to a colour (straight RGBA, alpha counted when the image has alpha).
    int nearest(Rgba pixel);
    // An entry's bytes as the payload stores it.
    void store(int index, std::uint8_t* to) const;

    // A colour as an entry of this kind can hold it.
    static Rgba level(Rgba pixel, PaletteEntry entry, bool alpha);

private:
    std::uint32_t key(Rgba pixel) const;
    int search(Rgba pixel) const;
    void finish();

    PaletteEntry entry_;
    bool alpha_;
    std::vector<Rgba> colours_;
    // The entries ordered by green, for a search that stops once green alone is farther than the best.
    std::vector<std::pair<std::uint8_t, std::uint8_t>> byGreen_; // green, index
    // Colours met before, each in the slot its hash gives; a newer colour takes the slot.
    struct Slot {
        std::uint32_t key = 0;
        std::int16_t index = -1;
    };
    std::vector<Slot> cache_;
};

} // namespace tesselor
