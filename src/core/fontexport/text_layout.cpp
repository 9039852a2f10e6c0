#include "fontexport/text_layout.h"

#include <algorithm>

namespace tesselor {

TextLayout layoutText(const FontModel& font, const std::vector<int>& codes) {
    TextLayout layout;
    layout.height = font.FontHeight();
    for (const int code : codes) {
        if (!font.hasCode(code)) {
            layout.skipped.push_back(layout.width);
            continue;
        }
        layout.glyphs.push_back({code, layout.width});
        layout.width += font.CharWidths[static_cast<std::size_t>(code)];
    }
    return layout;
}

PixelImage renderText(const FontModel& font, const TextLayout& layout, const TextStyle& style) {
    const int scale = std::max(style.scale, 1);
    PixelImage image(layout.width * scale, layout.height * scale, style.paper);
    for (const TextLayout::Glyph& glyph : layout.glyphs) {
        const PixelImage& character = font.CharImages[static_cast<std::size_t>(glyph.code)];
        const int width = font.CharWidths[static_cast<std::size_t>(glyph.code)];
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < width && x < font.FontWidth(); ++x)
                if (character.pixel(x, y) == kBlack)
                    image.fill((glyph.x + x) * scale, y * scale, scale, scale, style.ink);
    }
    if (style.marker)
        for (const int x : layout.skipped)
            image.fill(std::min(x * scale, std::max(image.width() - 1, 0)), 0, 1, image.height(),
                       *style.marker);
    return image;
}

} // namespace tesselor
