// The Bitmap page with a 4000 x 4000 PNG: how long the window is kept from its events while the image is
// read and encoded (against the whole work), and the memory it then holds a pixel (against 12 bytes).
#include "app/bitmap_page.h"
#include "editor/work_progress.h"
#include "qtplatform/qt_image_decoder.h"
#include "window_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>

using namespace tesselor;
using bench::heapInUse;
using bench::NoDialogs;

namespace {

// Runs the event loop until the page's work is done: the whole time, and the longest the loop waited
// for its turn (a 5 ms timer that could not fire).
struct Waited {
    double seconds = 0;
    double longestGap = 0;
};
Waited untilIdle(BitmapPage& page, const std::function<void()>& start) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    Waited waited;
    start();
    waited.longestGap = double(clock.elapsed()) / 1e3; // the call itself holds the loop
    last = clock.elapsed();
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        waited.longestGap = std::max(waited.longestGap, double(now - last) / 1e3);
        last = now;
        if (!page.wpBitmap->isBusy())
            loop.quit();
    });
    tick.start();
    loop.exec();
    waited.seconds = double(clock.elapsed()) / 1e3;
    return waited;
}
// The resident peak since the last reset, in bytes.
std::size_t residentPeak() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    std::size_t kb = 0;
    while (status && std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %zu kB", &kb) == 1)
            break;
    if (status)
        std::fclose(status);
    return kb * 1024;
}
void resetResidentPeak() {
    if (std::FILE* file = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", file);
        std::fclose(file);
    }
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    constexpr int kSide = 4000;
    const double pixels = double(kSide) * kSide;
    QTemporaryDir dir;
    const std::string path = dir.filePath("big.png").toStdString();
    {
        QImage image(kSide, kSide, QImage::Format_ARGB32);
        for (int y = 0; y < kSide; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < kSide; ++x)
                line[x] = qRgba(int(127.5 + 127.5 * std::sin(x * 0.013 + y * 0.002)), (x ^ y) & 0xFF,
                                int(127.5 + 127.5 * std::cos(y * 0.011)), 255 - y * 255 / kSide);
        }
        image.save(QString::fromStdString(path), "PNG", 1);
    }

    NoDialogs dialogs;
    QWidget window;
    CommandSupport commands(dialogs, &window);
    AppState state;
    QtImageDecoder decoder;
    auto* page = new BitmapPage(state, commands, decoder, &window);
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    malloc_trim(0);
    resetResidentPeak();
    const std::size_t before = heapInUse();
    const std::size_t residentBefore = residentPeak();

    const Waited imported = untilIdle(*page, [&] { page->importBitmapFile(path); });
    std::printf("import and encode (RGB565), %d x %d PNG: %.2f s; the window waited at most %.3f s, "
                "ratio %.3f\n",
                kSide, kSide, imported.seconds, imported.longestGap, imported.longestGap / imported.seconds);
    const double held = double(heapInUse() - before) / pixels;
    std::printf("held after import: %.1f bytes a pixel, budget 12, ratio %.2f; resident peak while reading "
                "%.1f bytes a pixel\n",
                held, held / 12, double(residentPeak() - residentBefore) / pixels);

    page->cbForFT800->click();
    const Waited paletted = untilIdle(*page, [&] { page->cbFtFormat->setCurrentText("PALETTED8"); });
    const Waited dithered = untilIdle(*page, [&] { page->cbDither->click(); });
    for (const auto& [what, waited] : {std::pair{"PALETTED8", paletted}, {"PALETTED8 with Dither", dithered}})
        std::printf("%-22s %.2f s; the window waited at most %.3f s, ratio %.3f\n", what, waited.seconds,
                    waited.longestGap, waited.longestGap / waited.seconds);
    const double heldPaletted = double(heapInUse() - before) / pixels;
    std::printf("held with PALETTED8: %.1f bytes a pixel, budget 12, ratio %.2f\n", heldPaletted,
                heldPaletted / 12);
    return 0;
}
