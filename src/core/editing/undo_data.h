#pragma once

#include "model/font_model.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tesselor {

// What the history keeps of an edit: only what it changed, packed, so that a long history of a large
// cell stays small.

// The pixels a stroke changed, each once: its colour before the stroke and after it.
class PixelChanges {
public:
    // Notes that pixel (x, y) of the image is about to become `after`; a pixel met again keeps its first
    // colour before.
    void record(const PixelImage& image, int x, int y, Colour after);
    // The stroke is over: the lookup of its pixels is no longer needed.
    void finish();
    bool empty() const { return changes_.empty(); }
    void undo(PixelImage& image) const;
    void redo(PixelImage& image) const;
    std::size_t bytes() const { return changes_.capacity() * sizeof(Change); }

private:
    struct Change {
        std::uint32_t index; // y * width + x
        Colour before;
        Colour after;
    };
    int width_ = 0;
    std::vector<Change> changes_;
    std::unordered_map<std::uint32_t, std::size_t> lookup_;
};

// An image as the history keeps it: one bit a pixel when it holds black and white only (a glyph),
// otherwise runs of one colour.
class PackedImage {
public:
    PackedImage() = default;
    explicit PackedImage(const PixelImage& image);
    PixelImage unpack() const;
    std::size_t bytes() const { return bits_.capacity() + runs_.capacity() * sizeof(Run); }

private:
    struct Run {
        std::uint32_t length;
        Colour colour;
    };
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bits_; // black is 1; used when runs_ is empty
    std::vector<Run> runs_;
};

// A whole font as it was: every character image that has pixels, packed, with the widths, the cell (whose
// pixels are the clipboard), the range and the name.
class FontSnapshot {
public:
    FontSnapshot() = default;
    explicit FontSnapshot(const FontModel& font);
    void restore(FontModel& font) const;
    std::size_t bytes() const;

private:
    std::array<PackedImage, kCharCount> images_;
    std::array<std::uint8_t, kCharCount> widths_{};
    PackedImage cell_;
    std::int32_t rangeFrom_ = 0;
    std::int32_t rangeTo_ = 0;
    std::string name_;
    std::string codePage_;
    int depth_ = 1;
    std::optional<int> baseline_;
};

// The pixels a smaller cell drops (the columns and rows beyond it) of every character of the range and of
// the clipboard, so that growing back restores them.
class DroppedPixels {
public:
    DroppedPixels() = default;
    DroppedPixels(const FontModel& font, int width, int height);
    // Puts the pixels back after the cell was grown to its old size again.
    void restore(FontModel& font) const;
    std::size_t bytes() const;

private:
    struct Strip {
        int code;           // -1 for the clipboard
        PackedImage right;  // columns width.. of rows 0..height-1
        PackedImage bottom; // rows height.. of every column
    };
    int width_ = 0;
    int height_ = 0;
    std::vector<Strip> strips_;
};

} // namespace tesselor
