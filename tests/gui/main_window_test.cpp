#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/form_tesselor.h"
#include "app/resources_page.h"
#include "dialogs/form_about.h"
#include "dialogs/form_font_range.h"
#include "dialogs/form_view_char.h"
#include "editor/font_grid.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "gui_support.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace tesselor;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TFormTesselor> window;

    QAction* action(const char* name) { return window->findChild<QAction*>(name); }
    QStringList menuCaptions(QMenu* menu) {
        QStringList captions;
        for (QAction* item : menu->actions())
            captions << (item->isSeparator() ? QString("-") : item->text());
        return captions;
    }

private slots:
    void init() {
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<TFormTesselor>(*dialogs);
    }
    void cleanup() {
        window.reset();
        dialogs.reset();
    }

    void windowAndPages() {
        QCOMPARE(window->windowTitle(), QString("Tesselor"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Tesselor"));
        QCOMPARE(window->size(), QSize(873, 869));
        QCOMPARE(window->minimumSize(), QSize(800, 610));
        QCOMPARE(window->PageControl->tabPosition(), QTabWidget::South);
        QCOMPARE(window->PageControl->count(), 3);
        QCOMPARE(window->PageControl->tabText(0), QString("   Font   "));
        QCOMPARE(window->PageControl->tabText(1), QString("  Bitmap  "));
        QCOMPARE(window->PageControl->tabText(2), QString("Resources File"));
        QCOMPARE(window->PageControl->currentIndex(), 0);
        for (const char* name :
             {"tsFont", "tsBitmap", "tsResourcesFile", "pViewFont", "seGridSize", "seCharCode", "seCharWidth",
              "sFont", "dgridFont", "pShiftMove", "sbFont", "imgBitmap", "pBitmap", "sbBitmap",
              "bImportResdataFile", "bRemoveResdataFile", "sgResources", "mResources"})
            QVERIFY2(window->findChild<QWidget*>(name) != nullptr, name);
    }

    void menusAndTheirItems() {
        QCOMPARE(menuCaptions(window->tsFont->FontMenuFile),
                 QStringList({"Import System Font", "Import Bmp Char", "-", "Open Graphic Font",
                              "Save Graphic Font", "-", "Create File.c Font", "Create File.resdata Font",
                              "Create File.lcd Font", "-", "Exit"}));
        QCOMPARE(menuCaptions(window->tsFont->FontMenuEdit),
                 QStringList({"Remove Left Blank Column", "Automatic Char Width", "-", "Restore", "-", "Cut",
                              "Copy", "Paste", "-", "View Char"}));
        QCOMPARE(menuCaptions(window->tsBitmap->BitmapMenuFile),
                 QStringList({"Import Bitmap Image", "-", "For The FT800 Graphics Controller",
                              "Create File.c Bitmap", "Create File.resdata Bitmap", "-", "Exit"}));
        QCOMPARE(menuCaptions(window->tsResourcesFile->ResourcesMenuFile),
                 QStringList({"New File.res", "-", "Open File.res", "Save File.res",
                              "Save Declarations Header...", "-", "Exit"}));
        QCOMPARE(window->tsFont->FontMenuFile->title(), QString("File"));
        QCOMPARE(window->tsFont->FontMenuEdit->title(), QString("Edit"));
        QCOMPARE(window->AboutMenu->text(), QString("About..."));
        QCOMPARE(window->menuBar()->actions().size(), 5);

        QCOMPARE(action("FontMenuEdit_Restore")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(action("FontMenuEdit_Cut")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
        QCOMPARE(action("FontMenuEdit_Copy")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
        QCOMPARE(action("FontMenuEdit_Paste")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
        QVERIFY(action("FontMenuEdit_RemoveLeftBlank")->isCheckable());
        QVERIFY(action("FontMenuEdit_AutomaticCharWidth")->isCheckable());
        QVERIFY(action("BitmapMenuFile_ForFT800")->isCheckable());
        QVERIFY(!action("FontMenuEdit_RemoveLeftBlank")->isChecked());
    }

    void enabledStatesAtStart() {
        for (const char* name :
             {"FontMenuFile_SaveGraphicFont", "FontMenuFile_CreateFileC", "FontMenuFile_CreateFileResdata",
              "FontMenuFile_CreateFileLcd", "FontMenuEdit_AutomaticCharWidth", "FontMenuEdit_Restore",
              "FontMenuEdit_Cut", "FontMenuEdit_Copy", "FontMenuEdit_Paste", "FontMenuEdit_ViewChar",
              "BitmapMenuFile_ForFT800", "BitmapMenuFile_CreateFileC", "BitmapMenuFile_CreateFileResdata",
              "ResourcesMenuFile_Save", "PopupMenu_CopyDeclarations"})
            QVERIFY2(!action(name)->isEnabled(), name);
        for (const char* name :
             {"FontMenuFile_ImportSystemFont", "FontMenuFile_ImportBmpChar", "FontMenuFile_OpenGraphicFont",
              "FontMenuFile_Exit", "BitmapMenuFile_Exit", "ResourcesMenuFile_Exit",
              "FontMenuEdit_RemoveLeftBlank", "BitmapMenuFile_ImportBitmap", "ResourcesMenuFile_New",
              "ResourcesMenuFile_Open", "AboutMenu"})
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(!window->tsResourcesFile->bRemoveResdataFile->isEnabled());
        QVERIFY(window->tsResourcesFile->bImportResdataFile->isEnabled());

        FontPage* font = window->tsFont;
        QVERIFY(font->sFont->isHidden());
        QVERIFY(font->dgridFont->isHidden());
        QVERIFY(!font->seGridSize->isEnabled());
        QVERIFY(!font->seCharCode->isEnabled());
        QVERIFY(!font->seCharWidth->isEnabled());
        QCOMPARE(font->transformButtons().size(), 15);
        for (QPushButton* button : font->transformButtons())
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QCOMPARE(font->seGridSize->value(), 5);
        QCOMPARE(font->seGridSize->minimum(), 5);
        QCOMPARE(font->seGridSize->maximum(), 40);
        QCOMPARE(font->seCharCode->maximum(), 100);
        QCOMPARE(font->seCharWidth->maximum(), 100);
        QCOMPARE(font->seGridSize->repeatInterval(), 500);
        QCOMPARE(font->seCharWidth->repeatInterval(), 500);
        QCOMPARE(font->sbFont->panelCount(), 4);
        for (int panel = 0; panel < 4; ++panel)
            QCOMPARE(font->sbFont->panelWidth(panel), (QList<int>{75, 75, 200, 50}[panel]));
        QCOMPARE(window->tsBitmap->sbBitmap->panelCount(), 4);
        for (int panel = 0; panel < 4; ++panel)
            QCOMPARE(window->tsBitmap->sbBitmap->panelWidth(panel), (QList<int>{100, 100, 170, 50}[panel]));
    }

    void resourceGridAtCreationAndOnResize() {
        QTableWidget* grid = window->tsResourcesFile->sgResources;
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString(" Resource Name"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString(" Type"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), QString(" Size"));
        QCOMPARE(grid->horizontalHeaderItem(3)->text(), QString(" Offset"));
        QVERIFY(grid->isColumnHidden(4));
        QCOMPARE(grid->rowCount(), 1); // the header row plus one empty row
        QCOMPARE(grid->columnWidth(1), 80);
        QCOMPARE(grid->columnWidth(2), 80);
        QCOMPARE(grid->columnWidth(3), 130);
        QVERIFY(!grid->isEnabled());
        QVERIFY(grid->selectedItems().isEmpty());

        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->PageControl->setCurrentIndex(2);
        window->resize(1000, 700);
        QCoreApplication::processEvents();
        QCOMPARE(grid->columnWidth(0), grid->width() - 80 - 80 - 130 - 8);
        window->resize(900, 650);
        QCoreApplication::processEvents();
        QCOMPARE(grid->columnWidth(0), grid->width() - 80 - 80 - 130 - 8);
    }

    void pageChangeSwitchesMenusAndCaption() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto visible = [&](QMenu* menu) { return menu->menuAction()->isVisible(); };
        QVERIFY(visible(window->tsFont->FontMenuFile));
        QVERIFY(visible(window->tsFont->FontMenuEdit));
        QVERIFY(!visible(window->tsBitmap->BitmapMenuFile));
        QVERIFY(!visible(window->tsResourcesFile->ResourcesMenuFile));
        QVERIFY(window->AboutMenu->isVisible());

        window->state().FontPageTitle = "Tesselor [font]";
        window->state().BitmapPageTitle = "Tesselor [bitmap]";
        window->state().ResourcesPageTitle = "Tesselor [res]";
        window->PageControl->setCurrentIndex(1);
        QCOMPARE(window->windowTitle(), QString("Tesselor [bitmap]"));
        QVERIFY(!visible(window->tsFont->FontMenuFile));
        QVERIFY(!visible(window->tsFont->FontMenuEdit));
        QVERIFY(visible(window->tsBitmap->BitmapMenuFile));
        QVERIFY(!visible(window->tsResourcesFile->ResourcesMenuFile));
        QVERIFY(window->AboutMenu->isVisible());
        QVERIFY(window->PageControl->hasFocus());

        window->PageControl->setCurrentIndex(2);
        QCOMPARE(window->windowTitle(), QString("Tesselor [res]"));
        QVERIFY(visible(window->tsResourcesFile->ResourcesMenuFile));
        QVERIFY(!visible(window->tsBitmap->BitmapMenuFile));

        window->PageControl->setCurrentIndex(0);
        QCOMPARE(window->windowTitle(), QString("Tesselor [font]"));
        QVERIFY(visible(window->tsFont->FontMenuFile));
        QVERIFY(!visible(window->tsResourcesFile->ResourcesMenuFile));
    }

    void closeQuery() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // Nothing modified: no question.
        QVERIFY(window->close());
        QVERIFY(dialogs->messages.empty());

        for (int flag = 0; flag < 2; ++flag) {
            window->show();
            (flag == 0 ? window->state().FontModified : window->state().ResourcesModified) = true;
            dialogs->questionAnswers = {MessageButton::Yes};
            QVERIFY(!window->close());
            QVERIFY(window->isVisible());
            QCOMPARE(dialogs->lastMessage().text,
                     std::string("The file has been modified.\r\nWould you like to save it?"));
            QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
            QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);
            QVERIFY(dialogs->lastMessage().buttons == MessageButtons::YesNo);
            dialogs->questionAnswers = {MessageButton::No};
            QVERIFY(window->close());
            QVERIFY(!window->isVisible());
            window->state().FontModified = false;
            window->state().ResourcesModified = false;
        }
        QVERIFY(dialogs->allAnswered());
    }

    void everyExitRunsTheCloseQuery() {
        for (const char* name : {"FontMenuFile_Exit", "BitmapMenuFile_Exit", "ResourcesMenuFile_Exit"}) {
            window->show();
            window->state().FontModified = true;
            dialogs->questionAnswers = {MessageButton::Yes};
            action(name)->trigger();
            QVERIFY2(window->isVisible(), name);
            dialogs->questionAnswers = {MessageButton::No};
            action(name)->trigger();
            QVERIFY2(!window->isVisible(), name);
        }
        QCOMPARE(dialogs->messages.size(), std::size_t(6));
        QVERIFY(dialogs->allAnswered());
    }

    void aboutBox() {
        window->AboutMenu->trigger();
        QCOMPARE(dialogs->modals, std::vector<std::string>{"FormAbout"});
        TFormAbout* about = window->FormAbout;
        QCOMPARE(about->windowTitle(), QString("Tesselor"));
        QCOMPARE(about->size(), QSize(507, 145));
        QCOMPARE(about->ImageLogo->geometry(), QRect(24, 24, 96, 96));
        QCOMPARE(about->ImageLogo->toolTip(), QString("Close..."));
        QCOMPARE(about->ImageLogo->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(about->AboutText->geometry(), QRect(148, 20, 329, 103));
        QCOMPARE(about->AboutText->text(),
                 QString("Tesselor (v.1.0.0)\n\nTool to create the resource file (.RES) to be loaded \n"
                         "on the microSD or to import into the source C code."));
        QVERIFY(about->AboutText->alignment() & Qt::AlignHCenter);

        // Clicking the emblem closes the box; Escape and the close button do not.
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(about->isVisible());
        about->close();
        QVERIFY(about->isVisible());
        QTest::mouseClick(about->ImageLogo, Qt::LeftButton);
        QVERIFY(!about->isVisible());
        QCOMPARE(about->result(), int(QDialog::Accepted));
    }

    void rangeDialog() {
        TFormFontRange* range = window->FormFontRange;
        QCOMPARE(range->windowTitle(), QString("Font Range"));
        QCOMPARE(range->size(), QSize(345, 90));
        QCOMPARE(range->seFromChar->value(), 32);
        QCOMPARE(range->seToChar->value(), 127);
        QCOMPARE(range->seFromChar->minimum(), 32);
        QCOMPARE(range->seFromChar->maximum(), 255);
        QCOMPARE(range->seToChar->minimum(), 32);
        QCOMPARE(range->seToChar->maximum(), 255);
        QCOMPARE(range->seToChar->repeatInterval(), 500);
        QCOMPARE(range->bRangeOK->text(), QString("OK"));
        range->seFromChar->setValue(300);
        QCOMPARE(range->seFromChar->value(), 255);
        range->seFromChar->setValue(10);
        QCOMPARE(range->seFromChar->value(), 32);

        // The values are kept for the next time; OK closes, Escape does not.
        range->seFromChar->setValue(48);
        range->seToChar->setValue(57);
        range->show();
        QVERIFY(QTest::qWaitForWindowExposed(range));
        QTest::keyClick(range, Qt::Key_Escape);
        QVERIFY(range->isVisible());
        QTest::mouseClick(range->bRangeOK, Qt::LeftButton);
        QVERIFY(!range->isVisible());
        QCOMPARE(range->seFromChar->value(), 48);
        QCOMPARE(range->seToChar->value(), 57);
    }

    void spinControlsTakeNoTyping() {
        FontPage* font = window->tsFont;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        font->seGridSize->setEnabled(true);
        font->seGridSize->setFocus();
        QTest::keyClicks(font->seGridSize, "9");
        QCOMPARE(font->seGridSize->value(), 5);
        QTest::keyClick(font->seGridSize, Qt::Key_Up);
        QCOMPARE(font->seGridSize->value(), 6);
    }

    void generalErrorReport() {
        QCOMPARE(withFinalStop("Cannot open 'x'"), std::string("Cannot open 'x'")); // "'" comes before "."
        QCOMPARE(withFinalStop("no such file"), std::string("no such file."));
        QCOMPARE(withFinalStop("Line 5 is missing"), std::string("Line 5 is missing."));
        QCOMPARE(withFinalStop("ends in 7"), std::string("ends in 7."));
        QCOMPARE(withFinalStop("already a stop."), std::string("already a stop."));
        QCOMPARE(withFinalStop("a bracket)"), std::string("a bracket)"));
        QCOMPARE(withFinalStop(""), std::string(""));
        window->commands().reportError("Cannot write 'x': disk full");
        const MessageRequest shown = dialogs->lastMessage();
        QCOMPARE(shown.text, std::string("Cannot write 'x': disk full."));
        QCOMPARE(shown.title, std::string("Tesselor"));
        QVERIFY(shown.icon == MessageIcon::Error);
        QVERIFY(shown.buttons == MessageButtons::Ok);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
