// A 4000 x 4000 24-bit image and a 2000 x 2000 image of 256 colours through the bitmap encoder and its
// .c text.
#include "bench_support.h"
#include "bitmap/bitmap_payload.h"

#include <random>

using namespace tesselor;

namespace {
void measure(const char* label, const PixelImage& image, const BitmapEncoding& encoding) {
    Bytes payload;
    double seconds = bench::bestSeconds([&] { payload = *BitmapPayload(image, encoding); });
    const std::string what = std::string(label) + " payload";
    bench::report(what.c_str(), payload.size(), seconds, bench::fwriteSeconds(payload.size()));
    std::size_t size = 0;
    seconds = bench::bestSeconds(
        [&] { size = bitmapCSource(*BitmapPayload(image, encoding), encoding, false, "bench_bmp").size(); });
    const std::string text = std::string(label) + " .c text";
    bench::report(text.c_str(), size, seconds, bench::fwriteSeconds(size));
}
} // namespace

int main() {
    std::mt19937 random(11);
    PixelImage photo(4000, 4000);
    for (int y = 0; y < 4000; ++y)
        for (int x = 0; x < 4000; ++x)
            photo.setPixel(x, y, random() & 0xFFFFFF);
    measure("4000 x 4000, 24 bit", photo, bitmapEncoding(16, false));

    std::vector<Colour> palette(256);
    for (std::size_t i = 0; i < palette.size(); ++i) // 256 colours distinct in RGB565
        palette[i] = static_cast<Colour>((i % 32) << 3 | (i / 32) << 10);
    PixelImage indexed(2000, 2000);
    for (int y = 0; y < 2000; ++y)
        for (int x = 0; x < 2000; ++x)
            indexed.setPixel(x, y, palette[random() % 256]);
    measure("2000 x 2000, 256 colours", indexed, bitmapEncoding(8, false));
    return 0;
}
