#include "app/font_page.h"
#include "app/form_tesselor.h"
#include "dialogs/form_view_char.h"
#include "editor/font_grid.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "gui_support.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

#include <QAction>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tesselor;
using testsupport::sendMouse;

namespace {
const std::string kTiny =
    "FontName:Tiny\r\nFontWidth:3\r\nFontHeight:2\r\nRangeFrom:65\r\nRangeTo:65\r\nChar:65\r\n"
    "  Width:2\r\n    BitMap:110\r\n           010\r\n";

// A font of codes 48..50 in a cell 10 x 4: character 48 of width 5, 49 of width 1, 50 of width 150.
std::string threeChars() {
    std::string text = "FontName:Three\nFontWidth:10\nFontHeight:4\nRangeFrom:48\nRangeTo:50\n";
    const char* widths[] = {"5", "1", "150"};
    for (int c = 48; c <= 50; ++c) {
        text += "Char:" + std::to_string(c) + "\n  Width:" + widths[c - 48] + "\n    BitMap:1000000000\n";
        for (int row = 1; row < 4; ++row)
            text += "           0000000000\n";
    }
    return text;
}
} // namespace

class FontEditorTest : public QObject, protected WindowFixture {
    Q_OBJECT

private:
    FontPage* page = nullptr;

    QString path(const char* name) { return dir->filePath(name); }

