#include "app/font_page.h"
#include "app/form_tesselor.h"
#include "bmp_writer.h"
#include "dialogs/form_font_range.h"
#include "editor/font_grid.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "fontio/font_file.h"
#include "fontio/font_import.h"
#include "gui_support.h"
#include "platform/text.h"
#include "qtplatform/qt_rasteriser.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tesselor;

namespace {
QFont dejaVu(int points, bool bold = false, bool italic = false) {
    QFont font("DejaVu Sans");
    font.setPointSize(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
} // namespace

class ImportTest : public QObject, protected WindowFixture {
    Q_OBJECT

private:
    FontPage* page = nullptr;

    void importSystem(const QFont& font, int first, int last) {
        dialogs->fontAnswers.push_back(font);
        dialogs->rangeAnswers.push_back({first, last});
        page->FontMenuFile_ImportSystemFontClick();
    }

    std::string charsFolder(const char* name) {
        QDir(dir->path()).mkpath(name);
        return dir->filePath(name).toStdString();
    }
    void writeChar(const std::string& folder, const std::string& file, const PixelImage& image,
                   const testsupport::BmpOptions& options = {}) {
        testsupport::writeFile(QString::fromStdString(folder + "/" + file),
                               testsupport::writeBmp(image, options));
    }
    void importFolder(const std::string& folder) {
        dialogs->fileAnswers.push_back(folder);
        page->FontMenuFile_ImportBmpCharClick();
    }

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        QVERIFY(showWindow());
    }
    void cleanup() { destroyWindow(); }

    void rasteriserIsBiLevelWithTheBoxOfTheFont() {
        for (int points : {8, 12, 24}) {
            for (auto [bold, italic] : {std::pair{false, false}, {true, false}, {false, true}}) {
                QtRasteriser rasteriser(dejaVu(points, bold, italic));
                const QFontMetrics metrics(rasteriser.font());
                QCOMPARE(rasteriser.font().pixelSize(), qRound(points * 96.0 / 72.0));
                for (int code : {65, 103, 87, 32}) {
                    PixelImage image(100, 100, 0x123456);
                    rasteriser.drawChar(image, code, 3, 2, kBlack, kWhite);
                    const int advance = metrics.horizontalAdvance(QChar(code));
                    const int height = metrics.ascent() + metrics.descent();
                    int ink = 0;
                    for (int y = 0; y < 100; ++y)
                        for (int x = 0; x < 100; ++x) {
                            const Colour c = image.pixel(x, y);
                            const bool inBox = x >= 3 && y >= 2 && x < 3 + advance && y < 2 + height;
                            if (inBox)
                                QVERIFY2(c == kBlack || c == kWhite, "only the two colours in the box");
                            else
                                QVERIFY2(c == kBlack || c == 0x123456, "only ink outside the box");
                            ink += c == kBlack;
                        }
                    QCOMPARE(ink > 0, code != 32);
                }
            }
        }
    }

    void windows1252CodePage() {
        QCOMPARE(windows1252Char(0x80), QChar(0x20AC));
        QCOMPARE(windows1252Char(0x82), QChar(0x201A));
        QCOMPARE(windows1252Char(0x83), QChar(0x0192));
        QCOMPARE(windows1252Char(0x9F), QChar(0x0178));
        QCOMPARE(windows1252Char(0x41), QChar('A'));
        QCOMPARE(windows1252Char(0xE9), QChar(0xE9));
        // The euro sign draws ink.
        QtRasteriser rasteriser(dejaVu(12));
        PixelImage image(40, 40);
        rasteriser.drawChar(image, 0x80, 0, 0, kBlack, kWhite);
        QVERIFY(std::count(image.pixels().begin(), image.pixels().end(), kBlack) > 10);
    }

    void importSystemFontGivesAFontOfTheMeasuredCell() {
        importSystem(dejaVu(12), 32, 127);
        QVERIFY(dialogs->allAnswered());
        QCOMPARE(dialogs->fontOffers.size(), std::size_t(1));
        QVERIFY(dialogs->fontOffers[0].family() == "Arial" ||
                dialogs->fontOffers[0].family() == "DejaVu Sans");
        QCOMPARE(dialogs->fontOffers[0].pointSize(), 12);
        QCOMPARE(dialogs->rangeDialogs, 1);

        QCOMPARE(window->windowTitle(), QString("Tesselor [Font: DejaVu Sans 12 Regular]"));
        QCOMPARE(state().FontBaseName, std::string("DejaVu Sans 12 Regular"));
        QCOMPARE(page->sbFont->panelText(2), QString("Char code from 32 to 127"));
        QCOMPARE(state().font.RangeFrom, 32);
        QCOMPARE(state().font.RangeTo, 127);
        QVERIFY(!state().FontModified);
        QVERIFY(page->editorShown());

        QtRasteriser rasteriser(dejaVu(12));
        const QFontMetrics metrics(rasteriser.font());
        QCOMPARE(state().font.FontHeight(), metrics.ascent() + metrics.descent());
        int widest = 0;
        for (int c = 32; c <= 127; ++c)
            widest = std::max(widest, metrics.horizontalAdvance(windows1252Char(c)));
        QCOMPARE(state().font.FontWidth(), widest + 5);
        QCOMPARE(int(state().font.CharWidths[32]), 1);
        for (int c = 32; c <= 127; ++c)
            for (const Colour colour : state().font.CharImages[std::size_t(c)].pixels())
                QVERIFY(colour == kBlack || colour == kWhite);
        QCOMPARE(page->sbFont->panelText(0), "Col " + QString::number(state().font.widestWidth()));

        // Without the option the ink of 'l' (no left bearing to speak of) starts right of column 0.
        bool columnZeroInk = false;
        for (int y = 0; y < state().font.FontHeight(); ++y)
            columnZeroInk |= state().font.CharImages['l'].pixel(0, y) == kBlack;
        QVERIFY(!columnZeroInk);

        // The next import offers the last font and the last range.
        importSystem(dejaVu(8), 48, 57);
        QCOMPARE(dialogs->fontOffers.back().pointSize(), 12);
        QCOMPARE(window->FormFontRange->seFromChar->value(), 48);
        QCOMPARE(window->FormFontRange->seToChar->value(), 57);
        QCOMPARE(page->importFont().pointSize(), 8);
    }

    void removeLeftBlankStartsEveryCharacterAtColumnZero() {
        page->FontMenuEdit_RemoveLeftBlank->trigger();
        QVERIFY(state().RemoveLeftBlank);
        importSystem(dejaVu(12), 65, 90);
        for (int c = 65; c <= 90; ++c) {
            const PixelImage& image = state().font.CharImages[std::size_t(c)];
            bool ink = false;
            int rightmost = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) == kBlack) {
                        ink |= x == 0;
                        rightmost = std::max(rightmost, x);
                    }
            QVERIFY2(ink, qPrintable(QString("code %1").arg(c)));
            QCOMPARE(int(state().font.CharWidths[std::size_t(c)]), rightmost + 1);
        }
    }

    void labelsOfStyles() {
        importSystem(dejaVu(10, true, true), 65, 65);
        QCOMPARE(window->windowTitle(), QString("Tesselor [Font: DejaVu Sans 10 Bold_Italic]"));
        QFont underlined = dejaVu(10);
        underlined.setUnderline(true);
        importSystem(underlined, 65, 65);
        QCOMPARE(state().FontBaseName, std::string("DejaVu Sans 10 "));
    }

    void cancelledFontDialogChangesNothing() {
        importSystem(dejaVu(12), 65, 66);
        state().FontModified = true;
        dialogs->questionAnswers = {MessageButton::No};
        dialogs->fontAnswers = {std::nullopt};
        page->FontMenuFile_ImportSystemFontClick();
        QVERIFY(state().FontModified);
        QCOMPARE(window->windowTitle(), QString("Tesselor [Font: DejaVu Sans 12 Regular]"));
        QCOMPARE(dialogs->rangeDialogs, 1);
        // Yes to the question ends the command before the font dialog.
        dialogs->questionAnswers = {MessageButton::Yes};
        page->FontMenuFile_ImportSystemFontClick();
        QCOMPARE(dialogs->fontOffers.size(), std::size_t(2));
        QVERIFY(dialogs->allAnswered());
    }

    void importedFontSavesAndReopensIdentically() {
        importSystem(dejaVu(12), 32, 127);
        page->seCharCode->setValue(65);
        page->bShiftDown->click();
        page->bHorizontalMirror->click();
        page->FontMenuEdit_Cut->trigger();
        page->seCharCode->setValue(66);
        page->FontMenuEdit_Paste->trigger();
        const std::string file = dir->filePath("dejavu.font").toStdString();
        dialogs->fileAnswers.push_back(file);
        page->FontMenuFile_SaveGraphicFontClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("DejaVu_Sans_12_Regular.font"));
        const FontModel saved = state().font;
        dialogs->fileAnswers.push_back(file);
        page->FontMenuFile_OpenGraphicFontClick();
        QVERIFY(dialogs->allAnswered());
        QCOMPARE(state().font.FontWidth(), saved.FontWidth());
        for (int c = 32; c <= 127; ++c) {
            QCOMPARE(state().font.CharImages[std::size_t(c)], saved.CharImages[std::size_t(c)]);
            QCOMPARE(state().font.CharWidths[std::size_t(c)], saved.CharWidths[std::size_t(c)]);
        }
    }

    void importBmpCharsFromAFolder() {
        const std::string folder = charsFolder("digits");
        const int depths[] = {1, 4, 8, 16, 24, 32, 24, 8, 4, 24};
        for (int c = 48; c <= 57; ++c) {
            PixelImage image(8, 12);
            image.setPixel(1, 2, kBlack);
            image.setPixel(c - 48 < 6 ? c - 46 : 7, 9, kBlack);
            testsupport::BmpOptions options;
            options.bits = depths[c - 48];
            if (c == 55)
                options.compression = testsupport::BmpOptions::Compression::Rle8;
            if (c == 56)
                options.compression = testsupport::BmpOptions::Compression::Rle4;
            if (c == 57)
                options.topDown = true;
            writeChar(folder, std::to_string(c) + ".bmp", image, options);
        }
        writeChar(folder, "20.bmp", PixelImage(3, 3, kBlack)); // below 32: ignored
        importFolder(folder);
        QVERIFY(dialogs->allAnswered());
        QCOMPARE(dialogs->fileCalls.back().kind, std::string("folder"));
        QCOMPARE(dialogs->fileCalls.back().request.title, std::string("Select Folder BMP"));
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, std::string());
        QVERIFY(dialogs->messages.empty());
        QCOMPARE(page->sbFont->panelText(2), QString("Code char from 48 to 57"));
        QCOMPARE(state().font.FontWidth(), 8);
        QCOMPARE(state().font.FontHeight(), 12);
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + folder + "]"));
        QCOMPARE(state().BmpCharsFolder, folder);
        QVERIFY(state().FontBaseName.empty());
        for (int c = 48; c <= 57; ++c) {
            QCOMPARE(state().font.CharImages[std::size_t(c)].pixel(1, 2), kBlack);
            QCOMPARE(int(state().font.CharWidths[std::size_t(c)]), c - 48 < 6 ? c - 45 : 8);
        }
        // The next dialog starts in the same folder; the save dialog proposes no name.
        dialogs->fileAnswers = {std::nullopt};
        page->FontMenuFile_ImportBmpCharClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, folder);
        dialogs->fileAnswers = {std::nullopt};
        page->FontMenuFile_SaveGraphicFontClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("*.font"));
    }

    void bmpCharsInColourAndGaps() {
        const std::string folder = charsFolder("gaps");
        PixelImage red(6, 6);
        for (int y = 1; y < 5; ++y)
            red.setPixel(3, y, 0x0000FF);
        writeChar(folder, "65.bmp", red);
        writeChar(folder, "67.bmp", PixelImage(6, 6)); // all white
        importFolder(folder);
        QCOMPARE(state().font.RangeFrom, 65);
        QCOMPARE(state().font.RangeTo, 67);
        QCOMPARE(state().font.CharImages[65].pixel(3, 2), Colour(0x0000FF));
        QCOMPARE(int(state().font.CharWidths[65]), 4);
        QCOMPARE(int(state().font.CharWidths[66]), 1);
        QCOMPARE(int(state().font.CharWidths[67]), 1);
        // Red is no black: the .font file holds no "1" in any row of 65.
        const auto lines = writeFontFile(state().font);
        for (std::size_t i = 7; i < 13; ++i)
            QVERIFY(lines[i].find('1', 11) == std::string::npos);
    }

    void bmpCharsOfMixedSizes() {
        const std::string folder = charsFolder("mixed");
        PixelImage small(8, 12);
        small.setPixel(7, 11, kBlack);
        PixelImage large(10, 12);
        large.setPixel(9, 0, kBlack);
        writeChar(folder, "65.bmp", small);
        writeChar(folder, "66.bmp", large);
        importFolder(folder);
        QCOMPARE(state().font.FontWidth(), 10);
        QCOMPARE(state().font.CharImages[65].width(), 10);
        QCOMPARE(state().font.CharImages[65].pixel(7, 11), kBlack);
    }

    void widthsBeyond255AreLimitedAndTold() {
        const std::string folder = charsFolder("wide");
        PixelImage wide(300, 2);
        wide.setPixel(299, 1, kBlack);
        writeChar(folder, "70.bmp", wide);
        writeChar(folder, "71.bmp", PixelImage(300, 2));
        importFolder(folder);
        QCOMPARE(int(state().font.CharWidths[70]), 255);
        QCOMPARE(int(state().font.CharWidths[71]), 1);
        QCOMPARE(dialogs->messages.size(), std::size_t(1));
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);
        QVERIFY(dialogs->lastMessage().text.ends_with("their width was set to 255:\r\n70."));
        QVERIFY(page->editorShown());
        QCOMPARE(page->seCharWidth->value(), 255);
    }

    void noCharacterFileHidesTheEditor() {
        importSystem(dejaVu(12), 65, 66);
        const std::string folder = charsFolder("empty");
        writeChar(folder, "10.bmp", PixelImage(2, 2));
        writeChar(folder, "300.bmp", PixelImage(2, 2));
        importFolder(folder);
        QCOMPARE(dialogs->lastMessage().text, std::string("Chars.bmp not found in the folder"));
        QCOMPARE(dialogs->lastMessage().title, std::string("Error"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
        QVERIFY(!page->editorShown());
        QVERIFY(page->dgridFont->isHidden());
        QVERIFY(page->sbFont->panelText(2).isEmpty());
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + folder + "]"));
        QCOMPARE(state().font.RangeFrom, 65535);
        QCOMPARE(state().font.RangeTo, 0);
        QVERIFY(!state().FontModified);
        // Nothing to save, so nothing is asked before the next import.
        importSystem(dejaVu(12), 65, 65);
        QVERIFY(dialogs->allAnswered());
    }

    void undecodableFileLeavesThePreviousFont() {
        importSystem(dejaVu(12), 65, 66);
        const FontModel before = state().font;
        const std::string folder = charsFolder("broken");
        writeChar(folder, "65.bmp", PixelImage(4, 4));
        testsupport::writeFile(QString::fromStdString(folder + "/66.bmp"), "BM this is not a bitmap");
        importFolder(folder);
        QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
        QVERIFY(QString::fromStdString(dialogs->lastMessage().text)
                    .contains(QString::fromStdString(folder + "/66.bmp")));
        QCOMPARE(window->windowTitle(), QString("Tesselor [Font: DejaVu Sans 12 Regular]"));
        QCOMPARE(state().font.RangeTo, 66);
        QCOMPARE(state().font.CharImages[65], before.CharImages[65]);
        QVERIFY(page->editorShown());
        QVERIFY(state().BmpCharsFolder.empty());
    }

    void editCommandsThroughTheMenu() {
        importSystem(dejaVu(12), 65, 67);
        QVERIFY(!page->FontMenuEdit_Paste->isEnabled());
        page->seCharCode->setValue(65);
        const PixelImage a = state().font.CharImages[65];
        const int widthA = state().font.CharWidths[65];
        page->FontMenuEdit_Cut->trigger();
        QVERIFY(page->FontMenuEdit_Paste->isEnabled());
        QVERIFY(state().FontModified);
        QCOMPARE(page->seCharWidth->value(), 1);
        QCOMPARE(state().font.CharImages[65], PixelImage(a.width(), a.height(), kWhite));
        page->seCharCode->setValue(66);
        page->FontMenuEdit_Paste->trigger();
        QVERIFY(page->FontMenuEdit_Restore->isEnabled());
        QCOMPARE(state().font.CharImages[66], a);
        QCOMPARE(page->seCharWidth->value(), widthA);
        page->FontMenuEdit_Restore->trigger();
        QVERIFY(!page->FontMenuEdit_Restore->isEnabled());
        QVERIFY(state().font.CharImages[66] != a);

        state().FontModified = false;
        page->FontMenuEdit_Copy->trigger();
        QVERIFY(!state().FontModified);
        QCOMPARE(page->FontMenuEdit_Restore->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    }

    void transformButtons() {
        importSystem(dejaVu(12), 65, 67);
        page->seCharCode->setValue(65);
        const int height = state().font.FontHeight();
        const int width = state().font.FontWidth();

        state().FontModified = false;
        page->bAddRow->click();
        page->bAddColumn->click();
        QVERIFY(!state().FontModified);
        QCOMPARE(page->sbFont->panelText(1), "Row " + QString::number(height + 1));
        QCOMPARE(page->dgridFont->rows(), height + 1);
        QCOMPARE(page->dgridFont->columns(), width + 1);
        QCOMPARE(page->sFont->height(), page->dgridFont->height() + 2);
        page->bRemoveRow->click();
        page->bRemoveColumn->click();
        QCOMPARE(state().font.FontHeight(), height);
        QCOMPARE(state().font.FontWidth(), width);
        QVERIFY(!state().FontModified);

        const int before = state().font.CharWidths[65];
        page->bShiftRight->click();
        QVERIFY(state().FontModified);
        QCOMPARE(page->seCharWidth->value(), before + 1);
        page->bShiftLeft->click();
        QCOMPARE(page->seCharWidth->value(), before);

        state().FontModified = false;
        page->bInvert->click();
        QVERIFY(state().FontModified);
        page->bInvert->click();
        page->bVerticalMirror->click();
        page->bVerticalMirror->click();
        state().FontModified = false;
        page->bHorizontalMirror->click();
        QVERIFY(state().FontModified);
        page->bHorizontalMirror->click();
        // Mirroring twice restores the pixels; the width is the recomputed one.
        QCOMPARE(page->seCharWidth->value(), before);
        page->bMoveDown->click();
        page->bMoveUp->click();
        page->bMoveRight->click();
        QCOMPARE(int(state().font.CharWidths[66]), 0 + state().font.CharWidths[66]);
        page->bMoveLeft->click();
        QCOMPARE(int(state().font.CharWidths[65]), before);
    }
};

QTEST_MAIN(ImportTest)
#include "import_test.moc"
