// The Font page's editor: opening and saving .font files, the grid under the mouse, the code, width and
// zoom controls, and the questions that protect unsaved work.
#include "app/font_page.h"
#include "dialogs/form_new_font.h"
#include "dialogs/form_view_char.h"
#include "editor/font_grid.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "gui_support.h"
#include "model/grey_levels.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QUndoStack>
#include <QtTest>

using namespace tesselor;
using testsupport::sendMouse;

namespace {
const std::string kTiny =
    "FontName:Tiny\r\nFontWidth:3\r\nFontHeight:2\r\nRangeFrom:65\r\nRangeTo:65\r\nChar:65\r\n"
    "  Width:2\r\n    BitMap:110\r\n           010\r\n";

// Codes 48..50 in a cell of 10 x 4, widths 5, 1 and 150, ink at (0, 0) of each.
std::string threeChars(const char* firstWidth = "5") {
    std::string text = "FontName:Three\nFontWidth:10\nFontHeight:4\nRangeFrom:48\nRangeTo:50\n";
    const char* widths[] = {firstWidth, "1", "150"};
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

    FontPage* page = nullptr;

    std::string open(const std::string& name, const std::string& contents) {
        const std::string file =
            testsupport::writeFile(dir->filePath(QString::fromStdString(name)), contents);
        dialogs->fileAnswers.push_back(file);
        page->FontMenuFile_OpenGraphicFontClick();
        return file;
    }
    QPoint centre(int column, int row) { return page->dgridFont->cellRect(column, row).center(); }
    void press(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        sendMouse(page->dgridFont, QEvent::MouseButtonPress, centre(column, row), button, button, keys);
    }
    void drag(int column, int row, Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        sendMouse(page->dgridFont, QEvent::MouseMove, centre(column, row), Qt::NoButton, held, keys);
    }
    void release(int column, int row, Qt::MouseButton button) {
        sendMouse(page->dgridFont, QEvent::MouseButtonRelease, centre(column, row), button, Qt::NoButton);
    }
    Colour pixel(int code, int x, int y) { return font().CharImages[std::size_t(code)].pixel(x, y); }

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        QVERIFY(showWindow());
    }
    void cleanup() { destroyWindow(); }

