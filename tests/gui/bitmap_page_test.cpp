// The Bitmap page and the image decoder under it: import, the status bar, the FT800 option and the two
// outputs. The core checks the payload bytes; these check what reaches it and where it is written.
#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/recent_files.h"
#include "bitmap/bitmap_payload.h"
#include "bmp_writer.h"
#include "dialogs/form_c_output.h"
#include "editor/image_view.h"
#include "editor/status_panels.h"
#include "editor/work_progress.h"
#include "gui_support.h"
#include "model/error.h"
#include "qtplatform/qt_image_decoder.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>
#include <thread>

using namespace tesselor;
using testsupport::BmpOptions;

namespace {
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
const PixelImage kRedBlue = testsupport::imageFromRows({"rb"}, {{'r', kRed}, {'b', kBlue}});
} // namespace

class BitmapPageTest : public QObject, protected WindowFixture {
    Q_OBJECT

    BitmapPage* page = nullptr;

    std::string bmp(const std::string& name, const PixelImage& image, const BmpOptions& options = {}) {
        return testsupport::writeFile(QString::fromStdString(path(name)),
                                      testsupport::writeBmp(image, options));
    }
    void import(const std::string& file) {
        dialogs->fileAnswers.push_back(file);
        page->BitmapMenuFile_ImportBitmapClick();
        QVERIFY(settled());
    }
    QString status(int panels = 3) {
        QStringList texts;
        for (int i = 0; i < panels; ++i)
            texts << page->sbBitmap->panelText(i);
        return texts.join('|');
    }
    // The payload of a .resdata the page creates, after its 15-byte item header ("out").
    std::string createdPayload() {
        QFile::remove(QString::fromStdString(path("out.resdata"))); // no question to overwrite
        create(page->BitmapMenuFile_CreateFileResdata, path("out"));
        return testsupport::readFile(path("out.resdata")).substr(15);
    }
    std::string png(const std::string& name, const QImage& image) {
        image.save(QString::fromStdString(path(name)), "PNG");
        return path(name);
    }

private slots:
    void init() {
        createWindow();
        page = window->tsBitmap;
        window->PageControl->setCurrentIndex(1);
    }
    void cleanup() { destroyWindow(); }

