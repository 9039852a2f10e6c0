#include "fontexport/text_layout.h"

#include "model/grey_levels.h"

#include <algorithm>

namespace tesselor {

Advances controllerAdvances(const FontModel& font, std::optional<int> spacing,
                            std::optional<int> spaceWidth) {
    return {spacing.value_or(1), spaceWidth.value_or((2 * font.FontHeight() + 3) / 6)};
}

bool glyphHasInk(const FontModel& font, int code) {
    const PixelImage& character = font.CharImages[static_cast<std::size_t>(code & 0xFF)];
    const int width = std::min<int>(font.CharWidths[static_cast<std::size_t>(code & 0xFF)], font.FontWidth());
    for (int y = 0; y < font.FontHeight(); ++y)
        for (int x = 0; x < width; ++x)
            if (font.isInk(character.pixel(x, y)))
                return true;
    return false;
}

int advanceOf(const FontModel& font, int code, const Advances& advances) {
    const int width = font.CharWidths[static_cast<std::size_t>(code & 0xFF)];
    if (advances.spaceWidth && !glyphHasInk(font, code))
        return *advances.spaceWidth;
    return width + advances.spacing;
}

TextLayout layoutText(const FontModel& font, const std::vector<int>& codes, const Advances& advances) {
    TextLayout layout;
    layout.height = font.FontHeight();
    for (const int code : codes) {
        if (!font.hasCode(code)) {
            layout.skipped.push_back(layout.width);
            continue;
        }
        layout.glyphs.push_back({code, layout.width});
        layout.width += advanceOf(font, code, advances);
    }
    return layout;
}

namespace {
// Ink over paper at a level of the depth, channel by channel, rounded.
Colour mix(Colour ink, Colour paper, int level, int max) {
    Colour out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int i = static_cast<int>((ink >> shift) & 0xFF);
        const int p = static_cast<int>((paper >> shift) & 0xFF);
        out |= static_cast<Colour>(p + ((i - p) * level * 2 + (i >= p ? max : -max)) / (2 * max)) << shift;
    }
    return out;
}
} // namespace

PixelImage renderText(const FontModel& font, const TextLayout& layout, const TextStyle& style) {
    const int scale = std::max(style.scale, 1);
    PixelImage image(layout.width * scale, layout.height * scale, style.paper);
    const int max = maxLevel(font.Depth);
    for (const TextLayout::Glyph& glyph : layout.glyphs) {
        const PixelImage& character = font.CharImages[static_cast<std::size_t>(glyph.code)];
        const int width = font.CharWidths[static_cast<std::size_t>(glyph.code)];
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < width && x < font.FontWidth(); ++x) {
                const Colour pixel = character.pixel(x, y);
                if (!font.isInk(pixel))
                    continue;
                const Colour colour = font.Depth <= 1
                                          ? style.ink
                                          : mix(style.ink, style.paper, levelOf(pixel, font.Depth), max);
                image.fill((glyph.x + x) * scale, y * scale, scale, scale, colour);
            }
    }
    if (style.marker)
        for (const int x : layout.skipped)
            image.fill(std::min(x * scale, std::max(image.width() - 1, 0)), 0, 1, image.height(),
                       *style.marker);
    return image;
}

} // namespace tesselor