    void openShowsTheFontInTheEditor() {
        const std::string file = open("tiny.font", kTiny);
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + file + "]"));
        QCOMPARE(fontDocument().source().baseName, std::string("tiny"));
        QCOMPARE(font().FontName, std::string("Tiny"));
        QVERIFY(!fontDocument().isModified());
        QCOMPARE(page->sbFont->panelText(0) + "|" + page->sbFont->panelText(1) + "|" +
                     page->sbFont->panelText(2),
                 QString("Col 2|Row 2|Code char from 65 to 65"));
        QCOMPARE(page->seCharCode->value(), 65);
        QCOMPARE(page->seCharWidth->value(), 2);
        QCOMPARE(page->seCharWidth->maximum(), 255);
        QCOMPARE(QApplication::focusWidget(), page->seCharCode);
        QVERIFY(page->FontMenuFile_CreateFileLcd->isEnabled() && page->bInvert->isEnabled());
        QVERIFY(!page->FontMenuEdit_Paste->isEnabled() && !page->FontMenuEdit_Restore->isEnabled());
        // Cells of 12 with 1-pixel lines; black ink, the tint inside the width, white beyond it.
        QCOMPARE(page->dgridFont->size(), QSize(3 * 13 - 1, 2 * 13 - 1));
        const QImage shot = page->dgridFont->grab().toImage();
        QCOMPARE(shot.pixelColor(centre(0, 0)), QColor(0, 0, 0));
        QCOMPARE(shot.pixelColor(centre(0, 1)), QColor(0xC6, 0xFF, 0xC6));
        QCOMPARE(shot.pixelColor(centre(2, 1)), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(shot.pixelColor(12, 5), QColor(0xC0, 0xC0, 0xC0));
        page->seGridSize->setValue(41);
        QCOMPARE(page->dgridFont->size(), QSize(3 * 41 - 1, 2 * 41 - 1));
    }

    // A file that cannot be opened leaves the font, the title and the paths as they were (the core words
    // each refusal).
    void openRefusalKeepsTheFont() {
        const std::string good = open("tiny.font", kTiny);
        open("bad.font", "FontName:Bad\nFontWidth:4\nFontHeight:2\nRangeFrom:60\nRangeTo:70\nChar:65\n");
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("Line 7 is missing: the file ends inside the font."));
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + good + "]"));
        QCOMPARE(state().FontFilePath, good);
        QCOMPARE(fontDocument().source().filePath, good);
        QCOMPARE(font().FontName, std::string("Tiny"));
    }

    void openChecksThatTheFileExists() {
        for (const std::string& chosen :
             {dir->filePath("none.font").toStdString(), dir->path().toStdString()}) {
            dialogs->fileAnswers.push_back(chosen);
            page->FontMenuFile_OpenGraphicFontClick();
            QCOMPARE(dialogs->lastMessage().text, "File '" + chosen + "'\r\nNot found.");
            QVERIFY(!page->editorShown());
        }
        // The largest cell a file may have opens.
        open("big.font", "FontName:B\nFontWidth:512\nFontHeight:512\nRangeFrom:1\nRangeTo:0\n");
        QCOMPARE(font().FontWidth(), 512);
    }

    // The question before a command replaces an edited font: Cancel keeps the edit and stops; Save writes
    // the font to its own file and goes on; Discard goes on without saving.
    void unsavedChangesQuestion() {
        const std::string file = open("tiny.font", kTiny);
        press(0, 1, Qt::LeftButton);
        release(0, 1, Qt::LeftButton);
        dialogs->questionAnswers = {MessageButton::Cancel};
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("The font has unsaved changes.\r\nWould you like to save it?"));
        QVERIFY(dialogs->lastMessage().buttons == MessageButtons::SaveDiscardCancel);
        QVERIFY(dialogs->lastMessage().defaultButton == MessageButton::Cancel);
        QCOMPARE(dialogs->fileCalls.size(), std::size_t(1));
        QVERIFY(fontDocument().isModified());

        dialogs->questionAnswers = {MessageButton::Save};
        dialogs->fileAnswers = {std::nullopt};
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(dialogs->fileCalls.size(), std::size_t(2)); // no Save As: the font has its file
        QCOMPARE(dialogs->fileCalls.back().request.title, std::string("Open File.font..."));
        QVERIFY(testsupport::readFile(file).ends_with("    BitMap:11\r\n           11\r\n"));
        QVERIFY(!fontDocument().isModified());

        press(0, 0, Qt::LeftButton, Qt::ShiftModifier);
        release(0, 0, Qt::LeftButton);
        dialogs->questionAnswers = {MessageButton::Discard};
        dialogs->fileAnswers = {file};
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(pixel(65, 0, 0), kBlack);
        QVERIFY(!fontDocument().isModified());
        QVERIFY(dialogs->allAnswered());
    }

    void paintingWithTheMouse() {
        open("three.font", threeChars());
        // A left drag paints black; a move without a button nothing; Shift paints white.
        press(1, 1, Qt::LeftButton);
        drag(2, 1, Qt::LeftButton);
        drag(3, 2, Qt::LeftButton);
        release(3, 2, Qt::LeftButton);
        QVERIFY(fontDocument().isModified());
        drag(5, 3, Qt::NoButton);
        QCOMPARE(QList<Colour>({pixel(48, 1, 1), pixel(48, 2, 1), pixel(48, 3, 2), pixel(48, 5, 3)}),
                 QList<Colour>({kBlack, kBlack, kBlack, kWhite}));
        QCOMPARE(page->sbFont->panelText(FontPage::kCellPanel), QString("5, 3"));
        press(1, 1, Qt::LeftButton, Qt::ShiftModifier);
        drag(2, 1, Qt::LeftButton, Qt::ShiftModifier);
        release(2, 1, Qt::LeftButton);
        QCOMPARE(pixel(48, 1, 1), kWhite);
        QCOMPARE(pixel(48, 2, 1), kWhite);
        // A right click paints nothing and so changes nothing to save.
        page->undoStack()->setClean();
        press(7, 0, Qt::RightButton);
        release(7, 0, Qt::RightButton);
        QCOMPARE(pixel(48, 7, 0), kWhite);
        QVERIFY(!fontDocument().isModified());
        // The painted cell shows at once.
        press(6, 0, Qt::LeftButton);
        QCOMPARE(page->dgridFont->grab().toImage().pixelColor(centre(6, 0)), QColor(0, 0, 0));
        release(6, 0, Qt::LeftButton);
    }

    // The pointer reports cells far apart when it moves fast: the stroke paints every cell between them,
    // beyond the grid and back included, as one step.
    void aFastDragPaintsTheWholeLine() {
        open("three.font", threeChars());
        const int steps = page->undoStack()->count();
        press(1, 3, Qt::LeftButton);
        drag(8, 0, Qt::LeftButton);
        sendMouse(page->dgridFont, QEvent::MouseMove, QPoint(-40, 0), Qt::NoButton, Qt::LeftButton);
        release(8, 0, Qt::LeftButton);
        QCOMPARE(page->undoStack()->count(), steps + 1);
        const std::vector<std::pair<int, int>> line = {{1, 3}, {2, 3}, {3, 2}, {4, 2},
                                                       {5, 1}, {6, 1}, {7, 0}, {8, 0}};
        for (const auto& [x, y] : line)
            QVERIFY2(pixel(48, x, y) == kBlack, qPrintable(QString("(%1, %2)").arg(x).arg(y)));
        int black = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 10; ++x)
                black += pixel(48, x, y) == kBlack;
        // The line there, and the top row back to the left edge where the font had its ink.
        QCOMPARE(black, 8 + 7);
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(pixel(48, 5, 1), kWhite);
        QCOMPARE(pixel(48, 3, 0), kWhite);
    }

    // A font of grey levels: the left button paints the ink level chosen beside the grid, the grid shows the
    // grey, and Save and Open keep the level.
    void paintingGreyLevels() {
        dialogs->dialogAnswers.push_back([](QDialog& dialog) {
            auto& form = dynamic_cast<TFormNewFont&>(dialog);
            form.seWidth->setValue(4);
            form.seHeight->setValue(3);
            form.seToChar->setValue(65);
            form.seFromChar->setValue(65);
            form.cbDepth->setCurrentIndex(2);
            return true;
        });
        page->FontMenuFile_NewClick();
        QVERIFY(page->seInkLevel->isVisible());
        QCOMPARE(page->seInkLevel->maximum(), 15);
        page->seInkLevel->setValue(8);
        press(1, 1, Qt::LeftButton);
        release(1, 1, Qt::LeftButton);
        QCOMPARE(pixel(65, 1, 1), levelColour(8, 4));
        QCOMPARE(page->dgridFont->grab().toImage().pixelColor(centre(1, 1)), QColor(0x77, 0x77, 0x77));
        press(2, 1, Qt::LeftButton);
        release(2, 1, Qt::LeftButton);
        press(2, 1, Qt::LeftButton, Qt::ShiftModifier);
        release(2, 1, Qt::LeftButton);
        QCOMPARE(pixel(65, 2, 1), kWhite);
        create(page->FontMenuFile_SaveGraphicFontAs, path("grey.font"));
        QVERIFY(testsupport::readFile(path("grey.font"))
                    .ends_with("           0800\r\n           0000\r\nDepth:4\r\n"));
        dialogs->fileAnswers.push_back(path("grey.font"));
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(pixel(65, 1, 1), levelColour(8, 4));
        // A 1-bit font has no level to choose.
        open("three.font", threeChars());
        QVERIFY(!page->seInkLevel->isVisible());
    }

    // The baseline: the grid's blue line under its row; moved by hand in one step however many clicks,
    // moved with Move Up and Move Down, each undone to where it was; Save writes it, Open reads it.
    void baselineGuideAndItsHistory() {
        open("three.font", threeChars());
        QCOMPARE(page->seBaseline->value(), 3); // no baseline in the file: the bottom row
        QCOMPARE(page->seBaseline->maximum(), 3);
        const auto lineUnder = [this](int row) {
            const QImage shot = page->dgridFont->grab().toImage();
            const int y = page->dgridFont->cellRect(0, row).bottom() + (row == 3 ? 0 : 1);
            return shot.pixelColor(centre(5, row).x(), y) == QColor(0x20, 0x60, 0xE0);
        };
        QVERIFY(lineUnder(3) && !lineUnder(1));
        const int steps = fontDocument().undoStack()->count();
        page->seBaseline->setValue(2);
        page->seBaseline->setValue(1);
        QCOMPARE(fontDocument().undoStack()->count(), steps + 1);
        QCOMPARE(font().Baseline, 1);
        QVERIFY(lineUnder(1) && !lineUnder(3));
        page->bMoveDown->click();
        QCOMPARE(font().Baseline, 2);
        QCOMPARE(page->seBaseline->value(), 2);
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(font().Baseline, 1);
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(font().Baseline, std::nullopt);
        QCOMPARE(page->seBaseline->value(), 3);
        page->FontMenuEdit_Redo->trigger();
        create(page->FontMenuFile_SaveGraphicFontAs, path("based.font"));
        QVERIFY(testsupport::readFile(path("based.font")).ends_with("\r\nBaseline:1\r\n"));
        open("three.font", threeChars());
        dialogs->fileAnswers.push_back(path("based.font"));
        page->FontMenuFile_OpenGraphicFontClick();
        QCOMPARE(page->seBaseline->value(), 1);
    }

    void automaticWidthOnMouseRelease() {
        open("three.font", threeChars());
        page->FontMenuEdit_AutomaticCharWidth->trigger();
        QCOMPARE(int(fontDocument().currentWidth()), 1); // at once: ink only in column 0
        press(9, 2, Qt::LeftButton);
        release(9, 2, Qt::LeftButton);
        QCOMPARE(page->seCharWidth->value(), 10);
        // A stroke over ink changes no pixel, but the width it recomputes is a step of its own.
        page->seCharWidth->setValue(4);
        const int steps = fontDocument().undoStack()->count();
        press(0, 0, Qt::LeftButton);
        release(0, 0, Qt::LeftButton);
        QCOMPARE(fontDocument().undoStack()->count(), steps + 1);
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(page->seCharWidth->value(), 4);
        page->FontMenuEdit_Redo->trigger();
        page->FontMenuEdit_AutomaticCharWidth->trigger();
        press(9, 2, Qt::LeftButton, Qt::ShiftModifier);
        release(9, 2, Qt::LeftButton);
        QCOMPARE(int(fontDocument().currentWidth()), 10);
    }

    void codeAndWidthControls() {
        open("three.font", threeChars());
        QCOMPARE(page->sbFont->panelText(0), QString("Col 150"));
        page->seCharCode->setValue(50); // a width beyond 100 is shown, not cut
        QCOMPARE(page->seCharWidth->value(), 150);
        QVERIFY(!fontDocument().isModified());
        page->seCharCode->setValue(49); // width 1: no step to the left
        QVERIFY(!page->bShiftLeft->isEnabled() && !page->bMoveLeft->isEnabled());
        page->seCharCode->setValue(48);
        QVERIFY(page->bShiftLeft->isEnabled());
        QTest::keyClick(page->seCharWidth, Qt::Key_Up);
        QCOMPARE(int(font().CharWidths[48]), 6);
        QVERIFY(fontDocument().isModified());
        QCOMPARE(page->dgridFont->cellColour(5, 1), kInkPreviewColour);
        page->seCharCode->setValue(50);
        page->seCharWidth->setValue(7);
        QCOMPARE(page->sbFont->panelText(0), QString("Col 7"));
        // Up and Down on the grid step the code within the range and hand the focus to the code control.
        for (const auto& [key, code] : {std::pair{Qt::Key_Up, 50}, {Qt::Key_Down, 49}}) {
            page->dgridFont->setFocus();
            QTest::keyClick(page->dgridFont, key);
            QCOMPARE(fontDocument().currentCode(), code);
            QCOMPARE(QApplication::focusWidget(), page->seCharCode);
        }
    }

    // A width of 0 (possible in a file) is shown without being changed into the control's minimum.
    void widthZeroIsShownWithoutBeingChanged() {
        open("zero.font", threeChars("0"));
        page->seCharCode->setValue(49);
        page->seCharCode->setValue(48);
        QCOMPARE(int(font().CharWidths[48]), 0);
        QVERIFY(!fontDocument().isModified());
    }

    void hidingTheEditorResetsItsControls() {
        open("three.font", threeChars());
        page->HideFontEditor();
        QVERIFY(page->dgridFont->isHidden());
        QCOMPARE(
            QList<int>({page->seGridSize->value(), page->seCharCode->value(), page->seCharWidth->value()}),
            QList<int>({5, 0, 0}));
        QVERIFY(!page->bInvert->isEnabled() && !page->FontMenuFile_SaveGraphicFont->isEnabled());
        QVERIFY(page->sbFont->panelText(2).isEmpty());
        QVERIFY(!fontDocument().isModified());
    }

    void previewFollowsTheGrid() {
        open("three.font", threeChars());
        TFormViewChar* preview = window->FormViewChar;
        page->FontMenuEdit_ViewChar->trigger();
        QVERIFY(preview->isVisible());
        QCOMPARE(QSize(preview->shownImage().width(), preview->shownImage().height()), QSize(10, 4));
        press(5, 3, Qt::LeftButton);
        QCOMPARE(preview->shownImage().pixel(5, 3), kBlack);
        page->FontMenuEdit_ViewChar->trigger();
        QVERIFY(!preview->isVisible());
    }

    // Save As appends .font, trims the cell to the widest character and names the font after the file.
    void saveWritesTheTrimmedFont() {
        open("three.font", threeChars());
        page->seCharCode->setValue(50);
        page->seCharWidth->setValue(7);
        const std::string written = path("Big.font");
        create(page->FontMenuFile_SaveGraphicFontAs, path("Big"));
        QCOMPARE(dialogs->lastMessage().text, written + "\r\nSuccesfully saved.");
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + written + "]"));
        QVERIFY(!fontDocument().isModified());
        QCOMPARE(page->dgridFont->columns(), 7);
        QVERIFY(testsupport::readFile(written).starts_with("FontName:Big\r\nFontWidth:7\r\n"));
    }

    // Ctrl+S writes the font to its own file without a dialog; ink the trim drops is named, and Undo
    // brings it back.
    void saveToItsOwnFile() {
        const std::string file = open("three.font", threeChars());
        page->seCharCode->setValue(50);
        page->seCharWidth->setValue(7);
        page->seCharCode->setValue(49);
        press(8, 2, Qt::LeftButton);
        release(8, 2, Qt::LeftButton);
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + file + "]*"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(dialogs->fileCalls.size() == 1 && dialogs->messages.empty());
        QVERIFY(testsupport::readFile(file).starts_with("FontName:three\r\nFontWidth:7\r\n"));
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + file + "]"));
        QCOMPARE(page->sbFont->panelText(FontPage::kNotePanel),
                 QString("Saved without columns 8 to 8: ink beyond the widest character"));
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(pixel(49, 8, 2), kBlack);
        QVERIFY(page->sbFont->panelText(FontPage::kNotePanel).isEmpty());
    }

    // The replace question names the path that will be written; No leaves the file and the flag.
    void replaceQuestionIsAboutThePathThatWillBeWritten() {
        open("tiny.font", kTiny);
        const std::string existing = testsupport::writeFile(dir->filePath("keep.font"), "old contents");
        press(2, 1, Qt::LeftButton);
        release(2, 1, Qt::LeftButton);
        dialogs->questionAnswers = {MessageButton::No};
        create(page->FontMenuFile_SaveGraphicFontAs, path("keep"));
        QCOMPARE(dialogs->lastMessage().text,
                 "The file '" + existing + "' already exist.\r\nDo you want to replace it?");
        QVERIFY(dialogs->lastMessage().defaultButton == MessageButton::No);
        QCOMPARE(testsupport::readFile(existing), std::string("old contents"));
        QVERIFY(fontDocument().isModified());
        dialogs->questionAnswers = {MessageButton::Yes};
        create(page->FontMenuFile_SaveGraphicFontAs, existing);
        QVERIFY(!fontDocument().isModified());
    }

    void editShortcutsActOnlyOnTheFontPage() {
        open("three.font", threeChars());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->PageControl->setCurrentIndex(1);
        QTest::keyClick(window.get(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(pixel(48, 0, 0), kBlack);
        window->PageControl->setCurrentIndex(0);
        QTest::keyClick(window.get(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(pixel(48, 0, 0), kWhite);
        QVERIFY(page->FontMenuEdit_Paste->isEnabled());
    }
};

QTEST_MAIN(FontEditorTest)
#include "font_editor_test.moc"