    void open(const std::string& file) {
        dialogs->fileAnswers.push_back(file);
        page->FontMenuFile_OpenGraphicFontClick();
    }
    QPoint cellCentre(int column, int row) { return page->dgridFont->cellRect(column, row).center(); }
    void press(int column, int row, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        sendMouse(page->dgridFont, QEvent::MouseButtonPress, cellCentre(column, row), button, button,
                  modifiers);
    }
    void moveHeld(int column, int row, Qt::MouseButtons buttons,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        sendMouse(page->dgridFont, QEvent::MouseMove, cellCentre(column, row), Qt::NoButton, buttons,
                  modifiers);
    }
    void release(int column, int row, Qt::MouseButton button) {
        sendMouse(page->dgridFont, QEvent::MouseButtonRelease, cellCentre(column, row), button, Qt::NoButton);
    }

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        QVERIFY(showWindow());
    }
    void cleanup() { destroyWindow(); }

    void openShowsTheFontInTheEditor() {
        const std::string file = testsupport::writeFile(path("tiny.font"), kTiny);
        open(file);
        QVERIFY(dialogs->allAnswered());
        QCOMPARE(dialogs->fileCalls.size(), std::size_t(1));
        const FileDialogRequest& request = dialogs->fileCalls[0].request;
        QCOMPARE(dialogs->fileCalls[0].kind, std::string("open"));
        QCOMPARE(request.title, std::string("Open File.font..."));
        QCOMPARE(request.initialName, std::string("*.font"));
        QCOMPARE(request.filter, std::string("Graphic Font File (*.font)|*.font|All files (*.*)|*.*"));
        QCOMPARE(request.filterIndex, 1);
        QCOMPARE(request.initialFolder, std::string());
        QVERIFY(dialogs->messages.empty());

        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + file + "]"));
        QCOMPARE(state().FontFilePath, file);
        QCOMPARE(state().FontBaseName, std::string("tiny"));
        QCOMPARE(state().font.FontName, std::string("Tiny"));
        QVERIFY(!state().FontModified);
        QVERIFY(page->editorShown());
        QVERIFY(page->dgridFont->isVisible());
        QVERIFY(page->sFont->isVisible());
        QCOMPARE(page->sbFont->panelText(0), QString("Col 2"));
        QCOMPARE(page->sbFont->panelText(1), QString("Row 2"));
        QCOMPARE(page->sbFont->panelText(2), QString("Code char from 65 to 65"));
        QCOMPARE(page->seGridSize->value(), 12);
        QCOMPARE(page->seCharCode->minimum(), 65);
        QCOMPARE(page->seCharCode->maximum(), 65);
        QCOMPARE(page->seCharCode->value(), 65);
        QCOMPARE(page->seCharWidth->minimum(), 1);
        QCOMPARE(page->seCharWidth->maximum(), 255);
        QCOMPARE(page->seCharWidth->value(), 2);
        QCOMPARE(QApplication::focusWidget(), page->seCharCode);
        for (const char* name :
             {"FontMenuFile_SaveGraphicFont", "FontMenuFile_CreateFileC", "FontMenuFile_CreateFileResdata",
              "FontMenuFile_CreateFileLcd", "FontMenuEdit_AutomaticCharWidth", "FontMenuEdit_Cut",
              "FontMenuEdit_Copy", "FontMenuEdit_ViewChar"})
            QVERIFY2(window->findChild<QAction*>(name)->isEnabled(), name);
        QVERIFY(!page->FontMenuEdit_Paste->isEnabled());
        QVERIFY(!page->FontMenuEdit_Restore->isEnabled());
        for (QPushButton* button : page->transformButtons())
            QVERIFY(button->isEnabled());

        // Cells of 12 with 1-pixel lines: 3 x 13 - 1 by 2 x 13 - 1, at (8, 80) of the page inside its frame.
        QCOMPARE(page->dgridFont->size(), QSize(38, 25));
        QCOMPARE(page->dgridFont->mapTo(page, QPoint(0, 0)), QPoint(8, 80));
        QCOMPARE(page->sFont->geometry(), QRect(0, 0, 40, 27));
        QCOMPARE(page->sFont->mapTo(page, QPoint(0, 0)), QPoint(7, 79));

        // Cell colours: black ink, tint inside the width, white outside.
        QCOMPARE(page->dgridFont->cellColour(0, 0), kBlack);
        QCOMPARE(page->dgridFont->cellColour(0, 1), kInkPreviewColour);
        QCOMPARE(page->dgridFont->cellColour(2, 1), kWhite);
        QImage shot = page->dgridFont->grab().toImage();
        QCOMPARE(shot.pixelColor(5, 5), QColor(0, 0, 0));
        QCOMPARE(shot.pixelColor(5, 18), QColor(0xC6, 0xFF, 0xC6));
        QCOMPARE(shot.pixelColor(30, 18), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(shot.pixelColor(12, 5), QColor(0xC0, 0xC0, 0xC0)); // grid line
    }

    void zoomChangesTheCellEdge() {
        open(testsupport::writeFile(path("tiny.font"), kTiny));
        page->seGridSize->setValue(40);
        QCOMPARE(state().GridZoom, 40);
        QCOMPARE(page->dgridFont->size(), QSize(3 * 41 - 1, 2 * 41 - 1));
        QCOMPARE(page->sFont->size(), QSize(3 * 41 + 1, 2 * 41 + 1));
        page->seGridSize->setValue(100);
        QCOMPARE(page->seGridSize->value(), 40);
    }

    void openRefusalsChangeNothing() {
        // Not found.
        const std::string missing = path("none.font").toStdString();
        open(missing);
        QCOMPARE(dialogs->lastMessage().text, "File '" + missing + "'\r\nNot found.");
        QCOMPARE(dialogs->lastMessage().title, std::string("Error"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
        QVERIFY(!page->editorShown());
        QCOMPARE(window->windowTitle(), QString("Tesselor"));

        // A loaded font stays as it was when the next file is malformed.
        const std::string good = testsupport::writeFile(path("tiny.font"), kTiny);
        open(good);
        const std::string bad = testsupport::writeFile(
            path("bad.font"),
            "FontName:Bad\r\nFontWidth:4\r\nFontHeight:2\r\nRangeFrom:60\r\nRangeTo:70\r\nChar:65\r\n");
        open(bad);
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("Line 7 is missing: the file ends inside the font."));
        QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + good + "]"));
        QCOMPARE(state().FontFilePath, good);
        QCOMPARE(state().FontBaseName, std::string("tiny"));
        QCOMPARE(state().font.FontName, std::string("Tiny"));
        QCOMPARE(state().font.FontWidth(), 3);
        QCOMPARE(state().font.RangeFrom, 65);
        QCOMPARE(page->sbFont->panelText(2), QString("Code char from 65 to 65"));

        const std::string outside = testsupport::writeFile(
            path("outside.font"), "FontName:O\nFontWidth:1\nFontHeight:1\nRangeFrom:65\nRangeTo:300\n");
        open(outside);
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("Line 5: the last character code 300 is outside 0 to 255."));
        QCOMPARE(state().font.RangeTo, 65);

        // A folder chosen as the file is reported, not crashed on.
        open(dir->path().toStdString());
        QCOMPARE(dialogs->lastMessage().text, "File '" + dir->path().toStdString() + "'\r\nNot found.");
        QVERIFY(dialogs->allAnswered());
    }

    void unsavedChangesQuestion() {
        open(testsupport::writeFile(path("tiny.font"), kTiny));
        state().FontModified = true;
        dialogs->questionAnswers = {MessageButton::Yes};
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(dialogs->fileCalls.size(), std::size_t(1)); // no second dialog
        QVERIFY(state().FontModified);
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("The file has been modified.\r\nWould you like to save it?"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);

        dialogs->questionAnswers = {MessageButton::No};
        dialogs->fileAnswers = {std::nullopt}; // cancel
        page->FontMenuFile_OpenGraphicFontClick();
        QVERIFY(state().FontModified);
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());
        QVERIFY(dialogs->allAnswered());
    }

    void paintingWithTheMouse() {
        open(testsupport::writeFile(path("three.font"), threeChars()));
        QCOMPARE(state().CurrentCode, 48);
        const PixelImage& character = state().font.CharImages[48];

        // A left drag paints a trail of black cells.
        press(1, 1, Qt::LeftButton);
        QVERIFY(state().FontModified);
        moveHeld(2, 1, Qt::LeftButton);
        moveHeld(3, 2, Qt::LeftButton);
        release(3, 2, Qt::LeftButton);
        QCOMPARE(character.pixel(1, 1), kBlack);
        QCOMPARE(character.pixel(2, 1), kBlack);
        QCOMPARE(character.pixel(3, 2), kBlack);
        QCOMPARE(character.pixel(4, 2), kWhite);

        // A move without a button paints nothing.
        moveHeld(5, 3, Qt::NoButton);
        QCOMPARE(character.pixel(5, 3), kWhite);

        // Shift with the left button whitens.
        press(1, 1, Qt::LeftButton, Qt::ShiftModifier);
        moveHeld(2, 1, Qt::LeftButton, Qt::ShiftModifier);
        release(2, 1, Qt::LeftButton);
        QCOMPARE(character.pixel(1, 1), kWhite);
        QCOMPARE(character.pixel(2, 1), kWhite);

        // A right click paints nothing but marks the font modified; the move does not.
        state().FontModified = false;
        moveHeld(6, 0, Qt::LeftButton);
        QVERIFY(!state().FontModified);
        QCOMPARE(character.pixel(6, 0), kBlack);
        press(7, 0, Qt::RightButton);
        release(7, 0, Qt::RightButton);
        QCOMPARE(character.pixel(7, 0), kWhite);
        QVERIFY(state().FontModified);

        // The painted cell shows at once.
        QCOMPARE(page->dgridFont->grab().toImage().pixelColor(cellCentre(6, 0)), QColor(0, 0, 0));
        QCOMPARE(page->dgridFont->grab().toImage().pixelColor(cellCentre(7, 0)), QColor(0xFF, 0xFF, 0xFF));

        // A press beside the cells paints nothing and still marks the font modified.
        state().FontModified = false;
        sendMouse(page->dgridFont, QEvent::MouseButtonPress, QPoint(page->dgridFont->width() + 5, 2),
                  Qt::LeftButton, Qt::LeftButton);
        QVERIFY(state().FontModified);
    }

    void automaticWidthOnMouseRelease() {
        open(testsupport::writeFile(path("three.font"), threeChars()));
        page->FontMenuEdit_AutomaticCharWidth->trigger();
        QVERIFY(state().AutomaticCharWidth);
        QVERIFY(page->FontMenuEdit_AutomaticCharWidth->isChecked());
        QCOMPARE(int(state().currentWidth()), 1); // recomputed at once: ink only in column 0
        press(9, 2, Qt::LeftButton);
        release(9, 2, Qt::LeftButton);
        QCOMPARE(int(state().currentWidth()), 10);
        QCOMPARE(page->seCharWidth->value(), 10);
        press(9, 2, Qt::LeftButton, Qt::ShiftModifier);
        release(9, 2, Qt::LeftButton);
        QCOMPARE(int(state().currentWidth()), 1);
        page->FontMenuEdit_AutomaticCharWidth->trigger();
        press(9, 2, Qt::LeftButton);
        release(9, 2, Qt::LeftButton);
        QCOMPARE(int(state().currentWidth()), 1);
    }

    void codeAndWidthControls() {
        open(testsupport::writeFile(path("three.font"), threeChars()));
        QCOMPARE(page->sbFont->panelText(0), QString("Col 150"));
        // A width beyond 100 is shown as it is and not cut.
        page->seCharCode->setValue(50);
        QCOMPARE(page->seCharWidth->value(), 150);
        QCOMPARE(int(state().font.CharWidths[50]), 150);
        QVERIFY(!state().FontModified);

        // Width 1 disables Shift Left and Move Left as soon as the grid is drawn.
        page->seCharCode->setValue(49);
        QVERIFY(!page->bShiftLeft->isEnabled());
        QVERIFY(!page->bMoveLeft->isEnabled());
        page->seCharCode->setValue(48);
        QVERIFY(page->bShiftLeft->isEnabled());
        QVERIFY(page->bMoveLeft->isEnabled());

        // Spinning 5 to 6 tints column 5, marks the font modified.
        QCOMPARE(page->dgridFont->cellColour(5, 1), kWhite);
        QTest::keyClick(page->seCharWidth, Qt::Key_Up);
        QCOMPARE(page->seCharWidth->value(), 6);
        QCOMPARE(int(state().font.CharWidths[48]), 6);
        QVERIFY(state().FontModified);
        QCOMPARE(page->dgridFont->cellColour(5, 1), kInkPreviewColour);

        // The widest width follows in panel 0.
        page->seCharCode->setValue(50);
        page->seCharWidth->setValue(7);
        QCOMPARE(page->sbFont->panelText(0), QString("Col 7"));

        // Up and Down on the grid step the code, clamped, and hand the focus to the code control.
        page->dgridFont->setFocus();
        QTest::keyClick(page->dgridFont, Qt::Key_Up);
        QCOMPARE(state().CurrentCode, 50);
        QCOMPARE(QApplication::focusWidget(), page->seCharCode);
        page->dgridFont->setFocus();
        QTest::keyClick(page->dgridFont, Qt::Key_Down);
        QCOMPARE(state().CurrentCode, 49);
        QCOMPARE(QApplication::focusWidget(), page->seCharCode);

        // A code with the same width as the previous one still shows its own pixels.
        state().font.CharImages[48].setPixel(4, 3, kBlack);
        page->seCharCode->setValue(48);
        QCOMPARE(page->dgridFont->cellColour(4, 3), kBlack);
    }

    void widthZeroIsShownWithoutBeingChanged() {
        std::string text = threeChars();
        text.replace(text.find("  Width:5"), 9, "  Width:0");
        open(testsupport::writeFile(path("zero.font"), text));
        QCOMPARE(int(state().font.CharWidths[48]), 0);
        page->seCharCode->setValue(49);
        page->seCharCode->setValue(48);
        QCOMPARE(int(state().font.CharWidths[48]), 0);
        QVERIFY(!state().FontModified);
    }

    void hideFontEditorResetsTheControls() {
        open(testsupport::writeFile(path("three.font"), threeChars()));
        page->HideFontEditor();
        QVERIFY(page->dgridFont->isHidden());
        QVERIFY(page->sFont->isHidden());
        QCOMPARE(page->seGridSize->value(), 5);
        QCOMPARE(page->seGridSize->minimum(), 5);
        QCOMPARE(page->seCharCode->value(), 0);
        QCOMPARE(page->seCharCode->minimum(), 0);
        QCOMPARE(page->seCharWidth->value(), 0);
        QCOMPARE(page->seCharWidth->minimum(), 0);
        QVERIFY(!page->seGridSize->isEnabled());
        for (QPushButton* button : page->transformButtons())
            QVERIFY(!button->isEnabled());
        QVERIFY(!page->FontMenuFile_SaveGraphicFont->isEnabled());
        QVERIFY(!page->FontMenuEdit_ViewChar->isEnabled());
        for (int panel = 0; panel < 3; ++panel)
            QVERIFY(page->sbFont->panelText(panel).isEmpty());
        QVERIFY(!state().FontModified); // hiding changes nothing the user made
    }

    void previewFollowsTheGrid() {
        std::string text =
            "FontName:P\nFontWidth:12\nFontHeight:16\nRangeFrom:65\nRangeTo:65\nChar:65\n  Width:3\n"
            "    BitMap:100000000000\n";
        for (int row = 1; row < 16; ++row)
            text += "           000000000000\n";
        open(testsupport::writeFile(path("preview.font"), text));
        TFormViewChar* preview = window->FormViewChar;
        QVERIFY(!preview->isVisible());
        page->FontMenuEdit_ViewChar->trigger();
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->shownImage().width(), 12);
        QCOMPARE(preview->shownImage().height(), 16);
        QCOMPARE(preview->size(), QSize(12, 16));
        QCOMPARE(preview->shownImage().pixel(0, 0), kBlack);
        press(5, 5, Qt::LeftButton);
        QCOMPARE(preview->shownImage().pixel(5, 5), kBlack);
        QVERIFY(preview->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(preview->windowFlags() & Qt::Tool);
        page->FontMenuEdit_ViewChar->trigger();
        QVERIFY(!preview->isVisible());
    }

    void saveWritesTheTrimmedFont() {
        open(testsupport::writeFile(path("three.font"), threeChars()));
        page->seCharCode->setValue(50);
        page->seCharWidth->setValue(7);
        state().FontBaseName = "my font";
        const std::string target = path("Big").toStdString();
        dialogs->fileAnswers.push_back(target);
        page->FontMenuFile_SaveGraphicFontClick();
        QVERIFY(dialogs->allAnswered());
        const FileDialogRequest& request = dialogs->fileCalls.back().request;
        QCOMPARE(dialogs->fileCalls.back().kind, std::string("save"));
        QCOMPARE(request.title, std::string("Save File.font..."));
        QCOMPARE(request.initialName, std::string("my_font.font"));
        QCOMPARE(request.filter, std::string("Graphic Font File (*.font)|*.font|All files (*.*)|*.*"));
        QCOMPARE(request.filterIndex, 1);
        QCOMPARE(request.initialFolder, dir->path().toStdString());

        const std::string written = target + ".font";
        QCOMPARE(dialogs->lastMessage().text, written + "\r\nSuccesfully saved.");
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);
        QCOMPARE(state().FontFilePath, written);
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + written + "]"));
        QCOMPARE(state().font.FontName, std::string("Big"));
        QVERIFY(!state().FontModified);
        QCOMPARE(state().font.FontWidth(), 7);
        QCOMPARE(page->dgridFont->columns(), 7);
        QCOMPARE(page->sbFont->panelText(0), QString("Col 7"));
        QCOMPARE(page->seGridSize->value(), 12);
        const std::string bytes = testsupport::readFile(written);
        QVERIFY(
            bytes.starts_with("FontName:Big\r\nFontWidth:7\r\nFontHeight:4\r\nRangeFrom:48\r\nRangeTo:50\r\n"
                              "Char:48\r\n  Width:5\r\n    BitMap:1000000\r\n           0000000\r\n"));
        QVERIFY(bytes.ends_with("Char:50\r\n  Width:7\r\n    BitMap:1000000\r\n           0000000\r\n"
                                "           0000000\r\n           0000000\r\n"));

        // Reopening gives the same font.
        const FontModel saved = state().font;
        open(written);
        for (int c = 48; c <= 50; ++c) {
            QCOMPARE(state().font.CharImages[std::size_t(c)], saved.CharImages[std::size_t(c)]);
            QCOMPARE(state().font.CharWidths[std::size_t(c)], saved.CharWidths[std::size_t(c)]);
        }
    }

    void replaceQuestionIsAboutThePathThatWillBeWritten() {
        open(testsupport::writeFile(path("tiny.font"), kTiny));
        const std::string existing = testsupport::writeFile(path("keep.font"), "old contents");
        state().FontModified = true;
        dialogs->fileAnswers.push_back(path("keep").toStdString()); // ".font" is appended
        dialogs->questionAnswers = {MessageButton::No};
        page->FontMenuFile_SaveGraphicFontClick();
        const MessageRequest question = dialogs->lastMessage();
        QCOMPARE(question.text, "The file '" + existing + "' already exist.\r\nDo you want to replace it?");
        QCOMPARE(question.title, std::string("Information"));
        QVERIFY(question.icon == MessageIcon::Question);
        QVERIFY(question.buttons == MessageButtons::YesNo);
        QVERIFY(question.defaultButton == MessageButton::No);
        QCOMPARE(testsupport::readFile(existing), std::string("old contents"));
        QVERIFY(state().FontModified);

        dialogs->fileAnswers.push_back(existing);
        dialogs->questionAnswers = {MessageButton::Yes};
        page->FontMenuFile_SaveGraphicFontClick();
        QCOMPARE(testsupport::readFile(existing).substr(0, 15), std::string("FontName:keep\r\n"));
        QVERIFY(!state().FontModified);
        QVERIFY(dialogs->allAnswered());
    }

    void failedSaveKeepsTheWorkMarkedModified() {
        const std::string file = testsupport::writeFile(path("tiny.font"), kTiny);
        open(file);
        press(2, 1, Qt::LeftButton);
        const std::string target = path("no such folder/x.font").toStdString();
        dialogs->fileAnswers.push_back(target);
        page->FontMenuFile_SaveGraphicFontClick();
        QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
        QVERIFY(QString::fromStdString(dialogs->lastMessage().text)
                    .startsWith(QString::fromStdString("Cannot create '" + target + "'")));
        QVERIFY(state().FontModified);
        QCOMPARE(state().FontFilePath, file);
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + file + "]"));
        QCOMPARE(state().font.FontName, std::string("Tiny"));
        // The close query still protects the work.
        dialogs->questionAnswers = {MessageButton::Yes};
        QVERIFY(!window->close());
    }

    void editShortcutsActOnlyOnTheFontPage() {
        open(testsupport::writeFile(path("three.font"), threeChars()));
        const PixelImage before = state().font.CharImages[48];
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->PageControl->setCurrentIndex(1);
        QTest::keyClick(window.get(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(state().font.CharImages[48], before);
        QVERIFY(!page->FontMenuEdit_Paste->isEnabled());
        window->PageControl->setCurrentIndex(0);
        QTest::keyClick(window.get(), Qt::Key_Delete, Qt::ShiftModifier);
        QVERIFY(page->FontMenuEdit_Paste->isEnabled());
        QCOMPARE(int(state().font.CharWidths[48]), 1);
    }

    void cancelledSaveChangesNothing() {
        open(testsupport::writeFile(path("tiny.font"), kTiny));
        state().FontModified = true;
        dialogs->fileAnswers.push_back(std::nullopt);
        page->FontMenuFile_SaveGraphicFontClick();
        QVERIFY(state().FontModified);
        QVERIFY(dialogs->messages.empty());
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("tiny.font"));
    }
};

QTEST_MAIN(FontEditorTest)
#include "font_editor_test.moc"
