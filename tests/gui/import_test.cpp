// The two importers of the Font page, the rasteriser under Import System Font, and the edit commands and
// transform buttons on what they import.
#include "app/font_page.h"
#include "bmp_writer.h"
#include "dialogs/form_depth.h"
#include "dialogs/form_font_file.h"
#include "dialogs/form_font_range.h"
#include "editor/font_grid.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "editor/text_preview.h"
#include "gui_support.h"
#include "model/error.h"
#include "model/grey_levels.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/qt_pixels.h"
#include "qtplatform/qt_rasteriser.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QUndoStack>
#include <QtTest>

#include <set>

using namespace tesselor;

namespace {
QFont dejaVu(int points, bool bold = false, bool italic = false) {
    QFont font("DejaVu Sans");
    font.setPointSize(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
const CodePage kWindows1252 = loadCodePage(kDefaultCodePage);
} // namespace

class ImportTest : public QObject, protected WindowFixture {
    Q_OBJECT

    FontPage* page = nullptr;

    void importSystem(const QFont& font, int first, int last) {
        dialogs->fontAnswers.push_back(font);
        dialogs->rangeAnswers.push_back(std::pair{first, last});
        page->FontMenuFile_ImportSystemFontClick();
    }
    // A folder of character files, each an image of the given size with ink at (1, 2) and at (x, 9).
    std::string folder(const char* name, const std::vector<std::pair<std::string, PixelImage>>& files,
                       const std::vector<testsupport::BmpOptions>& options = {}) {
        QDir(dir->path()).mkpath(name);
        for (std::size_t i = 0; i < files.size(); ++i)
            testsupport::writeFile(
                dir->filePath(QString(name) + "/" + QString::fromStdString(files[i].first)),
                testsupport::writeBmp(files[i].second,
                                      i < options.size() ? options[i] : testsupport::BmpOptions{}));
        return dir->filePath(name).toStdString();
    }
    void importFolder(const std::string& path) {
        dialogs->fileAnswers.push_back(path);
        page->FontMenuFile_ImportBmpCharClick();
    }

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        QVERIFY(showWindow());
    }
    void cleanup() { destroyWindow(); }

    // Only the text and the background colour come out, in the box of advance by ascent + descent.
    void rasteriserIsBiLevelWithTheBoxOfTheFont() {
        for (const QFont& face : {dejaVu(8), dejaVu(24, true, true)}) {
            QtRasteriser rasteriser(face, kWindows1252);
            const QFontMetrics metrics(rasteriser.font());
            for (int code : {65, 103, 32, 0x80}) {
                PixelImage image(100, 100, 0x123456);
                rasteriser.drawChar(image, code, 3, 2, kBlack, kWhite);
                const QRect box(3, 2, metrics.horizontalAdvance(characterOf(kWindows1252, code)),
                                metrics.ascent() + metrics.descent());
                int ink = 0;
                for (int y = 0; y < 100; ++y)
                    for (int x = 0; x < 100; ++x) {
                        const Colour c = image.pixel(x, y);
                        QVERIFY(c == kBlack || c == (box.contains(x, y) ? kWhite : 0x123456));
                        ink += c == kBlack;
                    }
                QCOMPARE(ink > 0, code != 32);
            }
        }
    }

    // Each code page of the list through Qt's converters: a known character of each, and the codes a page
    // has no character for.
    void codePagesMapKnownCodes() {
        const std::vector<std::tuple<std::string, int, char32_t>> known = {
            {"windows-1250", 0xA5, U'Ą'}, {"windows-1251", 0xC0, U'А'}, {"windows-1252", 0x80, U'€'},
            {"windows-1252", 0x9F, U'Ÿ'}, {"windows-1253", 0xC1, U'Α'}, {"windows-1254", 0xD0, U'Ğ'},
            {"windows-1255", 0xE0, U'א'}, {"windows-1256", 0xC7, U'ا'}, {"windows-1257", 0xC0, U'Ą'},
            {"windows-1258", 0xC3, U'Ă'}, {"ISO-8859-1", 0xE9, U'é'},   {"ISO-8859-2", 0xA1, U'Ą'},
            {"ISO-8859-3", 0xA6, U'Ĥ'},   {"ISO-8859-4", 0xA1, U'Ą'},   {"ISO-8859-5", 0xB0, U'А'},
            {"ISO-8859-6", 0xC7, U'ا'},   {"ISO-8859-7", 0xC1, U'Α'},   {"ISO-8859-8", 0xE0, U'א'},
            {"ISO-8859-9", 0xD0, U'Ğ'},   {"ISO-8859-10", 0xA1, U'Ą'},  {"ISO-8859-11", 0xA1, U'ก'},
            {"ISO-8859-13", 0xC0, U'Ą'},  {"ISO-8859-14", 0xA1, U'Ḃ'},  {"ISO-8859-15", 0xA4, U'€'},
            {"KOI8-R", 0xC0, U'ю'},       {"KOI8-U", 0xA4, U'є'},       {"IBM437", 0xDB, U'█'},
            {"IBM850", 0x9D, U'Ø'},       {"IBM866", 0x80, U'А'},
        };
        std::set<std::string> covered;
        for (const auto& [name, code, character] : known) {
            QCOMPARE(loadCodePage(name).characters[std::size_t(code)], character);
            covered.insert(name);
        }
        QCOMPARE(covered.size(), codePageNames().size());
        QCOMPARE(kWindows1252.codesWithoutCharacter(32, 255), (std::vector<int>{129, 141, 143, 144, 157}));
        QCOMPARE(loadCodePage("koi8-r").name, std::string("KOI8-R"));
        QCOMPARE(codesOf("Aю€", loadCodePage("KOI8-R")), (std::vector<int>{65, 0xC0, -1}));
        for (const char* refused : {"UTF-8", "Shift_JIS", "no-such-page"})
            QVERIFY_THROWS_EXCEPTION(Error, loadCodePage(refused));
    }

    // Import Font File: the file's own face at the size asked, through the range step, in the code page
    // chosen; the font records it, and typed text and codes find their characters in it.
    void importFontFileInACodePage() {
        dialogs->fileAnswers.push_back("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
        dialogs->dialogAnswers.push_back([](QDialog& dialog) {
            dynamic_cast<TFormFontFile&>(dialog).seSize->setValue(10);
            return true;
        });
        dialogs->rangeAnswers.push_back(std::pair{192, 223});
        window->FormFontRange->cbCodePage->setCurrentText("KOI8-R");
        page->FontMenuFile_ImportFontFileClick();
        QVERIFY(dialogs->fontOffers.empty());
        QCOMPARE(font().CodePage, std::string("KOI8-R"));
        QCOMPARE(shownTitle(), QString("Tesselor [Font: DejaVu Sans 10 Regular]"));
        page->textPreview->cbPreviewScale->setCurrentIndex(0); // 1x
        page->textPreview->eSampleText->setText("юA");
        QCOMPARE(page->textPreview->rendered().width(),
                 int(font().CharWidths[0xC0])); // A is outside the range
        page->seCharCode->setFocus();
        page->seCharCode->selectAll();
        QTest::sendKeyEvent(QTest::Click, page->seCharCode, Qt::Key_unknown, QString("ю"), Qt::NoModifier);
        QTest::keyClick(page->seCharCode, Qt::Key_Return);
        QCOMPARE(fontDocument().currentCode(), 0xC0);
        // A file that is no font.
        dialogs->fileAnswers.push_back(testsupport::writeFile(dir->filePath("no.ttf"), "not a font"));
        page->FontMenuFile_ImportFontFileClick();
        QCOMPARE(dialogs->lastMessage().text, "Cannot load the font file '" + path("no.ttf") + "'.");
        QCOMPARE(font().CodePage, std::string("KOI8-R"));
    }

    // An upright file comes in upright, not as one of its family's installed italics: the same .font bytes
    // as font-from-system --font-file with the same choices.
    void importFontFileGivesTheFilesOwnFace() {
        const std::string serif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
        struct Seen {
            QString face;
            bool styleChoice = true;
        } seen;
        dialogs->fileAnswers.push_back(serif);
        dialogs->dialogAnswers.push_back([&seen](QDialog& dialog) {
            auto& form = dynamic_cast<TFormFontFile&>(dialog);
            seen.face = form.lblFace->text();
            seen.styleChoice = form.cbBold->isEnabled() || form.cbItalic->isEnabled();
            form.seSize->setValue(11);
            return true;
        });
        dialogs->rangeAnswers.push_back(std::pair{32, 126});
        page->FontMenuFile_ImportFontFileClick();
        QCOMPARE(seen.face, QString("DejaVu Serif Book"));
        QVERIFY(!seen.styleChoice);
        QCOMPARE(shownTitle(), QString("Tesselor [Font: DejaVu Serif 11 Regular]"));
        QDir(dir->path()).mkpath("window");
        QDir(dir->path()).mkpath("cli");
        create(page->FontMenuFile_SaveGraphicFontAs, path("window/serif.font"));
        QProcess cli;
        cli.start(TESSELOR_EXECUTABLE,
                  {"font-from-system", "--font-file", QString::fromStdString(serif), "--size", "11", "--from",
                   "32", "--to", "126", "-o", dir->filePath("cli/serif.font")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const std::string fromWindow = testsupport::readFile(path("window/serif.font"));
        QVERIFY(fromWindow.size() > 1000);
        QVERIFY(fromWindow == testsupport::readFile(path("cli/serif.font")));
    }

    // Import BDF Font offers the file's code page and codes; a code without a glyph is named.
    void importBdfAndCreateBdf() {
        dialogs->fileAnswers.push_back(TESSELOR_TEST_DATA "/5x7-koi8r.bdf");
        page->FontMenuFile_ImportBdfFontClick();
        QCOMPARE(window->FormFontRange->cbCodePage->currentText(), QString("KOI8-R"));
        QCOMPARE(font().RangeFrom * 1000 + font().RangeTo, 32 * 1000 + 255);
        QCOMPARE(font().CodePage, std::string("KOI8-R"));
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("The BDF file has no glyph for these codes; they are left blank:\r\n127."));
    }

    // The cell the core measures with the real face, the title and range shown; Remove Left Blank reaches the
    // import; the next import offers the last font and range, and Save offers a name after the face.
    void importSystemFontWithItsChoices() {
        page->FontMenuEdit_RemoveLeftBlank->trigger();
        importSystem(dejaVu(12), 32, 127);
        QCOMPARE(dialogs->rangeDialogs, 1);
        QCOMPARE(shownTitle(), QString("Tesselor [Font: DejaVu Sans 12 Regular]"));
        QCOMPARE(page->sbFont->panelText(2), QString("Char code from 32 to 127"));
        QVERIFY(!fontDocument().isModified());
        const QFontMetrics metrics(QtRasteriser(dejaVu(12), kWindows1252).font());
        QCOMPARE(font().FontHeight(), metrics.ascent() + metrics.descent());
        QCOMPARE(font().CharImages[108].pixel(0, metrics.ascent() - 1), kBlack); // 'l' moved to column 0
        create(page->FontMenuFile_SaveGraphicFont, std::nullopt);                // no file yet: Save As
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("DejaVu_Sans_12_Regular.font"));
        importSystem(dejaVu(8, true, true), 48, 57);
        QCOMPARE(dialogs->fontOffers.back().pointSize(), 12);
        QCOMPARE(window->FormFontRange->seFromChar->value(), 48);
        QCOMPARE(shownTitle(), QString("Tesselor [Font: DejaVu Sans 8 Bold_Italic]"));
    }

    // Cancel at the unsaved-changes question, or a cancelled font dialog, changes nothing; Discard and an
    // import give a new font that is not modified.
    void questionsAndCancelsAroundAnImport() {
        importSystem(dejaVu(12), 65, 66);
        markFontModified();
        dialogs->questionAnswers = {MessageButton::Cancel, MessageButton::Discard};
        page->FontMenuFile_ImportSystemFontClick();
        QCOMPARE(dialogs->fontOffers.size(), std::size_t(1));
        dialogs->fontAnswers = {std::nullopt};
        page->FontMenuFile_ImportSystemFontClick();
        QVERIFY(fontDocument().isModified());
        QCOMPARE(dialogs->rangeDialogs, 1);
        dialogs->questionAnswers = {MessageButton::Discard};
        importSystem(dejaVu(10), 65, 65);
        QVERIFY(!fontDocument().isModified());
        QVERIFY(dialogs->allAnswered());
    }

    // The range dialog's depth: the glyphs drawn with anti-aliasing, kept as levels of that depth; a BDF
    // font cannot take one.
    void importAtADepth() {
        window->FormFontRange->cbDepth->setCurrentIndex(2);
        importSystem(dejaVu(16), 65, 66);
        QCOMPARE(font().Depth, 4);
        std::set<int> levels;
        for (const Colour colour : font().CharImages[65].pixels())
            levels.insert(levelOf(colour, 4));
        QVERIFY2(levels.size() > 4, "anti-aliased edges give levels between paper and ink");
        for (const Colour colour : font().CharImages[65].pixels())
            QCOMPARE(colour, levelColour(levelOf(colour, 4), 4));
        QVERIFY(page->seInkLevel->isVisible());
        page->FontMenuEdit_Undo->trigger(); // the font before, at its own depth
        QCOMPARE(font().Depth, 1);
        page->FontMenuEdit_Redo->trigger();
        QCOMPARE(font().Depth, 4);
        window->FormFontRange->cbDepth->setCurrentIndex(0);
    }

    // The folder's characters come in (the core checks ranges and sizes); the next dialog starts there, and
    // the save dialog proposes no name.
    void importBmpCharsFromAFolder() {
        PixelImage image(8, 12);
        image.setPixel(1, 2, kBlack);
        const std::string path = folder("digits", {{"100.bmp", image}, {"102.BMP", image}}, {{.bits = 1}});
        importFolder(path);
        QVERIFY(dialogs->messages.empty());
        QCOMPARE(dialogs->fileCalls.back().request.title, std::string("Select Folder BMP"));
        QCOMPARE(page->sbFont->panelText(2), QString("Code char from 100 to 102"));
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + path + "]"));
        QCOMPARE(font().CharImages[102].pixel(1, 2), kBlack);
        dialogs->fileAnswers = {std::nullopt};
        page->FontMenuFile_ImportBmpCharClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, path);
        create(page->FontMenuFile_SaveGraphicFont, std::nullopt);
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("*.font"));
    }

    // Smaller characters are enlarged to the largest; at 1 bit colours stay (and are no ink), at 4 bits
    // they become levels; widths beyond 255 are limited and told, 255 itself is not.
    void bmpCharsOfMixedSizesAndColours() {
        PixelImage red(8, 12);
        red.setPixel(3, 11, 0x0000FF);
        PixelImage wide(300, 2);
        wide.setPixel(299, 1, kBlack);
        PixelImage exact(255, 2);
        exact.setPixel(254, 0, kBlack);
        const std::string mixed = folder("mixed", {{"65.bmp", red}, {"70.bmp", wide}, {"71.bmp", exact}});
        dialogs->dialogAnswers.push_back([](QDialog& dialog) {
            dynamic_cast<TFormDepth&>(dialog).cbDepth->setCurrentIndex(2);
            return true;
        });
        importFolder(mixed);
        QCOMPARE(font().Depth, 4);
        QCOMPARE(font().CharImages[65].pixel(3, 11), levelColour(11, 4)); // red's luminance, 76 of 255
        dialogs->dialogAnswers.push_back([](QDialog& dialog) {
            dynamic_cast<TFormDepth&>(dialog).cbDepth->setCurrentIndex(0);
            return true;
        });
        importFolder(mixed);
        QCOMPARE(dialogs->dialogsShown, (std::vector<std::string>{"FormDepth", "FormDepth"}));
        QCOMPARE(font().Depth, 1);
        QCOMPARE(font().FontWidth(), 300);
        QCOMPARE(font().CharImages[65].width(), 300);
        QCOMPARE(font().CharImages[65].pixel(3, 11), Colour(0x0000FF));
        QCOMPARE(int(font().CharWidths[65]), 4);
        QCOMPARE(int(font().CharWidths[71]), 255);
        QVERIFY(dialogs->lastMessage().text.ends_with("their width was set to 255:\r\n70."));
    }

    void folderWithoutCharactersHidesTheEditor() {
        importSystem(dejaVu(12), 65, 66);
        const std::string path =
            folder("empty", {{"31.bmp", PixelImage(2, 2)}, {"256.bmp", PixelImage(2, 2)}});
        importFolder(path);
        QCOMPARE(dialogs->lastMessage().text, std::string("Chars.bmp not found in the folder"));
        QVERIFY(!page->editorShown());
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + path + "]"));
        QVERIFY(!fontDocument().isModified());
    }

    void undecodableFileLeavesThePreviousFont() {
        importSystem(dejaVu(12), 65, 66);
        const FontModel before = font();
        const std::string path = folder("broken", {{"65.bmp", PixelImage(4, 4)}});
        testsupport::writeFile(QString::fromStdString(path + "/66.bmp"), "BM this is not a bitmap");
        importFolder(path);
        QVERIFY(dialogs->lastMessage().text.find(path + "/66.bmp") != std::string::npos);
        QCOMPARE(shownTitle(), QString("Tesselor [Font: DejaVu Sans 12 Regular]"));
        QVERIFY(font().CharImages == before.CharImages);
        QVERIFY(state().BmpCharsFolder.empty());
    }

    // Copy puts the character on the system clipboard too, as a picture of its cell, and is no change.
    void copyToTheSystemClipboard() {
        importSystem(dejaVu(12), 65, 67);
        page->seCharCode->setValue(66);
        page->undoStack()->setClean();
        page->FontMenuEdit_Copy->trigger();
        QVERIFY(!fontDocument().isModified());
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(QSize(copied.width(), copied.height()), QSize(font().FontWidth(), font().FontHeight()));
        QCOMPARE(copied.pixelColor(0, 0), QColor(toQColor(font().CharImages[66].pixel(0, 0))));
    }
};

QTEST_MAIN(ImportTest)
#include "import_test.moc"
