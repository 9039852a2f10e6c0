// The three outputs of the Font page: which file each writes under which name, what it remembers, and
// what it refuses. The core checks the bytes.
#include "app/font_page.h"
#include "dialogs/form_c_output.h"
#include "dialogs/form_ft8xx_font.h"
#include "dialogs/form_library_font.h"
#include "editor/status_panels.h"
#include "editor/text_preview.h"
#include "fixtures.h"
#include "fontexport/ft8xx_font.h"
#include "fontexport/gfx_font.h"
#include "gui_support.h"
#include "qtplatform/code_pages.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace tesselor;

class FontOutputTest : public QObject, protected WindowFixture {
    Q_OBJECT

    FontPage* page = nullptr;

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        dialogs->fileAnswers.push_back(
            testsupport::writeFile(dir->filePath("tiny.font"), fixtures::kTiny9x3Font));
        page->FontMenuFile_OpenGraphicFontClick();
        dialogs->clearRecords();
    }
    void cleanup() { destroyWindow(); }

    // The array and item names come from the chosen file, a blank and other extensions kept; ".c" or
    // ".resdata" is appended to a name without one; the font and its flag stay.
    void outputsAndTheirNames_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("fingerprint");
        QTest::newRow(".c") << "tiny.c"
                            << "tiny.c"
                            << QByteArray("\r\n\r\nconst unsigned short tiny_9x3[] = {\r\n  0x00,");
        QTest::newRow(".c, typed") << "font"
                                   << "font.c" << QByteArray("const unsigned short font_9x3[] = {");
        QTest::newRow(".c, other extension") << "font.txt"
                                             << "font.txt" << QByteArray("font_9x3[]");
        QTest::newRow(".resdata") << "tiny.resdata"
                                  << "tiny.resdata"
                                  << QByteArray("fnt\x19\x00\x00\x00\x14\x00\x00\x00\x08tiny_9x3", 20) +
                                         QByteArray::fromStdString(fixtures::kTinyPayload);
        QTest::newRow(".resdata, blank") << "my font.resdata"
                                         << "my font.resdata" << QByteArray("\x0Bmy font_9x3");
        QTest::newRow(".lcd")
            << "Tahoma"
            << "Tahoma.lcd"
            << QByteArray("     <FONTNAME>Tahoma</FONTNAME>\r\n     <FONTSIZE WIDTH=\"9\" HEIGHT=\"3\"");
    }
    void outputsAndTheirNames() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(QByteArray, fingerprint);
        QAction* command = written.endsWith(".lcd")       ? page->FontMenuFile_CreateFileLcd
                           : written.endsWith(".resdata") ? page->FontMenuFile_CreateFileResdata
                                                          : page->FontMenuFile_CreateFileC;
        markFontModified();
        create(command, path(chosen.toStdString()));
        const std::string file = path(written.toStdString());
        QVERIFY2(testsupport::readFile(file).find(fingerprint.toStdString()) != std::string::npos,
                 qPrintable(written));
        QCOMPARE(dialogs->lastMessage().text, file + "\r\nSuccesfully created.");
        QVERIFY(fontDocument().isModified());
        // Each remembers its path for its next dialog; the .lcd gives the font its name.
        const std::string remembered = written.endsWith(".lcd")       ? state().FontLcdFilePath
                                       : written.endsWith(".resdata") ? state().ResdataFilePath
                                                                      : state().FontCFilePath;
        QCOMPARE(remembered, file);
        QCOMPARE(font().FontName, std::string(written.endsWith(".lcd") ? "Tahoma" : "Tiny"));
    }

    // The .c options: a name C refuses is offered but not taken (OK waits for a C identifier), a header
    // beside the .c, uint8_t elements; the two files are written together.
    void cArrayOptions() {
        struct Seen {
            std::string symbol;
            bool okAtFirst = true, okAfter = false, header = false, bytes = false;
            QString problem;
        } seen;
        dialogs->dialogAnswers.push_back([&seen](QDialog& dialog) {
            auto& form = dynamic_cast<TFormCOutput&>(dialog);
            seen.symbol = form.symbol();
            seen.okAtFirst = form.buttons->button(QDialogButtonBox::Ok)->isEnabled();
            seen.problem = form.lblProblem->text();
            form.eSymbol->setText("font_6x13");
            seen.okAfter = form.buttons->button(QDialogButtonBox::Ok)->isEnabled();
            form.cbHeader->setChecked(true);
            form.cbElement->setCurrentIndex(1);
            return true;
        });
        create(page->FontMenuFile_CreateFileC, path("6x13-2.c"));
        QVERIFY(dialogs->allAnswered());
        QCOMPARE(seen.symbol, std::string("6x13-2_9x3"));
        QVERIFY(!seen.okAtFirst && seen.okAfter);
        QVERIFY(seen.problem.contains("no C identifier"));
        const std::string source = testsupport::readFile(path("6x13-2.c"));
        QVERIFY2(source.find("\r\n#include \"6x13-2.h\"\r\n") != std::string::npos, source.c_str());
        QVERIFY(source.find("const uint8_t font_6x13[] = {") != std::string::npos);
        QVERIFY(
            testsupport::readFile(path("6x13-2.h")).find("extern const uint8_t font_6x13[FONT_6X13_SIZE];") !=
            std::string::npos);
        QCOMPARE(dialogs->lastMessage().text,
                 path("6x13-2.c") + "\r\n" + path("6x13-2.h") + "\r\nSuccesfully created.");
        QCOMPARE(state().FontOutputName, std::string("font_6x13"));

        // The options are offered as last chosen; a name that is no identifier writes nothing.
        dialogs->dialogAnswers.push_back([&seen](QDialog& dialog) {
            auto& form = dynamic_cast<TFormCOutput&>(dialog);
            seen.header = form.header();
            seen.bytes = form.bytes();
            form.eSymbol->setText("int");
            return true;
        });
        create(page->FontMenuFile_CreateFileC, path("other.c"));
        QVERIFY(seen.header && seen.bytes);
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("'int' is no C identifier: give the array a name C accepts."));
        QVERIFY(!QFileInfo::exists(dir->filePath("other.c")) && !QFileInfo::exists(dir->filePath("other.h")));
    }

    // The controller's font: the save dialog offers .bin, .c and .resdata; its dialog starts at the lowest
    // address that works and says what does not fit; the file is the core's bytes for the choices, and the
    // text preview then shows the controller's layout.
    void ft8xxFont() {
        struct Seen {
            std::string address, problem;
            bool okAtZero = true;
        } seen;
        dialogs->dialogAnswers.push_back([&seen](QDialog& dialog) {
            auto& form = dynamic_cast<TFormFt8xxFont&>(dialog);
            seen.address = form.eAddress->text().toStdString();
            form.eAddress->setText("0");
            seen.okAtZero = form.buttons->button(QDialogButtonBox::Ok)->isEnabled();
            seen.problem = form.lblProblem->text().toStdString();
            form.eAddress->setText("0x1000");
            form.cbFormat->setCurrentText("L4");
            form.seSpacing->setValue(2);
            form.cbHeader->setChecked(true);
            return true;
        });
        create(page->FontMenuFile_CreateFileFt8xx, path("tiny.bin"));
        QVERIFY(dialogs->allAnswered());
        QCOMPARE(QString::fromStdString(dialogs->fileCalls.back().request.filter).section('|', 0, 4),
                 QString("FT8xx font for CMD_MEMWRITE (*.bin)|*.bin|FT8xx font as a C array (*.c)|*.c|"
                         "FT8xx font as a resource item (*.resdata)"));
        QCOMPARE(seen.address, std::string("244"));
        QVERIFY(!seen.okAtZero);
        QVERIFY(seen.problem.ends_with("the smallest address that works is 244."));
        const Ft8xxFont expected =
            tesselor::ft8xxFont(font(), {"L4", 0x1000, std::nullopt, std::nullopt, 2, 1});
        const std::string bin = testsupport::readFile(path("tiny.bin"));
        QVERIFY(bin == std::string(expected.bytes.begin(), expected.bytes.end()));
        QVERIFY(testsupport::readFile(path("tiny.h")).find("_FORMAT 2u /* L4 */") != std::string::npos);
        QVERIFY(page->textPreview->controllerLayout());
        QCOMPARE(page->textPreview->seSpacing->value(), 2);
        // The choices are offered again; a .txt is no file of the controller's font.
        dialogs->dialogAnswers.push_back([&seen](QDialog& dialog) {
            seen.address = dynamic_cast<TFormFt8xxFont&>(dialog).eAddress->text().toStdString();
            return false;
        });
        create(page->FontMenuFile_CreateFileFt8xx, path("again.bin"));
        QCOMPARE(seen.address, std::string("4096"));
        create(page->FontMenuFile_CreateFileFt8xx, path("font.txt"));
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("A font for the FT8xx controllers is a .bin, .c or .resdata file."));
    }

    // The graphics libraries' fonts: each item's dialog offers the name, the advances and (LVGL) the
    // version, refuses what the writer refuses, and writes the core's text; the preview then lays text out
    // with the advances taken.
    void libraryFonts() {
        bool refusedName = false;
        dialogs->dialogAnswers.push_back([&refusedName](QDialog& dialog) {
            auto& form = dynamic_cast<TFormLibraryFont&>(dialog);
            form.eSymbol->setText("int");
            refusedName = !form.buttons->button(QDialogButtonBox::Ok)->isEnabled();
            form.eSymbol->setText("tinyGfx");
            form.seSpacing->setValue(2);
            return true;
        });
        create(page->findChild<QAction*>("FontMenuFile_CreateFileGfx"), path("tiny.h"));
        QVERIFY(refusedName);
        QVERIFY(testsupport::readFile(path("tiny.h")) == gfxFontHeader(font(), codePageOf(font()),
                                                                       path("tiny.h"), "tinyGfx",
                                                                       controllerAdvances(font(), 2)));
        QCOMPARE(page->textPreview->seSpacing->value(), 2);
        QVERIFY(page->textPreview->controllerLayout());

        std::string problem;
        dialogs->dialogAnswers.push_back([&problem](QDialog& dialog) {
            auto& form = dynamic_cast<TFormLibraryFont&>(dialog);
            form.seSpacing->setValue(247); // 'B' is 9 wide: an advance of 256
            problem = form.lblProblem->text().toStdString();
            form.seSpacing->setValue(1);
            form.cbVersion->setCurrentIndex(1);
            return true;
        });
        create(page->findChild<QAction*>("FontMenuFile_CreateFileLvgl"), path("tiny.c"));
        QCOMPARE(problem,
                 std::string("Character 66: its advance 256 is outside the 0 to 255 an LVGL font holds."));
        std::vector<std::string> warnings;
        QVERIFY(testsupport::readFile(path("tiny.c")) ==
                lvglFontSource(font(), codePageOf(font()), "tiny_9x3", controllerAdvances(font(), 1), 8,
                               warnings));
    }

    // A grey font's 1-bit outputs halve it, and the status bar says so.
    void greyFontInAOneBitOutput() {
        std::string grey = fixtures::kTiny9x3Font + "Depth:4\r\n";
        dialogs->fileAnswers.push_back(testsupport::writeFile(dir->filePath("grey.font"), grey));
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(font().Depth, 4);
        create(page->FontMenuFile_CreateFileResdata, path("grey.resdata"));
        QCOMPARE(
            page->sbFont->panelText(FontPage::kNotePanel),
            QString(
                "Created grey.resdata: the font has 16 grey levels; this output has one bit a pixel: levels "
                "8 and above are ink"));
    }

    // An item name fits its length byte: 255 bytes pass the check, 256 are refused before anything is
    // written (a file name of 252 bytes gives the item name 252 + "_9x3").
    void itemNamesUpTo255Bytes() {
        const std::string base(251, 'a');
        QVERIFY(window->commands().itemNameFits(std::string(255, 'n')));
        QVERIFY(!window->commands().itemNameFits(std::string(256, 'n')));
        create(page->FontMenuFile_CreateFileResdata, path(base + "b.resdata"));
        QVERIFY(dialogs->lastMessage().text.find("at most 255 bytes") != std::string::npos);
        QVERIFY(!QFileInfo::exists(dir->filePath(QString::fromStdString(base + "b.resdata"))));
    }
};

QTEST_MAIN(FontOutputTest)
#include "font_output_test.moc"
