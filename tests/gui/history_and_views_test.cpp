// The editor as people expect it: every change undone and redone exactly, the saved state, typed values,
// the keys, and the views of the font that follow every edit.
#include "app/font_page.h"
#include "app/resources_page.h"
#include "dialogs/form_about.h"
#include "dialogs/form_font_range.h"
#include "dialogs/form_new_font.h"
#include "dialogs/form_view_char.h"
#include "editor/font_grid.h"
#include "editor/font_overview.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "editor/text_preview.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "qtplatform/qt_pixels.h"
#include "qtplatform/qt_rasteriser.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

#include <functional>

using namespace tesselor;
using testsupport::sendMouse;

namespace {
// Codes 65..67 in a cell of 6 x 4, each with a little ink and its own width.
const std::string kThree =
    "FontName:T\nFontWidth:6\nFontHeight:4\nRangeFrom:65\nRangeTo:67\n"
    "Char:65\n  Width:3\n    BitMap:010000\n           101000\n           111000\n           000000\n"
    "Char:66\n  Width:4\n    BitMap:000000\n           011000\n           010100\n           000000\n"
    "Char:67\n  Width:2\n    BitMap:000000\n           000000\n           110000\n           000000\n";

// What the history must give back exactly.
struct Snapshot {
    std::array<PixelImage, kCharCount> images;
    std::array<std::uint8_t, kCharCount> widths;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};
} // namespace

class HistoryAndViewsTest : public QObject, protected WindowFixture {
    Q_OBJECT

    FontPage* page = nullptr;

