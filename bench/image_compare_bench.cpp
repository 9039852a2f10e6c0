// Whole processes against ImageMagick on the same files in one run: a 4000 x 4000 24-bit .bmp photo to
// an RGB565 .resdata (time and peak memory), and a photo to 256 colours without dithering (PSNR of our
// PALETTED8 against ImageMagick's -colors 256 +dither).
#include "bench_support.h"
#include "bitmap/payload_decoder.h"
#include "qtplatform/qt_image_decoder.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tesselor;

namespace {

struct Measured {
    double seconds = 0;
    double peakMb = 0;
};

// Runs a program to its end: wall time and the peak resident memory of the process.
Measured run(const std::vector<std::string>& arguments) {
    const bench::Process process = bench::runProcess(arguments);
    if (!process.ok) {
        std::fprintf(stderr, "%s failed\n", arguments[0].c_str());
        std::exit(1);
    }
    return {process.seconds, process.peakMb};
}

// The mean of `runs` alternating runs of two commands, after one of each to warm the caches.
std::pair<Measured, Measured> race(const std::vector<std::string>& ours,
                                   const std::vector<std::string>& theirs, int runs) {
    run(ours);
    run(theirs);
    Measured a, b;
    for (int i = 0; i < runs; ++i) {
        const Measured x = run(ours), y = run(theirs);
        a.seconds += x.seconds / runs;
        b.seconds += y.seconds / runs;
        a.peakMb = std::max(a.peakMb, x.peakMb);
        b.peakMb = std::max(b.peakMb, y.peakMb);
    }
    return {a, b};
}

double psnr(const PixelImage& a, const PixelImage& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels().size(); ++i) {
        const Rgba p = rgbaOf(a.pixels()[i]), q = rgbaOf(b.pixels()[i]);
        sum += std::pow(p.r - q.r, 2) + std::pow(p.g - q.g, 2) + std::pow(p.b - q.b, 2);
    }
    const double mse = sum / (3.0 * double(a.pixels().size()));
    return 10 * std::log10(255.0 * 255.0 / mse);
}

double megabytes(const std::string& path) {
    return double(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string convert = "/usr/bin/convert";
    if (access(convert.c_str(), X_OK) != 0) {
        std::printf("ImageMagick is not installed: skipping the comparison\n");
        return 0;
    }
    const std::string tesselor = argc > 1 ? argv[1] : TESSELOR_EXECUTABLE;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string photo = folder + "/photo.bmp", item = folder + "/photo.resdata",
                      theirs = folder + "/im.bmp";
    run({convert, "-size", "4000x4000", "-seed", "7", "plasma:fractal", "-depth", "8", "-type", "TrueColor",
         "BMP3:" + photo});

    const auto [ours, im] = race({tesselor, "bitmap-export", photo, "-o", item},
                                 {convert, photo, "-define", "bmp:subtype=RGB565", theirs}, 5);
    const double files = megabytes(photo) + megabytes(item);
    std::printf("4000 x 4000 24-bit .bmp to RGB565, whole process, mean of 5:\n");
    std::printf("  tesselor %.3f s, peak %.1f MB; ImageMagick %.3f s, peak %.1f MB\n", ours.seconds,
                ours.peakMb, im.seconds, im.peakMb);
    std::printf("  time ratio %.2f (aim at most 0.60); peak / (input + output) %.2f (aim at most 1.50)\n",
                ours.seconds / im.seconds, ours.peakMb / files);

    // A photo to 256 colours: both without dithering, against the source.
    const std::string small = folder + "/small.bmp", reduced = folder + "/reduced.bmp";
    run({convert, "-size", "640x480", "-seed", "11", "plasma:fractal", "-depth", "8", "-type", "TrueColor",
         "BMP3:" + small});
    run({convert, small, "+dither", "-colors", "256", "BMP3:" + reduced});
    QtImageDecoder decoder;
    const DecodedImage source = decoder.decode(small);
    const PixelImage original = source.pixels();
    const auto paletted = decodePayload(*BitmapPayload(*source.rows, *ft8xxFormat("PALETTED8")), true);
    const double oursDb = psnr(original, paletted->image);
    const double theirsDb = psnr(original, decoder.decode(reduced).pixels());
    std::printf("640 x 480 photo to 256 colours, no dithering: PSNR tesselor %.2f dB, ImageMagick %.2f dB "
                "(difference %+.2f dB)\n",
                oursDb, theirsDb, oursDb - theirsDb);
    return 0;
}
