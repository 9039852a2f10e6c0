#include "model/font_model.h"

#include "model/grey_levels.h"

#include <algorithm>

namespace tesselor {

int FontModel::firstCode() const {
    return std::max(RangeFrom, 0);
}

int FontModel::lastCode() const {
    return std::min(RangeTo, kCharCount - 1);
}

int FontModel::baselineRow() const {
    const int bottom = std::max(FontHeight() - 1, 0);
    return std::clamp(Baseline.value_or(bottom), 0, bottom);
}

int FontModel::widestWidth() const {
    int widest = 0;
    for (int c = firstCode(); c <= lastCode(); ++c)
        widest = std::max<int>(widest, CharWidths[static_cast<std::size_t>(c)]);
    return widest;
}

bool FontModel::isInk(Colour colour) const {
    return tesselor::isInk(colour, Depth);
}

FontModel bilevelFont(const FontModel& font) {
    FontModel bilevel = font;
    bilevel.Depth = 1;
    if (font.Depth <= 1)
        return bilevel;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        PixelImage& image = bilevel.CharImages[static_cast<std::size_t>(c)];
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y,
                               convertLevel(levelOf(image.pixel(x, y), font.Depth), font.Depth, 1) ? kBlack
                                                                                                   : kWhite);
    }
    return bilevel;
}

} // namespace tesselor
