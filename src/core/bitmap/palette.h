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
    int cellOf(Rgba pixel) const;
    void makeCandidates(int cell);
    void finish();

    PaletteEntry entry_;
    bool alpha_;
    std::int64_t pixels_;
    std::vector<Rgba> colours_;
    // A grid over the colour space (alpha too when the image has it): each cell lists the entries that can
    // be nearest to some colour of the cell (no farther at their nearest than the best entry at its
    // farthest), made when the cell is first met, ordered by their distance from the cell's centre. A
    // search scans that list until the triangle inequality rules out the rest: an entry whose distance
    // from the centre, less the cell's half diagonal, is beyond the best cannot be nearer.
    int cellBits_ = 5;
    struct Cell {
        std::uint32_t first = 0;
        std::int32_t count = -1; // -1: not made yet
    };
    struct Candidate {
        Rgba colour;
        std::uint16_t clear; // squared, rounded down and capped: the distance from the cell's centre less
                             // the half diagonal
        std::uint8_t index;
    };
    static constexpr int kFirstCandidates = 4;
    std::vector<Cell> cells_;
    std::vector<Candidate> candidates_;
    std::uint32_t lastKey_ = 0;
    int lastIndex_ = -1;
};

} // namespace tesselor
