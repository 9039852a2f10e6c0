// The largest font the importer can make, 224 characters of 305 x 300, through the three font outputs.
#include "bench_support.h"
#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"

#include <cstdint>
#include <random>

using namespace tesselor;

int main() {
    FontModel font;
    font.FontName = "Largest";
    font.CellImage = PixelImage(305, 300);
    font.RangeFrom = 32;
    font.RangeTo = 255;
    std::mt19937 random(7);
    for (int c = 32; c <= 255; ++c) {
        PixelImage& image = font.CharImages[static_cast<std::size_t>(c)];
        image = PixelImage(305, 300);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 305; ++x)
                if (random() % 3 == 0)
                    image.setPixel(x, y, kBlack);
        font.CharWidths[static_cast<std::size_t>(c)] = 255;
    }

    std::size_t size = 0;
    double seconds = bench::bestSeconds([&] { size = FontPayload(font).size(); });
    bench::report("FontPayload", size, seconds, bench::fwriteSeconds(size));
    seconds = bench::bestSeconds([&] { size = fontCSource(font, "Largest_255x300").size(); });
    bench::report(".c text", size, seconds, bench::fwriteSeconds(size));
    seconds = bench::bestSeconds([&] {
        size = lcdText(font, CodePage{kDefaultCodePage, {}}, font.FontName).size();
    });
    bench::report(".lcd text", size, seconds, bench::fwriteSeconds(size));
    return 0;
}
