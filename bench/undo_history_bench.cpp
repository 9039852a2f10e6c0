// A history of 1,000 steps on the largest cell (512 x 512): strokes, transforms, cut and paste, through
// the Font page's own handlers. Prints the memory the history holds against its budget of 50 MB.
#include "app/font_page.h"
#include "editing/transforms.h"
#include "editor/spin_control.h"
#include "platform/image_decoder.h"
#include "window_support.h"

#include <QApplication>
#include <QUndoStack>

#include <cstdio>
#include <random>

using namespace tesselor;
using bench::heapInUse;
using bench::NoDialogs;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    NoDialogs dialogs;
    QWidget window;
    CommandSupport commands(dialogs, &window);
    AppState state;
    FontDocument document;
    struct NoDecoder : ImageDecoder {
        DecodedImage decode(const std::string&, const Progress&) override { return {}; }
    } decoder;
    FontPage page(state, document, commands, decoder, &window);

    // Two characters of the largest cell, half their pixels black at random.
    FontModel font;
    font.CellImage = PixelImage(512, 512);
    font.RangeFrom = 65;
    font.RangeTo = 66;
    std::mt19937 random(11);
    for (int c = 65; c <= 66; ++c) {
        PixelImage& image = font.CharImages[std::size_t(c)] = PixelImage(512, 512);
        for (int y = 1; y < 511; ++y)
            for (int x = 1; x < 400; ++x)
                image.setPixel(x, y, random() % 2 ? kBlack : kWhite);
        font.CharWidths[std::size_t(c)] = 200;
    }
    document.open(std::move(font), {true, "Tesselor [bench]", "bench", "Code char from ", {}});

    const std::size_t before = heapInUse();
    int steps = 0;
    for (int round = 0; steps < 1000; ++round) {
        switch (round % 8) {
        case 0: // a stroke of 100 pixels
            page.dgridFontMouseDown(Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, QPoint(round % 500, 0));
            for (int i = 1; i < 100; ++i)
                page.dgridFontMouseMove(Qt::LeftButton, Qt::NoModifier, QPoint((round + i) % 500, i));
            page.dgridFontMouseUp();
            break;
        case 1:
            page.bInvertClick();
            break;
        case 2:
            page.bShiftRightClick();
            break;
        case 3:
            page.bHorizontalMirrorClick();
            break;
        case 4:
            page.FontMenuEdit_CutClick();
            break;
        case 5:
            page.FontMenuEdit_PasteClick();
            break;
        case 6:
            page.bAddColumnClick();
            break;
        case 7:
            page.seCharCode->setValue(round % 16 < 8 ? 65 : 66);
            page.bMoveLeftClick();
            break;
        }
        steps = page.undoStack()->count();
    }
    const std::size_t used = heapInUse() - before;
    std::printf("history of %d steps on a 512 x 512 cell: %.1f MB, budget 50 MB, ratio %.2f\n",
                page.undoStack()->count(), double(used) / 1e6, double(used) / 50e6);
    return 0;
}