    Snapshot snapshot() { return {font().CharImages, font().CharWidths}; }
    void openThree() {
        dialogs->fileAnswers.push_back(testsupport::writeFile(dir->filePath("three.font"), kThree));
        page->FontMenuFile_OpenGraphicFontClick();
    }
    // The views show the model: the width field and the code, the grid's size, and every pixel of every
    // character in the overview.
    void viewsShowTheModel(const char* when) {
        const FontModel& model = font();
        const int code = fontDocument().currentCode();
        QVERIFY2(page->seCharWidth->value() == model.CharWidths[std::size_t(code)], when);
        QVERIFY2(page->seCharCode->value() == code, when);
        QVERIFY2(page->dgridFont->columns() == model.FontWidth() &&
                     page->dgridFont->rows() == model.FontHeight(),
                 when);
        const QImage shown = page->overview->grab().toImage();
        const int scale = page->overview->scale();
        for (int c = model.firstCode(); c <= model.lastCode(); ++c) {
            const QPoint corner = page->overview->cellRect(c).topLeft();
            for (int y = 0; y < model.FontHeight(); ++y)
                for (int x = 0; x < model.FontWidth(); ++x)
                    QVERIFY2(shown.pixelColor(corner + QPoint(x, y) * scale) ==
                                 toQColor(model.CharImages[std::size_t(c)].pixel(x, y)),
                             qPrintable(QString("%1: code %2 (%3, %4)").arg(when).arg(c).arg(x).arg(y)));
        }
    }
    void paint(int x, int y) {
        const QPoint at = page->dgridFont->cellRect(x, y).center();
        sendMouse(page->dgridFont, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(page->dgridFont, QEvent::MouseMove, at + QPoint(0, 13), Qt::NoButton, Qt::LeftButton);
        sendMouse(page->dgridFont, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        QVERIFY(showWindow());
        openThree();
    }
    void cleanup() { destroyWindow(); }

    // Each kind of step: done, undone to the exact pixels and widths before, redone to those after.
    void undoAndRedoEveryStep_data() {
        QTest::addColumn<QString>("step");
        for (const char* step :
             {"Paint", "Char Width", "Automatic Char Width", "Shift Right", "Move Right", "Add Column",
              "Remove Row", "Horizontal Mirror", "Invert", "Cut", "Paste", "Restore", "Import", "Trim Cell"})
            QTest::newRow(step) << QString(step);
    }
    void undoAndRedoEveryStep() {
        QFETCH(QString, step);
        page->seCharCode->setValue(66);
        page->FontMenuEdit_Copy->trigger();
        page->seCharCode->setValue(65);
        if (step == "Restore")
            page->FontMenuEdit_Paste->trigger();
        if (step == "Automatic Char Width")
            page->seCharWidth->setValue(6);
        const std::map<QString, std::function<void()>> steps = {
            {"Paint", [&] { paint(5, 0); }},
            {"Char Width", [&] { page->seCharWidth->setValue(6); }},
            {"Automatic Char Width", [&] { page->FontMenuEdit_AutomaticCharWidth->trigger(); }},
            {"Shift Right", [&] { page->bShiftRight->click(); }},
            {"Move Right", [&] { page->bMoveRight->click(); }},
            {"Add Column", [&] { page->bAddColumn->click(); }},
            {"Remove Row", [&] { page->bRemoveRow->click(); }},
            {"Horizontal Mirror", [&] { page->bHorizontalMirror->click(); }},
            {"Invert", [&] { page->bInvert->click(); }},
            {"Cut", [&] { page->FontMenuEdit_Cut->trigger(); }},
            {"Paste", [&] { page->FontMenuEdit_Paste->trigger(); }},
            {"Restore", [&] { page->FontMenuEdit_Restore->trigger(); }},
            {"Import",
             [&] {
                 dialogs->fontAnswers.push_back(QFont("DejaVu Sans", 8));
                 dialogs->rangeAnswers.push_back(std::pair{48, 57});
                 page->FontMenuFile_ImportSystemFontClick();
             }},
            {"Trim Cell", [&] { create(page->FontMenuFile_SaveGraphicFontAs, path("trimmed.font")); }},
        };
        const Snapshot before = snapshot();
        const QSize cellBefore(font().FontWidth(), font().FontHeight());
        steps.at(step)();
        const Snapshot after = snapshot();
        QVERIFY2(!(after == before), "the step changed nothing");
        QCOMPARE(page->FontMenuEdit_Undo->text(), "Undo " + step);
        page->FontMenuEdit_Undo->trigger();
        QVERIFY(snapshot() == before);
        QCOMPARE(QSize(font().FontWidth(), font().FontHeight()), cellBefore);
        viewsShowTheModel("after Undo");
        QCOMPARE(page->FontMenuEdit_Redo->text(), "Redo " + step);
        page->FontMenuEdit_Redo->trigger();
        QVERIFY(snapshot() == after);
        viewsShowTheModel("after Redo");
    }

    // Width changes of two characters in a row are two steps, each undone and redone on its own character.
    void widthsOfTwoCharacters() {
        page->seCharCode->setValue(65);
        page->seCharWidth->setValue(5);
        page->seCharCode->setValue(66);
        page->seCharWidth->setValue(6);
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(int(font().CharWidths[66]) * 10 + font().CharWidths[65], 45);
        page->FontMenuEdit_Undo->trigger();
        QCOMPARE(int(font().CharWidths[66]) * 10 + font().CharWidths[65], 43);
        viewsShowTheModel("both undone");
        page->FontMenuEdit_Redo->trigger();
        QCOMPARE(int(font().CharWidths[66]) * 10 + font().CharWidths[65], 45);
        page->FontMenuEdit_Redo->trigger();
        QCOMPARE(int(font().CharWidths[66]) * 10 + font().CharWidths[65], 65);
        viewsShowTheModel("both redone");
    }

    // Undoing back to the saved font clears the flag, and the close question follows it.
    void theSavedStateIsNoChange() {
        paint(5, 0);
        QVERIFY(fontDocument().isModified());
        page->FontMenuEdit_Undo->trigger();
        QVERIFY(!fontDocument().isModified());
        QVERIFY(window->close());
        window->show();
        page->FontMenuEdit_Redo->trigger();
        QVERIFY(fontDocument().isModified());
        page->FontMenuFile_SaveGraphicFont->trigger(); // to its own file
        page->FontMenuEdit_Undo->trigger();            // the trim of Save
        page->FontMenuEdit_Redo->trigger();
        QVERIFY(!fontDocument().isModified());
    }

    // Ctrl+Z reaches the font's history from anywhere on the page, a spin box's own text included; a
    // transform's key works as its button.
    void keysOfTheHistory() {
        page->seCharWidth->setFocus();
        QTest::keyClick(page->seCharWidth, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(page->FontMenuEdit_Undo->text(), QString("Undo Invert"));
        QVERIFY(page->bInvert->toolTip().contains("Ctrl+I"));
        const Snapshot inverted = snapshot();
        QTest::keyClick(page->seCharWidth, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!(snapshot() == inverted));
        QTest::keyClick(page->seCharWidth, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(snapshot() == inverted);
        QCOMPARE(page->FontMenuEdit_Restore->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    }

    // The keys reach the font's commands wherever the focus is on the page: in a field, after a value typed
    // there and Enter (which gives the keys back to the grid), and after Alt+E and Escape in the menu bar.
    void keysReachTheCommandsFromAnywhere() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        page->seCharCode->setFocus();
        page->seCharCode->selectAll();
        QTest::keyClicks(page->seCharCode, "66");
        QTest::keyClick(page->seCharCode, Qt::Key_Return);
        QCOMPARE(fontDocument().currentCode(), 66);
        QCOMPARE(QApplication::focusWidget(), page->dgridFont);
        page->seCharWidth->setFocus();
        QTest::keyClick(page->seCharWidth, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(page->FontMenuEdit_Undo->text(), QString("Undo Shift Right"));
        QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
        QCOMPARE(QApplication::activePopupWidget(), page->FontMenuEdit);
        QTest::keyClick(page->FontMenuEdit, Qt::Key_Escape);
        QVERIFY(!page->FontMenuEdit->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(page->FontMenuEdit_Undo->text(), QString("Undo Shift Left"));
    }

    // Ctrl+N: a blank font of the cell and range asked, a step of the history; it has no file, so Ctrl+S
    // asks where.
    void newBlankFont() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        dialogs->dialogAnswers.push_back([](QDialog& dialog) {
            auto& form = dynamic_cast<TFormNewFont&>(dialog);
            form.seWidth->setValue(6);
            form.seHeight->setValue(9);
            form.seToChar->setValue(57);
            form.seFromChar->setValue(48);
            return true;
        });
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(dialogs->dialogsShown, std::vector<std::string>{"FormNewFont"});
        QCOMPARE(QList<int>({font().FontWidth(), font().FontHeight(), font().RangeFrom, font().RangeTo}),
                 QList<int>({6, 9, 48, 57}));
        QCOMPARE(font().CharImages[50], PixelImage(6, 9, kWhite));
        QCOMPARE(int(font().CharWidths[57]), 6);
        QCOMPARE(shownTitle(), QString("Tesselor [New Font]"));
        QVERIFY(!fontDocument().isModified());
        QCOMPARE(page->FontMenuEdit_Undo->text(), QString("Undo New Font"));
        dialogs->fileAnswers.push_back(std::nullopt);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs->fileCalls.back().request.title, std::string("Save File.font..."));
        QVERIFY(dialogs->allAnswered());
    }

    // Typed numbers apply on Enter, clamped to the limits; a typed character is its code.
    void typedValues() {
        const std::tuple<SpinControl*, const char*, int> cases[] = {
            {page->seCharCode, "66", 66},    {page->seCharCode, "C", 67}, {page->seCharCode, "90", 67},
            {page->seCharWidth, "300", 255}, {page->seGridSize, "3", 5},
        };
        for (const auto& [control, typed, value] : cases) {
            control->setFocus();
            control->selectAll();
            QTest::keyClicks(control, typed);
            QVERIFY(control->value() != value || control == page->seCharCode); // nothing before Enter
            QTest::keyClick(control, Qt::Key_Return);
            QCOMPARE(control->value(), value);
        }
        QCOMPARE(int(font().CharWidths[67]), 255);
    }

    // Cancel and Escape in the range dialog end the import with nothing changed; the About box closes
    // with Escape and Enter.
    void dialogsCloseWithTheirKeys() {
        const Snapshot before = snapshot();
        dialogs->fontAnswers.push_back(QFont("DejaVu Sans", 8));
        dialogs->rangeAnswers.push_back(std::nullopt);
        page->FontMenuFile_ImportSystemFontClick();
        QVERIFY(snapshot() == before);
        QCOMPARE(page->FontMenuEdit_Undo->text(), QString("Undo"));
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            for (QDialog* dialog :
                 std::initializer_list<QDialog*>{window->FormFontRange, window->FormAbout}) {
                dialog->show();
                QVERIFY(QTest::qWaitForWindowExposed(dialog));
                QTest::keyClick(dialog, key);
                QVERIFY(!dialog->isVisible());
            }
        }
    }

    // The faults seen on screen: the upright default font, and a View Char window beside the main window
    // that empties with the editor.
    void twoDisplayFaults() {
        const QFont offered = QFontDialog(defaultImportFont()).currentFont();
        QVERIFY(!offered.italic() && offered.weight() == QFont::Normal &&
                !offered.styleName().contains("Oblique"));

        window->PageControl->setCurrentIndex(0);
        window->setMinimumSize(0, 0);
        window->setGeometry(20, 20, 500, 400);
        page->FontMenuEdit_ViewChar->trigger();
        TFormViewChar* view = window->FormViewChar;
        QVERIFY(view->isVisible());
        QCOMPARE(view->pos(), window->frameGeometry().topRight() + QPoint(8, 0));
        page->seCharCode->setValue(66);
        QCOMPARE(view->shownImage(), font().CharImages[66]);
        page->HideFontEditor();
        QVERIFY(!view->isVisible() && view->shownImage().isEmpty());
    }

    // A refused transform says why instead of doing nothing silently, until the next change.
    void refusedTransformsSayWhy() {
        page->bShiftLeft->click(); // 65 has ink in column 0
        QCOMPARE(page->sbFont->panelText(4), QString("Shift Left: ink would leave the cell"));
        QCOMPARE(page->FontMenuEdit_Undo->text(), QString("Undo"));
        page->bShiftRight->click();
        QVERIFY(page->sbFont->panelText(4).isEmpty());
    }

    // The overview selects on a click and follows the pixels; the text preview is the glyphs side by side.
    void overviewAndTextPreview() {
        page->overview->resize(400, 200);
        QTest::mouseClick(page->overview, Qt::LeftButton, {}, page->overview->cellRect(67).center());
        QCOMPARE(fontDocument().currentCode(), 67);
        TextPreview* preview = page->textPreview;
        preview->cbPreviewScale->setCurrentIndex(0);
        preview->eSampleText->setText("CAB");
        const FontModel& font = fontDocument().font();
        PixelImage expected(2 + 3 + 4, 4, kWhite);
        int x = 0;
        for (const int code : {67, 65, 66}) {
            for (int y = 0; y < 4; ++y)
                for (int column = 0; column < font.CharWidths[std::size_t(code)]; ++column)
                    expected.setPixel(x + column, y, font.CharImages[std::size_t(code)].pixel(column, y));
            x += font.CharWidths[std::size_t(code)];
        }
        QCOMPARE(preview->rendered(), expected);
        paint(1, 0); // 67 is current: its glyph changes in the preview at once (the stroke covers (1, 0) and
                     // (1, 1))
        expected.setPixel(1, 0, kBlack);
        expected.setPixel(1, 1, kBlack);
        QCOMPARE(preview->rendered(), expected);
        preview->eSampleText->setText("AxZ"); // outside the range: skipped, marked
        QCOMPARE(preview->rendered().width(), 3);
        QCOMPARE(preview->rendered().pixel(3 - 1, 3), Colour(0x0000FF));
    }

    // Ctrl and the wheel zoom the grid one step around the pointer; the Resources page's history undoes
    // Import and Remove.
    void wheelZoomAndTheListsHistory() {
        const QPoint at = page->dgridFont->cellRect(1, 1).center();
        QWheelEvent wheel(at, page->dgridFont->mapToGlobal(at), {}, {0, 120}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(page->dgridFont, &wheel);
        QCOMPARE(state().GridZoom, 13);

        ResourcesPage* list = window->tsResourcesFile;
        for (const char* name : {"a", "b"}) {
            const Bytes item = writeResourceItem("bmp", name, Bytes{1});
            dialogs->fileAnswers.push_back(testsupport::writeFile(dir->filePath(QString(name) + ".resdata"),
                                                                  {item.begin(), item.end()}));
            list->bImportResdataFileClick();
        }
        // Undoing the import of the last row, selected, leaves a row selected that exists.
        list->sgResources->setCurrentCell(1, 0);
        list->ResourcesMenuEdit_Undo->trigger();
        QCOMPARE(list->sgResources->rowCount(), 1);
        QCOMPARE(list->sgResources->currentRow(), 0);
        list->ResourcesMenuEdit_Redo->trigger();
        list->sgResources->setCurrentCell(0, 0);
        list->bRemoveResdataFile->click();
        QCOMPARE(list->ResourcesMenuEdit_Undo->text(), QString("Undo Remove"));
        list->ResourcesMenuEdit_Undo->trigger();
        QCOMPARE(list->sgResources->item(0, 0)->text(), QString(" a"));
        list->undoStack()->setIndex(0);
        QVERIFY(resources().items().empty() && !resources().isModified());
    }
};

QTEST_MAIN(HistoryAndViewsTest)
#include "history_and_views_test.moc"