    void importShowsThePictureAndItsFormat() {
        PixelImage image(3000, 40, kWhite);
        image.setPixel(10, 20, kRed);
        const std::string file = bmp("my logo.bmp", image);
        import(file);
        QVERIFY(dialogs->messages.empty());
        QCOMPARE(state().BitmapBaseName, std::string("my logo_bmp"));
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + file + "]"));
        QCOMPARE(status(), QString("Width 3000|Height 40|Bitmap Format: 24 bit"));
        QCOMPARE(page->imgBitmap->image().pixelColor(10, 20), QColor(255, 0, 0));
        QCOMPARE(page->pBitmap->minimumSize(), QSize(3000, 40)); // the scroll area reaches all of it
        QVERIFY(page->BitmapMenuFile_ForFT800->isEnabled() &&
                page->BitmapMenuFile_CreateFileResdata->isEnabled());
        dialogs->fileAnswers = {std::nullopt};
        page->BitmapMenuFile_ImportBitmapClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());
        // A layout outside the table shows no format text and keeps the depth of the image before.
        import(bmp("p.bmp", kRedBlue, {.bits = 8}));
        QCOMPARE(int(state().BitmapBits), 8);
        import(bmp("masked.bmp", kRedBlue,
                   {.bits = 32, .compression = BmpOptions::Compression::Bitfields, .masks = {
                        0xFF0000,
                        0xFF00,
                        0xFF
                    }}));
        QCOMPARE(status(), QString("Width 2|Height 1|Bitmap Format: "));
        QCOMPARE(int(state().BitmapBits), 8);
        QVERIFY(!state().BitmapLayoutListed);
    }

    // Every layout decodes to the colours it stores; narrow channels read full as 255.
    void decodedPixelsOfEveryLayout() {
        using C = BmpOptions::Compression;
        PixelImage image(9, 3, kWhite);
        image.setPixel(0, 0, kBlack);
        image.setPixel(8, 2, 0x336699);
        image.setPixel(4, 1, kBlack);
        const BmpOptions options[] = {
            {.bits = 24},
            {.bits = 24, .topDown = true},
            {.bits = 24, .headerSize = 12},
            {.bits = 32, .fillByte = 0x80},
            {.bits = 8},
            {.bits = 8, .compression = C::Rle8},
            {.bits = 4, .compression = C::Rle4},
            {.bits = 4, .topDown = true},
        };
        QtImageDecoder decoder;
        for (const BmpOptions& o : options)
            QCOMPARE(decoder.decode(bmp("p.bmp", image, o)).pixels(), image);
        PixelImage bw(2, 1, kWhite);
        bw.setPixel(1, 0, kBlack);
        for (const BmpOptions& o :
             {BmpOptions{.bits = 16},
              BmpOptions{.bits = 16, .compression = C::Bitfields, .masks = {0xF800, 0x07E0, 0x001F}}})
            QCOMPARE(decoder.decode(bmp("w16.bmp", bw, o)).pixels(), bw);
        // 5-bit channels scale to 8 bits rounded: red 24 is kept as level 3, 24.7, read as 25.
        QCOMPARE(
            decoder.decode(bmp("d16.bmp", PixelImage(1, 1, 0x000018), {.bits = 16})).pixels().pixel(0, 0),
            Colour(0x000019));
    }

    // Reading a file Qt decodes tells how far it has come, and stops when told.
    void decodingReportsAndStops() {
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const std::string file = png("p.png", picture);
        QtImageDecoder decoder;
        long long furthest = 0;
        long long size = 0;
        decoder.decode(file, [&](int, long long part, long long total) {
            furthest = std::max(furthest, part);
            size = total;
            return true;
        });
        QCOMPARE(size, QFileInfo(QString::fromStdString(file)).size());
        QVERIFY(furthest > 0 && furthest <= size);
        QVERIFY_THROWS_EXCEPTION(Cancelled,
                                 decoder.decode(file, [](int, long long, long long) { return false; }));
    }

    // A file that cannot be imported leaves the image, its names and the title.
    void refusedImportsChangeNothing() {
        const std::string good = bmp("good.bmp", kRedBlue);
        import(good);
        import(path("none.bmp"));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("none.bmp") + "'\r\nNot found.");
        std::string cut = testsupport::writeBmp(PixelImage(4, 4));
        cut.pop_back();
        for (const auto& [name, bytes] :
             {std::pair<std::string, std::string>{"bad.bmp", "BM not really a bitmap"}, {"cut.bmp", cut}}) {
            import(testsupport::writeFile(dir->filePath(QString::fromStdString(name)), bytes));
            QVERIFY(dialogs->lastMessage().text.starts_with("Cannot decode '" + path(name) + "'"));
        }
        QCOMPARE(state().BitmapFilePath, good);
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + good + "]"));
        QCOMPARE(state().BitmapImage, kRedBlue);
    }

    // Both outputs carry the payload of the image as the FT800 option stands when they are made.
    void outputsFollowTheFt800Option() {
        import(bmp("logo.bmp", kRedBlue));
        for (const bool ft800 : {false, true, false}) {
            if (ft800 != state().ForFT800)
                page->BitmapMenuFile_ForFT800->trigger();
            QCOMPARE(page->BitmapMenuFile_ForFT800->isChecked(), ft800);
            const std::string code = ft800 ? "\x07" : "\x10";
            dialogs->questionAnswers = {MessageButton::Yes, MessageButton::Yes};
            create(page->BitmapMenuFile_CreateFileC, path("out.c"));
            QCOMPARE(dialogs->dialogsShown.back(),
                     std::string("FormCOutput")); // its defaults: the bytes of old
            const std::string text = testsupport::readFile(path("out.c"));
            QCOMPARE(text.find("// for the FT800 graphics controller\r\n") != std::string::npos, ft800);
            QVERIFY(text.ends_with("const unsigned short logo_bmp[] = {\r\n  0x00,0x" +
                                   std::string(ft800 ? "07" : "10") +
                                   ",\r\n  0x01,0x00,\r\n  0x02,0x00,\r\n  0x00,0xF8,0x1F,0x00};\r\n"));
            create(page->BitmapMenuFile_CreateFileResdata, path("out"));
            QCOMPARE(testsupport::readFile(path("out.resdata")),
                     std::string("bmp\x0A\x00\x00\x00\x0F\x00\x00\x00\x03out\x00", 16) + code +
                         std::string("\x01\x00\x02\x00\x00\xF8\x1F\x00", 8));
            QCOMPARE(dialogs->lastMessage().text, path("out.resdata") + "\r\nSuccesfully created.");
        }
        // The font item's dialog opens where the image item was written.
        dialogs->fileAnswers = {std::nullopt};
        window->tsFont->FontMenuFile_CreateFileResdataClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());
    }

    // A PNG with transparency to the formats of the list, seen decoded back beside the source; the box and
    // the menu item are one option; Deflate makes a zlib stream of the same bytes.
    void transparentPngThroughTheFormats() {
        QImage three(3, 1, QImage::Format_ARGB32);
        for (const auto& [x, rgba] :
             {std::pair{0, qRgba(255, 0, 0, 255)}, {1, qRgba(0, 255, 0, 127)}, {2, qRgba(0, 0, 255, 0)}})
            three.setPixel(x, 0, rgba);
        window->PageControl->setCurrentIndex(0);
        QVERIFY(TFormTesselor::opensAtStart("alpha.PNG"));
        window->openAtStart(png("alpha.png", three)); // as "tesselor alpha.png" does
        QCOMPARE(window->PageControl->currentIndex(), 1);
        // Read apart: the window shows before the image is whole.
        QVERIFY(page->wpBitmap->isBusy() && state().BitmapImage.isEmpty());
        QVERIFY(settled());
        QCOMPARE(status(5),
                 QString("Width 3|Height 1|Bitmap Format: PNG 32 bit|Payload 12 bytes|Compression 1.0 : 1"));
        QVERIFY(!page->cbFtFormat->isEnabled());
        page->cbForFT800->click();
        QVERIFY(page->BitmapMenuFile_ForFT800->isChecked() && page->cbFtFormat->isEnabled());
        page->cbFtFormat->setCurrentText("L4");
        QCOMPARE(createdPayload(), std::string("\x00\x02\x01\x00\x03\x00\xF7\x00", 8));
        QVERIFY(settled());
        QCOMPARE(page->imgEncoded->image().pixelColor(1, 0), QColor(119, 119, 119)); // level 7 of 15
        QCOMPARE(status(5).section('|', 3), QString("Payload 8 bytes|Compression 1.5 : 1"));
        page->cbFtFormat->setCurrentText("ARGB4");
        QCOMPARE(createdPayload(), std::string("\x00\x06\x01\x00\x03\x00\x00\xFF\xF0\x70\x0F\x00", 12));
        QVERIFY(settled());
        QCOMPARE(page->imgEncoded->image().pixelColor(1, 0), QColor(0, 255, 0, 119));
        QCOMPARE(page->imgBitmap->image().pixelColor(1, 0), QColor(0, 255, 0, 127));

        page->cbDeflate->click();
        QCOMPARE(createdPayload().substr(0, 6), std::string("\x01\x06\x01\x00\x03\x00", 6));
        QVERIFY(settled());
        QCOMPARE(page->imgEncoded->image().pixelColor(1, 0),
                 QColor(0, 255, 0, 119)); // read back through inflate
        page->cbDeflate->click();

        page->BitmapMenuFile_ForFT800->trigger(); // the menu item unchecks the box
        QVERIFY(!page->cbForFT800->isChecked() && !page->cbFtFormat->isEnabled());
        QCOMPARE(createdPayload().substr(0, 2), std::string("\x00\x10", 2));
    }

    // Background, byte order, luminance and chip reach the encoder and the preview; the status bar says what
    // the format drops and what the chip refuses; the .c header has the layout.
    void deviceOptions() {
        QImage three(3, 1, QImage::Format_ARGB32);
        for (const auto& [x, rgba] :
             {std::pair{0, qRgba(255, 0, 0, 255)}, {1, qRgba(0, 255, 0, 127)}, {2, qRgba(0, 0, 255, 0)}})
            three.setPixel(x, 0, rgba);
        import(png("alpha.png", three));
        QCOMPARE(page->sbBitmap->panelText(5), QString("Alpha lost in native 16-bit"));
        QVERIFY(!page->cbLuminance->isEnabled() && !page->cbChip->isEnabled() &&
                page->cbSwapBytes->isEnabled());
        page->cbBackground->click(); // white until another colour is chosen
        QVERIFY(settled());
        QCOMPARE(page->sbBitmap->panelText(5), QString());
        QCOMPARE(createdPayload().substr(6), std::string("\x00\xF8\xF0\x87\xFF\xFF", 6));
        page->cbSwapBytes->click();
        QCOMPARE(createdPayload().substr(6), std::string("\xF8\x00\x87\xF0\xFF\xFF", 6));
        QVERIFY(settled());
        QCOMPARE(page->imgEncoded->image().pixelColor(0, 0), QColor(255, 0, 0)); // read back high byte first
        page->cbBackground->click();
        page->cbSwapBytes->click();

        page->cbForFT800->click();
        QVERIFY(!page->cbSwapBytes->isEnabled() && page->cbChip->isEnabled() &&
                !page->cbLuminance->isEnabled());
        page->cbFtFormat->setCurrentText("L4");
        QVERIFY(page->cbLuminance->isEnabled());
        page->cbLuminance->setCurrentText("Grey"); // grey 76, 150, 29: levels 4, 9, 2
        QCOMPARE(createdPayload().substr(6), std::string("\x49\x20", 2));
        dialogs->dialogAnswers.push_back([](QDialog& dialog) {
            dynamic_cast<TFormCOutput&>(dialog).cbHeader->setChecked(true);
            return true;
        });
        create(page->BitmapMenuFile_CreateFileC, path("alpha.c"));
        QVERIFY(testsupport::readFile(path("alpha.h"))
                    .find("#define ALPHA_BMP_FORMAT 2u\r\n#define ALPHA_BMP_WIDTH 3u") != std::string::npos);

        page->cbChip->setCurrentText("FT80x");
        page->cbFtFormat->setCurrentText("L2");
        QVERIFY(settled());
        QCOMPARE(page->sbBitmap->panelText(3), QString("Refused for the FT80x"));
        QCOMPARE(page->lblEncodedProblem->text(),
                 QString("L2 is no bitmap format on the FT80x (it needs FT81x, BT81x)"));
        QVERIFY(page->imgEncoded->image().isNull());
        create(page->BitmapMenuFile_CreateFileResdata, path("refused"));
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("L2 is no bitmap format on the FT80x (it needs FT81x, BT81x)"));
        QVERIFY(!QFileInfo::exists(dir->filePath("refused.resdata")));
    }

    // An indexed PNG keeps its depth in native mode; Dither reaches the encoder.
    void indexedPngAndDither() {
        QImage indexed(3, 1, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)});
        for (int x = 0; x < 3; ++x)
            indexed.setPixel(x, 0, uint(x));
        import(png("indexed.png", indexed));
        QCOMPARE(status(3).section('|', 2), QString("Bitmap Format: PNG 4 bit"));
        const std::string payload = createdPayload();
        QCOMPARE(payload.size(), std::size_t(6 + 32 + 2));
        QCOMPARE(payload.substr(0, 12), std::string("\x00\x04\x01\x00\x03\x00\x00\xF8\x1F\x00\xFF\xFF", 12));

        QImage ramp(64, 8, QImage::Format_RGB32);
        for (int x = 0; x < 64; ++x)
            for (int y = 0; y < 8; ++y)
                ramp.setPixel(x, y, qRgb(x * 4, x * 4, x * 4));
        import(png("ramp.png", ramp));
        page->cbForFT800->click();
        page->cbFtFormat->setCurrentText("L1");
        QVERIFY(settled());
        const QImage plain = page->imgEncoded->image();
        page->cbDither->click();
        QVERIFY(settled());
        QVERIFY(page->imgEncoded->image() != plain);
        PixelImageRows rows(state().BitmapImage);
        const Bytes dithered = BitmapPayload(rows, *ft8xxFormat("L1"), true).value();
        QCOMPARE(createdPayload(), std::string(dithered.begin(), dithered.end()));
    }

    // Cancel: an import leaves the page as it was; an encoding leaves no encoded picture (it was for other
    // options) until an option changes. The result of the stopped work never arrives.
    void cancelLeavesThePage() {
        const std::string first = bmp("first.bmp", kRedBlue);
        import(first);
        dialogs->fileAnswers.push_back(bmp("second.bmp", PixelImage(5, 5, kBlack)));
        page->BitmapMenuFile_ImportBitmapClick();
        QVERIFY(page->wpBitmap->isBusy());
        page->wpBitmap->btnCancel->click();
        QTest::qWait(50);
        QCOMPARE(state().BitmapImage, kRedBlue);
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + first + "]"));
        QCOMPARE(page->imgEncoded->image().pixelColor(1, 0), QColor(0, 0, 255));

        page->cbDither->click();
        page->wpBitmap->btnCancel->click();
        QTest::qWait(50);
        QVERIFY(page->imgEncoded->image().isNull());
        QCOMPARE(page->lblEncodedProblem->text(),
                 QString("Encoding cancelled: change an option to encode again."));
        QCOMPARE(status(6).section('|', 3), QString("||"));
        page->cbDither->click();
        QVERIFY(settled());
        QVERIFY(!page->imgEncoded->image().isNull() && !page->lblEncodedProblem->isVisible());
    }

    // The view never stops a command: options changed while a file is written are encoded after it (the
    // file has the options of when it was asked for), and an image chosen while another is read is read
    // next. Create File waits meanwhile.
    void commandsRunToTheirEnd() {
        import(bmp("first.bmp", kRedBlue));
        dialogs->fileAnswers.push_back(path("out"));
        page->BitmapMenuFile_CreateFileResdata->trigger();
        QVERIFY(!page->BitmapMenuFile_CreateFileC->isEnabled());
        page->cbForFT800->click();
        page->cbFtFormat->setCurrentText("L1");
        QVERIFY(settled());
        QCOMPARE(dialogs->lastMessage().text, path("out.resdata") + "\r\nSuccesfully created.");
        QCOMPARE(testsupport::readFile(path("out.resdata")).substr(15, 2), std::string("\x00\x10", 2));
        QCOMPARE(page->sbBitmap->panelText(3), QString("Payload 7 bytes"));
        QVERIFY(page->BitmapMenuFile_CreateFileC->isEnabled());

        dialogs->fileAnswers.push_back(bmp("second.bmp", PixelImage(4, 4, kBlack)));
        page->BitmapMenuFile_ImportBitmapClick();
        page->importBitmapFile(bmp("third.bmp", PixelImage(3, 3, kBlack)));
        QVERIFY(settled());
        QCOMPARE(state().BitmapImage, PixelImage(3, 3, kBlack));
        QCOMPARE(page->BitmapMenuFile_Recent->paths().mid(0, 2), // both were read
                 QStringList({dir->filePath("third.bmp"), dir->filePath("second.bmp")}));
        // Closed while a file is written: the file is written to its end. A pipe as the file holds the
        // writing until it is read.
        const std::string expected = testsupport::readFile(path("out.resdata"));
        page->cbForFT800->click();
        import(bmp("first.bmp", kRedBlue));
        QVERIFY(mkfifo(path("pipe.resdata").c_str(), 0600) == 0);
        dialogs->questionAnswers = {MessageButton::Yes};
        dialogs->fileAnswers.push_back(path("pipe"));
        page->BitmapMenuFile_CreateFileResdata->trigger();
        QTRY_COMPARE(page->wpBitmap->lblWork->text(), QString("Writing pipe.resdata"));
        std::string piped;
        std::thread reader([&] { piped = testsupport::readFile(path("pipe.resdata")); });
        window.reset();
        reader.join();
        QCOMPARE(piped.substr(16), expected.substr(15)); // after the item's name
    }

    // Work that lasts shows its caption, pass and share of the rows, and Cancel stops it; a result or a
    // failure comes back to this thread.
    void workProgressReportsAndStops() {
        QWidget bar; // a status bar's place
        WorkProgress work(&bar);
        QStringList heard;
        const auto failed = [&heard](const std::string& message) {
            heard << QString::fromStdString(message);
        };
        work.start<int>(
            "Counting",
            [](const Progress& progress) -> int {
                while (progress(1, 30, 120)) {
                }
                throw Cancelled();
            },
            [&heard](int) { heard << "done"; }, failed, [&heard] { heard << "cancelled"; });
        QTRY_VERIFY(!work.isHidden());
        QCOMPARE(work.lblWork->text(), QString("Counting, pass 2"));
        QCOMPARE(work.pbWork->value(), 25);
        work.btnCancel->click();
        QVERIFY(!work.isBusy() && work.isHidden());
        work.start<int>(
            "Adding", [](const Progress&) { return 2; }, [&heard](int sum) { heard << QString::number(sum); },
            failed);
        QTRY_VERIFY(!work.isBusy());
        work.start<int>(
            "Failing", [](const Progress&) -> int { throw Error("No such thing"); }, [](int) {}, failed);
        QTRY_VERIFY(!work.isBusy());
        QCOMPARE(heard, QStringList({"cancelled", "2", "No such thing"}));
    }

    // More colours than the depth holds: the message, and no file.
    void anomalyWritesNothing() {
        import(bmp("odd.bmp", PixelImage(3, 1, kWhite), {.bits = 1}));
        state().BitmapImage =
            testsupport::imageFromRows({"rgb"}, {{'r', kRed}, {'g', 0x00FF00}, {'b', kBlue}});
        for (QAction* command : {page->BitmapMenuFile_CreateFileC, page->BitmapMenuFile_CreateFileResdata}) {
            create(command, path("odd.out"));
            QCOMPARE(dialogs->lastMessage().text, std::string("Anomalus image. The Bitmap file is corrupt"));
            QVERIFY(!QFileInfo::exists(dir->filePath("odd.out")));
        }
    }
};

QTEST_MAIN(BitmapPageTest)
#include "bitmap_page_test.moc"
