#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/form_tesselor.h"
#include "bitmap/bitmap_payload.h"
#include "bmp_writer.h"
#include "editor/status_panels.h"
#include "gui_support.h"
#include "qtplatform/qt_image_decoder.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tesselor;
using testsupport::BmpOptions;

namespace {
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;

PixelImage redBlue() {
    return testsupport::imageFromRows({"rb"}, {{'r', kRed}, {'b', kBlue}});
}
} // namespace

class BitmapPageTest : public QObject, protected WindowFixture {
    Q_OBJECT

private:
    BitmapPage* page = nullptr;

    std::string bmp(const std::string& name, const PixelImage& image, const BmpOptions& options = {}) {
        return testsupport::writeFile(QString::fromStdString(path(name)),
                                      testsupport::writeBmp(image, options));
    }
    void import(const std::string& file) {
        dialogs->fileAnswers.push_back(file);
        page->BitmapMenuFile_ImportBitmapClick();
    }
private slots:
    void init() {
        createWindow();
        page = window->tsBitmap;
        window->PageControl->setCurrentIndex(1);
    }
    void cleanup() { destroyWindow(); }

    void importShowsThePictureAndItsFormat() {
        PixelImage image(320, 240, kWhite);
        image.setPixel(10, 20, kRed);
        const std::string file = bmp("my logo.bmp", image);
        import(file);
        QVERIFY(dialogs->allAnswered());
        const FileDialogRequest& request = dialogs->fileCalls[0].request;
        QCOMPARE(dialogs->fileCalls[0].kind, std::string("open"));
        QCOMPARE(request.title, std::string("Import File.bmp..."));
        QCOMPARE(request.initialName, std::string("*.bmp"));
        QCOMPARE(request.filter, std::string("Bitmap File (*.bmp)|*.bmp|All files (*.*)|*.*"));
        QCOMPARE(request.filterIndex, 1);
        QVERIFY(dialogs->messages.empty());

        QCOMPARE(state().BitmapFilePath, file);
        QCOMPARE(state().BitmapBaseName, std::string("my logo_bmp"));
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + file + "]"));
        QCOMPARE(page->sbBitmap->panelText(0), QString("Width 320"));
        QCOMPARE(page->sbBitmap->panelText(1), QString("Height 240"));
        QCOMPARE(page->sbBitmap->panelText(2), QString("Bitmap Format: 24 bit"));
        QCOMPARE(int(state().BitmapBits), 16);
        QCOMPARE(page->imgBitmap->geometry(), QRect(0, 0, 320, 240));
        QCOMPARE(page->imgBitmap->pixmap().toImage().pixelColor(10, 20), QColor(255, 0, 0));
        for (QAction* action : {page->BitmapMenuFile_ForFT800, page->BitmapMenuFile_CreateFileC,
                                page->BitmapMenuFile_CreateFileResdata})
            QVERIFY(action->isEnabled());
        QCOMPARE(state().BitmapImage.pixel(10, 20), kRed);

        // The next dialog starts in that folder.
        dialogs->fileAnswers = {std::nullopt};
        page->BitmapMenuFile_ImportBitmapClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());
    }

    void formatsOfTheLayouts() {
        using C = BmpOptions::Compression;
        const PixelImage image = testsupport::imageFromRows(
            {"rgbw", "wbgr"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}, {'w', kWhite}});
        const struct {
            BmpOptions options;
            const char* text;
            int bits;
        } cases[] = {
            {{.bits = 16}, "15 bit", 15},
            {{.bits = 16, .compression = C::Bitfields, .masks = {0xF800, 0x07E0, 0x001F}}, "16 bit", 16},
            {{.bits = 8, .compression = C::Rle8}, "Device", 0},
            {{.bits = 4, .compression = C::Rle4}, "Device", 0},
            {{.bits = 4}, "4 bit", 4},
            {{.bits = 8}, "8 bit", 8},
            {{.bits = 32}, "32 bit", 16},
        };
        for (const auto& c : cases) {
            import(bmp("layout.bmp", image, c.options));
            QCOMPARE(page->sbBitmap->panelText(2), QString("Bitmap Format: ") + c.text);
            QCOMPARE(int(state().BitmapBits), c.bits);
            QCOMPARE(state().BitmapImage.pixel(0, 0), kRed);
            QCOMPARE(state().BitmapImage.pixel(3, 1), kRed);
            QCOMPARE(state().BitmapImage.pixel(1, 1), kBlue);
            QCOMPARE(state().BitmapImage.pixel(0, 1), kWhite);
        }
        // An unlisted layout shows no format text and keeps the depth code of the previous image.
        import(bmp("masked.bmp", image, {.bits = 32, .compression = C::Bitfields, .masks = {
                                             0xFF0000,
                                             0xFF00,
                                             0xFF
                                         }}));
        QCOMPARE(page->sbBitmap->panelText(2), QString("Bitmap Format: "));
        QCOMPARE(int(state().BitmapBits), 16);
        QVERIFY(!state().BitmapLayoutListed);
        QCOMPARE(state().BitmapImage.pixel(2, 0), kBlue);
    }

    void decodedPixelsOfEveryLayout() {
        using C = BmpOptions::Compression;
        PixelImage image(9, 3, kWhite);
        image.setPixel(0, 0, kBlack);
        image.setPixel(8, 2, 0x336699);
        image.setPixel(4, 1, kBlack);
        QtImageDecoder decoder;
        const BmpOptions options[] = {
            {.bits = 24},
            {.bits = 24, .topDown = true},
            {.bits = 24, .headerSize = 12},
            {.bits = 32, .fillByte = 0x80},
            {.bits = 32, .topDown = true, .fillByte = 0xFF},
            {.bits = 8},
            {.bits = 8, .compression = C::Rle8},
            {.bits = 4, .compression = C::Rle4},
            {.bits = 4, .topDown = true},
        };
        int i = 0;
        for (const BmpOptions& o : options) {
            const DecodedImage decoded =
                decoder.decode(bmp(QString("p%1.bmp").arg(i++).toStdString(), image, o));
            QCOMPARE(decoded.pixels, image);
        }
        // Narrow channels read full as 255: white of a 16-bit file stays white.
        PixelImage bw(2, 1, kWhite);
        bw.setPixel(1, 0, kBlack);
        for (const BmpOptions& o :
             {BmpOptions{.bits = 16},
              BmpOptions{.bits = 16, .compression = C::Bitfields, .masks = {0xF800, 0x07E0, 0x001F}}}) {
            const DecodedImage decoded = decoder.decode(bmp("w16.bmp", bw, o));
            QCOMPARE(decoded.pixels.pixel(0, 0), kWhite);
            QCOMPARE(decoded.pixels.pixel(1, 0), kBlack);
        }
        // A one-bit image gives its palette colours.
        PixelImage two(3, 1, 0x123456);
        two.setPixel(1, 0, 0xABCDEF);
        QCOMPARE(decoder.decode(bmp("two.bmp", two, {.bits = 1})).pixels, two);
    }

    void refusedImportsChangeNothing() {
        const std::string good = bmp("good.bmp", redBlue());
        import(good);
        import(path("none.bmp"));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("none.bmp") + "'\r\nNot found.");
        QCOMPARE(dialogs->lastMessage().title, std::string("Error"));
        const std::string bad = testsupport::writeFile(dir->filePath("bad.bmp"), "BM not really a bitmap");
        import(bad);
        QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
        QVERIFY(QString::fromStdString(dialogs->lastMessage().text).contains(QString::fromStdString(bad)));
        QCOMPARE(state().BitmapFilePath, good);
        QCOMPARE(state().BitmapBaseName, std::string("good_bmp"));
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + good + "]"));
        QCOMPARE(page->sbBitmap->panelText(0), QString("Width 2"));
        QCOMPARE(state().BitmapImage, redBlue());
    }

    void ft800Option() {
        import(bmp("a.bmp", redBlue()));
        page->BitmapMenuFile_ForFT800->trigger();
        QVERIFY(state().ForFT800);
        QVERIFY(page->BitmapMenuFile_ForFT800->isChecked());
        import(bmp("b.bmp", redBlue()));
        QVERIFY(state().ForFT800); // kept by a further import
        page->BitmapMenuFile_ForFT800->trigger();
        QVERIFY(!state().ForFT800);
        QVERIFY(!page->BitmapMenuFile_ForFT800->isChecked());
    }

    void createFileC() {
        import(bmp("my logo-1.bmp", redBlue()));
        create(page->BitmapMenuFile_CreateFileC, path("logo.c"));
        const FileDialogRequest& request = dialogs->fileCalls.back().request;
        QCOMPARE(request.title, std::string("Create File.c..."));
        QCOMPARE(request.initialName, std::string("my_logo-1_bmp.c"));
        QCOMPARE(request.filter, std::string("Array bitmap file (*.c)|*.c|All files (*.*)|*.*"));
        QCOMPARE(dialogs->lastMessage().text, path("logo.c") + "\r\nSuccesfully created.");
        QCOMPARE(state().BitmapCFilePath, path("logo.c"));
        const std::string text = testsupport::readFile(path("logo.c"));
        QVERIFY(text.starts_with("// Bitmap Generated by \"Tesselor\" 1.0\r\n// "));
        QVERIFY(text.ends_with(
            "\r\n\r\nconst unsigned short my logo-1_bmp[] = {\r\n  0x00,0x10,\r\n  0x01,0x00,\r\n"
            "  0x02,0x00,\r\n  0x00,0xF8,0x1F,0x00};\r\n"));

        // With the option: line 3 and the format code 7; unchecked again, the image's own depth.
        page->BitmapMenuFile_ForFT800->trigger();
        create(page->BitmapMenuFile_CreateFileC, path("ft800"));
        const std::string ft800 = testsupport::readFile(path("ft800.c"));
        QVERIFY(ft800.find("\r\n// for the FT800 graphics controller\r\n\r\n") != std::string::npos);
        QVERIFY(ft800.find("  0x00,0x07,\r\n") != std::string::npos);
        page->BitmapMenuFile_ForFT800->trigger();
        create(page->BitmapMenuFile_CreateFileC, path("again.c"));
        QVERIFY(testsupport::readFile(path("again.c")).find("  0x00,0x10,\r\n") != std::string::npos);
        QCOMPARE(int(state().BitmapBits), 16);
    }

    void anomalyWritesNothing() {
        const PixelImage three =
            testsupport::imageFromRows({"rgb"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}});
        // A file's palette bounds its colours, so the image of a 1-bit import is replaced by one of three.
        import(bmp("odd.bmp", PixelImage(3, 1, kWhite), {.bits = 1}));
        QCOMPARE(int(state().BitmapBits), 1);
        state().BitmapImage = three;
        create(page->BitmapMenuFile_CreateFileC, path("odd.c"));
        QCOMPARE(dialogs->lastMessage().text, std::string("Anomalus image. The Bitmap file is corrupt"));
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);
        QVERIFY(!QFileInfo::exists(dir->filePath("odd.c")));
        QCOMPARE(state().BitmapCFilePath, path("odd.c"));
        create(page->BitmapMenuFile_CreateFileResdata, path("odd.resdata"));
        QCOMPARE(dialogs->lastMessage().text, std::string("Anomalus image. The Bitmap file is corrupt"));
        QVERIFY(!QFileInfo::exists(dir->filePath("odd.resdata")));
    }

    void createFileResdata() {
        import(bmp("logo.bmp", redBlue()));
        create(page->BitmapMenuFile_CreateFileResdata, path("logo.resdata"));
        const FileDialogRequest& request = dialogs->fileCalls.back().request;
        QCOMPARE(request.title, std::string("Create File.resdata..."));
        QCOMPARE(request.initialName, std::string("logo_bmp.resdata"));
        QCOMPARE(request.filter,
                 std::string("Resource bitmap file (*.resdata)|*.resdata|All files (*.*)|*.*"));
        const std::string expected(
            "bmp\x0A\x00\x00\x00\x10\x00\x00\x00\x04logo\x00\x10\x01\x00\x02\x00\x00\xF8\x1F\x00", 26);
        QCOMPARE(testsupport::readFile(path("logo.resdata")), expected);
        QCOMPARE(state().ResdataFilePath, path("logo.resdata"));
        QCOMPARE(dialogs->lastMessage().text, path("logo.resdata") + "\r\nSuccesfully created.");

        page->BitmapMenuFile_ForFT800->trigger();
        create(page->BitmapMenuFile_CreateFileResdata, path("ft.resdata"));
        const std::string ft = testsupport::readFile(path("ft.resdata"));
        QCOMPARE(int(static_cast<unsigned char>(ft[15])), 0x07); // the second payload byte
        QCOMPARE(ft.size(), std::size_t(24));
        QCOMPARE(ft.substr(11, 3), std::string("\x02"
                                               "ft"));
        QCOMPARE(int(static_cast<unsigned char>(ft[7])), 14);

        create(page->BitmapMenuFile_CreateFileResdata, path("a.b.resdata"));
        QCOMPARE(testsupport::readFile(path("a.b.resdata")).substr(11, 4), std::string("\x03"
                                                                                       "a.b",
                                                                                       4));
        create(page->BitmapMenuFile_CreateFileResdata, path("typed"));
        QCOMPARE(testsupport::readFile(path("typed.resdata")).substr(11, 6), std::string("\x05typed", 6));

        // The font item's dialog opens where the image item was written.
        window->tsFont->FontMenuFile_CreateFileResdata->setEnabled(true);
        dialogs->fileAnswers = {std::nullopt};
        window->tsFont->FontMenuFile_CreateFileResdataClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());
    }

    void unlistedAndRunLengthImagesAreWrittenAs16Bit() {
        using C = BmpOptions::Compression;
        const PixelImage image = testsupport::imageFromRows(
            {"rg", "bw"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}, {'w', kWhite}});
        for (const BmpOptions& o :
             {BmpOptions{.bits = 8, .compression = C::Rle8}, BmpOptions{.bits = 16},
              BmpOptions{.bits = 32, .compression = C::Bitfields, .masks = {0xFF0000, 0xFF00, 0xFF}}}) {
            import(bmp("in.bmp", image, o));
            create(page->BitmapMenuFile_CreateFileResdata, path("out.resdata"));
            const std::string item = testsupport::readFile(path("out.resdata"));
            QCOMPARE(item.size(), std::size_t(12 + 3 + 6 + 8));
            QCOMPARE(int(static_cast<unsigned char>(item[16])), 16);
            QCOMPARE(item.substr(21, 2), std::string("\x00\xF8", 2));
            dialogs->questionAnswers.push_back(MessageButton::Yes); // the next round replaces the file
        }
        dialogs->questionAnswers.clear();
    }

    void largeImagesScroll() {
        import(bmp("wide.bmp", PixelImage(3000, 50, kWhite)));
        QCOMPARE(page->pBitmap->minimumSize(), QSize(3000, 50));
        QCOMPARE(page->imgBitmap->size(), QSize(3000, 50));
    }
};

QTEST_MAIN(BitmapPageTest)
#include "bitmap_page_test.moc"
