// PALETTED8 against its limits in one run: the whole process on a 4000 x 4000 PNG against the RGB565
// export of the same file (CPU time; aim at most 2 x), and the dithered palette of five images against
// pngquant --speed 1 (PSNR over premultiplied RGBA; aim within 1 dB).
#include "bench_support.h"
#include "bitmap/bitmap_payload.h"
#include "bitmap/payload_decoder.h"
#include "qtplatform/qt_image_decoder.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tesselor;

namespace {

// Runs a program to its end; its CPU time in seconds, or a negative number when it failed.
double cpuSeconds(const std::vector<std::string>& arguments) {
    const bench::Process process = bench::runProcess(arguments);
    return process.ok ? process.cpuSeconds : -1;
}

// The best of three runs.
double bestCpu(const std::vector<std::string>& arguments) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i)
        best = std::min(best, cpuSeconds(arguments));
    return best;
}

struct Image {
    PixelImage pixels;
    std::vector<std::uint8_t> alpha; // empty: opaque
};

Image decoded(const std::string& path) {
    QtImageDecoder decoder;
    const DecodedImage image = decoder.decode(path);
    Image out;
    readAllRows(*image.rows, out.pixels, out.alpha);
    return out;
}

// PSNR over premultiplied RGBA: what a display shows over any background.
double psnr(const Image& a, const Image& b) {
    double sum = 0;
    const std::size_t count = a.pixels.pixels().size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t alphaA = a.alpha.empty() ? 255 : a.alpha[i];
        const std::uint8_t alphaB = b.alpha.empty() ? 255 : b.alpha[i];
        const Rgba p = rgbaOf(a.pixels.pixels()[i], alphaA), q = rgbaOf(b.pixels.pixels()[i], alphaB);
        const double fp = p.a / 255.0, fq = q.a / 255.0;
        sum += std::pow(p.r * fp - q.r * fq, 2) + std::pow(p.g * fp - q.g * fq, 2) +
               std::pow(p.b * fp - q.b * fq, 2) + std::pow(double(p.a) - q.a, 2);
    }
    const double mse = sum / (4.0 * double(count));
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string convert = "/usr/bin/convert";
    if (access(convert.c_str(), X_OK) != 0) {
        std::printf("ImageMagick is not installed: skipping\n");
        return 0;
    }
    const std::string tesselor = argc > 1 ? argv[1] : TESSELOR_EXECUTABLE;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";

    // The time: a 4000 x 4000 plasma, opaque and with an alpha gradient.
    const std::string big = folder + "big.png", bigAlpha = folder + "big_alpha.png";
    cpuSeconds({convert, "-size", "4000x4000", "-seed", "7", "plasma:fractal", "PNG24:" + big});
    cpuSeconds({convert, big, "(", "-size", "4000x4000", "gradient:", ")", "-alpha", "off", "-compose",
                "CopyOpacity", "-composite", "PNG32:" + bigAlpha});
    std::printf("4000 x 4000 PNG, whole process, CPU seconds (best of 3):\n");
    for (const std::string& input : {big, bigAlpha}) {
        const double native = bestCpu({tesselor, "bitmap-export", input, "-o", folder + "n.resdata"});
        const double paletted = bestCpu({tesselor, "bitmap-export", input, "--ft800", "--ft-format",
                                         "PALETTED8", "-o", folder + "p.resdata"});
        std::printf("  %-16s RGB565 %.3f s  PALETTED8 %.3f s  ratio %.2f (aim at most 2)\n",
                    input == big ? "opaque" : "alpha gradient", native, paletted, paletted / native);
    }

    // The quality of dithering: five images of 640 x 480.
    const std::string size = "640x480";
    const std::vector<std::pair<std::string, std::vector<std::string>>> images = {
        {"plasma", {"-size", size, "-seed", "3", "plasma:fractal", "-alpha", "opaque"}},
        {"gradient", {"-size", size, "gradient:#203080-#F0C040"}},
        {"screenshot",
         {"-size",
          size,
          "xc:#ECECEC",
          "-fill",
          "#3060C0",
          "-draw",
          "rectangle 0,0 640,36",
          "-fill",
          "#FFFFFF",
          "-pointsize",
          "18",
          "-annotate",
          "+12+25",
          "Settings - Display",
          "-fill",
          "#202020",
          "-pointsize",
          "13",
          "-annotate",
          "+20+80",
          "Brightness  Contrast  Colour temperature  Sleep after 5 minutes",
          "-fill",
          "#C03030",
          "-annotate",
          "+20+120",
          "Warning: the battery is low (12%)",
          "-fill",
          "#30A050",
          "-draw",
          "roundrectangle 20,160 220,200 8,8",
          "-fill",
          "#FFFFFF",
          "-annotate",
          "+60+186",
          "Apply"}},
        {"photo", {"rose:", "-resize", size + "!"}},
        {"plasma, alpha gradient",
         {"-size", size, "-seed", "3", "plasma:fractal", "(", "-size", size, "gradient:", ")", "-alpha",
          "off", "-compose", "CopyOpacity", "-composite"}},
    };
    const bool quant = access("/usr/bin/pngquant", X_OK) == 0;
    std::printf("PALETTED8 --dither against pngquant --speed 1, PSNR over premultiplied RGBA:\n");
    for (const auto& [name, recipe] : images) {
        const std::string source = folder + "source.png", theirs = folder + "quant.png";
        std::vector<std::string> command = {convert};
        command.insert(command.end(), recipe.begin(), recipe.end());
        command.push_back("PNG32:" + source);
        cpuSeconds(command);
        const Image original = decoded(source);
        QtImageDecoder decoder;
        const DecodedImage rows = decoder.decode(source);
        const auto payload = BitmapPayload(*rows.rows, *ft8xxFormat("PALETTED8"), true);
        const auto shown = decodePayload(*payload, true);
        const double ours = psnr(original, {shown->image, shown->alpha});
        if (!quant) {
            std::printf("  %-24s tesselor %6.2f dB (pngquant is not installed)\n", name.c_str(), ours);
            continue;
        }
        cpuSeconds({"/usr/bin/pngquant", "--speed", "1", "--force", "--output", theirs, "256", source});
        const double them = psnr(original, decoded(theirs));
        std::printf("  %-24s tesselor %6.2f dB  pngquant %6.2f dB  difference %+.2f dB\n", name.c_str(), ours,
                    them, ours - them);
    }
    return 0;
}
