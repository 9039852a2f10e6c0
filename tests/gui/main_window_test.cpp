// The window's shell: what each page offers at start, the captions and menus as pages change, the close
// query, the small windows, the dialog every command asks with, and the general error report.
#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/resources_page.h"
#include "dialogs/form_about.h"
#include "dialogs/form_font_range.h"
#include "editor/spin_control.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "platform/qt_dialogs.h"
#include "resources/resource_file.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace tesselor;

class MainWindowTest : public QObject, protected WindowFixture {
    Q_OBJECT

private slots:
    void init() { createWindow(); }
    void cleanup() { destroyWindow(); }

    // Each menu in order, with its captions and what is enabled before anything was opened.
    void startState_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items"); // name=caption, "!" before a disabled one; "-" a separator
        // clang-format off
        QTest::newRow("Font File") << "FontMenuFile" << QStringList{
            "FontMenuFile_New=New Font...", "FontMenuFile_ImportSystemFont=Import System Font", "FontMenuFile_ImportFontFile=Import Font File...",
            "FontMenuFile_ImportBdfFont=Import BDF Font...", "FontMenuFile_ImportBmpChar=Import Bmp Char", "-",
            "FontMenuFile_OpenGraphicFont=Open Graphic Font", "!FontMenuFile_SaveGraphicFont=Save Graphic Font",
            "!FontMenuFile_SaveGraphicFontAs=Save Graphic Font As...", "-",
            "!FontMenuFile_CreateFileC=Create File.c Font", "!FontMenuFile_CreateFileResdata=Create File.resdata Font",
            "!FontMenuFile_CreateFileLcd=Create File.lcd Font", "!FontMenuFile_CreateFileBdf=Create File.bdf Font",
            "!FontMenuFile_CreateFileFt8xx=Create File for FT8xx Font...",
            "!FontMenuFile_CreateFileGfx=Create File for GFX Font...",
            "!FontMenuFile_CreateFileLvgl=Create File for LVGL Font...", "-",
            "!FontMenuFile_Recent=Recent Files", "-", "FontMenuFile_Exit=Exit"};
        QTest::newRow("Font Edit") << "FontMenuEdit" << QStringList{
            "!FontMenuEdit_Undo=Undo", "!FontMenuEdit_Redo=Redo", "-", "FontMenuEdit_RemoveLeftBlank=Remove Left Blank Column", "!FontMenuEdit_AutomaticCharWidth=Automatic Char Width",
            "-", "!FontMenuEdit_Restore=Restore", "-", "!FontMenuEdit_Cut=Cut", "!FontMenuEdit_Copy=Copy",
            "!FontMenuEdit_Paste=Paste", "-", "!FontMenuEdit_ViewChar=View Char"};
        QTest::newRow("Bitmap File") << "BitmapMenuFile" << QStringList{
            "BitmapMenuFile_ImportBitmap=Import Bitmap Image", "-",
            "!BitmapMenuFile_ForFT800=For The FT800 Graphics Controller", "!BitmapMenuFile_CreateFileC=Create File.c Bitmap",
            "!BitmapMenuFile_CreateFileResdata=Create File.resdata Bitmap", "-", "!BitmapMenuFile_Recent=Recent Files", "-",
            "BitmapMenuFile_Exit=Exit"};
        QTest::newRow("Resources File") << "ResourcesMenuFile" << QStringList{
            "ResourcesMenuFile_New=New File.res", "-", "ResourcesMenuFile_Open=Open File.res",
            "!ResourcesMenuFile_Save=Save File.res", "!ResourcesMenuFile_SaveAs=Save File.res As...",
            "!ResourcesMenuFile_SaveHeader=Save Declarations Header...", "-",
            "!ResourcesMenuFile_Recent=Recent Files", "-", "ResourcesMenuFile_Exit=Exit"};
        QTest::newRow("Resources Edit") << "ResourcesMenuEdit" << QStringList{
            "!ResourcesMenuEdit_Undo=Undo", "!ResourcesMenuEdit_Redo=Redo", "-",
            "!ResourcesMenuEdit_Remove=Remove Resdata File"};
        QTest::newRow("buttons") << "" << QStringList{
            "bImportResdataFile=Import Resdata File", "!bRemoveResdataFile=Remove Resdata File", "!bShiftLeft=Left",
            "!bInvert=Invert"};
        // clang-format on
    }
    void startState() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        const QList<QAction*> actions =
            menu.isEmpty() ? QList<QAction*>() : window->findChild<QMenu*>(menu)->actions();
        if (!menu.isEmpty())
            QCOMPARE(actions.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            if (items[i] == "-") {
                QVERIFY(actions[i]->isSeparator());
                continue;
            }
            const bool enabled = !items[i].startsWith('!');
            const QString name = items[i].mid(enabled ? 0 : 1).section('=', 0, 0);
            const QString caption = items[i].section('=', 1);
            QObject* object = menu.isEmpty()
                                  ? static_cast<QObject*>(window->findChild<QAbstractButton*>(name))
                                  : static_cast<QObject*>(actions[i]);
            QCOMPARE(object->objectName(), name);
            QCOMPARE(object->property("text").toString(), caption);
            QCOMPARE(object->property("enabled").toBool(), enabled);
        }
    }

    // Each page shows its own menus and caption; About stays.
    void pagesSwitchMenusAndCaptions() {
        QVERIFY(showWindow());
        QCOMPARE(window->PageControl->tabText(2), QString("Resources File"));
        fontDocument().open({}, {false, "Tesselor [font]", "", "", ""});
        state().BitmapPageTitle = "Tesselor [bitmap]";
        resources().open({}, "res");
        const QMenu* menus[] = {window->tsFont->FontMenuFile, window->tsBitmap->BitmapMenuFile,
                                window->tsResourcesFile->ResourcesMenuFile};
        const char* titles[] = {"Tesselor [font]", "Tesselor [bitmap]", "Tesselor [res]"};
        for (int page : {1, 2, 0}) {
            window->PageControl->setCurrentIndex(page);
            QCOMPARE(shownTitle(), QString(titles[page]));
            for (int other = 0; other < 3; ++other)
                QCOMPARE(menus[other]->menuAction()->isVisible(), other == page);
            QCOMPARE(window->tsFont->FontMenuEdit->menuAction()->isVisible(), page == 0);
            QVERIFY(window->AboutMenu->isVisible());
        }
    }

    // Closing, and each page's Exit, asks once when the font or the list has unsaved changes, naming
    // them. Cancel keeps the window and the edits; Save writes each to its own file (Save As for one
    // without) and closes, unless a save was cancelled; Discard closes without writing.
    void closeQuery() {
        QVERIFY(showWindow());
        QVERIFY(window->close());
        QVERIFY(dialogs->messages.empty());
        window->show();
        const std::string fontFile =
            testsupport::writeFile(dir->filePath("tiny.font"), fixtures::kTiny9x3Font);
        window->tsFont->openFontFile(fontFile);
        window->tsFont->bInvert->click();
        const Bytes item = writeResourceItem("bmp", "logo", Bytes{1, 2});
        dialogs->fileAnswers.push_back(
            testsupport::writeFile(dir->filePath("logo.resdata"), {item.begin(), item.end()}));
        window->tsResourcesFile->bImportResdataFileClick();

        dialogs->questionAnswers = {MessageButton::Cancel};
        window->findChild<QAction*>("ResourcesMenuFile_Exit")->trigger();
        QVERIFY(window->isVisible());
        QCOMPARE(dialogs->lastMessage().text,
                 std::string(
                     "The font and the resource list have unsaved changes.\r\nWould you like to save them?"));
        QVERIFY(dialogs->lastMessage().buttons == MessageButtons::SaveDiscardCancel);
        QVERIFY(dialogs->lastMessage().defaultButton == MessageButton::Cancel);
        QVERIFY(fontDocument().isModified() && resources().isModified());

        // The font goes to its file; the list has none and its Save As is cancelled: the window stays.
        dialogs->questionAnswers = {MessageButton::Save};
        dialogs->fileAnswers = {std::nullopt};
        window->findChild<QAction*>("FontMenuFile_Exit")->trigger();
        QVERIFY(window->isVisible());
        QVERIFY(!fontDocument().isModified() && resources().isModified());
        QVERIFY(testsupport::readFile(fontFile) != fixtures::kTiny9x3Font);

        dialogs->questionAnswers = {MessageButton::Save};
        dialogs->fileAnswers = {path("list.res")};
        window->findChild<QAction*>("BitmapMenuFile_Exit")->trigger();
        QVERIFY(!window->isVisible());
        QCOMPARE(dialogs->messages[dialogs->messages.size() - 2].text,
                 std::string("The resource list has unsaved changes.\r\nWould you like to save it?"));
        const Bytes list = writeResFile({item});
        QCOMPARE(testsupport::readFile(path("list.res")), std::string(list.begin(), list.end()));

        window->show();
        const std::string saved = testsupport::readFile(fontFile);
        window->tsFont->bInvert->click();
        dialogs->questionAnswers = {MessageButton::Discard};
        QVERIFY(window->close());
        QCOMPARE(testsupport::readFile(fontFile), saved);
        QVERIFY(dialogs->allAnswered());
    }

    // The real question box: Escape answers Cancel, so an edit is never lost to a reflex.
    void escapeOnTheQuestionKeepsTheWork() {
        QtDialogs real;
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QVERIFY(real.message(window.get(), {"The font has unsaved changes.\r\nWould you like to save it?",
                                            "Information", MessageIcon::Information,
                                            MessageButtons::SaveDiscardCancel, MessageButton::Cancel}) ==
                MessageButton::Cancel);
    }

    // A window destroyed with edits in both histories: the pages go before the documents they show (under
    // the sanitizers a write into freed memory fails the test).
    void destroyingAnEditedWindow() {
        window->tsFont->openFontFile(
            testsupport::writeFile(dir->filePath("tiny.font"), fixtures::kTiny9x3Font));
        window->tsFont->bInvert->click();
        window->tsFont->bAddColumn->click();
        window->tsFont->FontMenuEdit_Undo->trigger();
        const Bytes item = writeResourceItem("bmp", "logo", Bytes{1});
        dialogs->fileAnswers.push_back(
            testsupport::writeFile(dir->filePath("a.resdata"), {item.begin(), item.end()}));
        window->tsResourcesFile->bImportResdataFileClick();
        QVERIFY(fontDocument().isModified() && resources().isModified());
        window.reset();
        QVERIFY(dialogs->allAnswered());
    }

    void aboutBox() {
        window->AboutMenu->trigger();
        QCOMPARE(dialogs->modals, std::vector<std::string>{"FormAbout"});
        TFormAbout* about = window->FormAbout;
        QCOMPARE(about->AboutText->text(),
                 QString("Tesselor (v.1.0.0)\n\nTool to create the resource file (.RES) "
                         "to be loaded \non the microSD or to import into the source C code."));
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::mouseClick(about->ImageLogo, Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    // The range dialog's limits, kept values and OK.
    void rangeDialog() {
        TFormFontRange* range = window->FormFontRange;
        QCOMPARE(range->seFromChar->value(), 32);
        QCOMPARE(range->seToChar->value(), 127);
        range->seFromChar->setValue(256);
        QCOMPARE(range->seFromChar->value(), 255);
        range->seToChar->setValue(31);
        QCOMPARE(range->seToChar->value(), 32);
        range->show();
        QVERIFY(QTest::qWaitForWindowExposed(range));
        QTest::mouseClick(range->bRangeOK, Qt::LeftButton);
        QVERIFY(!range->isVisible());
        QCOMPARE(range->seFromChar->value(), 255);
    }

    // The name column takes what the other three leave, from the first show and on every resize.
    void resourceNameColumnFillsTheGrid() {
        QVERIFY(showWindow());
        window->PageControl->setCurrentIndex(2);
        QTableWidget* grid = window->tsResourcesFile->sgResources;
        for (const QSize size : {window->size(), QSize(1000, 700), QSize(900, 650)}) {
            window->resize(size);
            QCoreApplication::processEvents();
            QCOMPARE(grid->columnWidth(0), grid->width() - 80 - 80 - 130 - 8);
            QVERIFY(grid->columnWidth(0) > 100);
        }
    }

    // Every command asks with its own title, proposed name and filter.
    void dialogsOfTheCommands_data() {
        for (const char* column : {"action", "kind", "title", "name", "filter"})
            QTest::addColumn<QString>(column);
        // clang-format off
        const char* const rows[][5] = {
            {"FontMenuFile_OpenGraphicFont", "open", "Open File.font...", "*.font", "Graphic Font File (*.font)|*.font|All files (*.*)|*.*"},
            {"FontMenuFile_SaveGraphicFont", "save", "Save File.font...", "my_font.font", "Graphic Font File (*.font)|*.font|All files (*.*)|*.*"},
            {"FontMenuFile_SaveGraphicFontAs", "save", "Save File.font...", "my_font.font", "Graphic Font File (*.font)|*.font|All files (*.*)|*.*"},
            {"FontMenuFile_CreateFileC", "save", "Create File.c...", "my_font.c", "Array font file (*.c)|*.c|All files (*.*)|*.*"},
            {"FontMenuFile_CreateFileResdata", "save", "Create File.resdata...", "my_font.resdata", "Resource font file (*.resdata)|*.resdata|All files (*.*)|*.*"},
            {"FontMenuFile_CreateFileLcd", "save", "Create File.lcd...", "my_font.lcd", "Graphic font file (*.lcd)|*.lcd|All files (*.*)|*.*"},
            {"FontMenuFile_CreateFileBdf", "save", "Create File.bdf...", "my_font.bdf", "BDF font (*.bdf)|*.bdf|All files (*.*)|*.*"},
            {"FontMenuFile_ImportFontFile", "open", "Import Font File...", "*.ttf", "Font files (*.ttf *.otf *.ttc *.otc *.pfa *.pfb)|*.ttf;*.otf;*.ttc;*.otc;*.pfa;*.pfb|All files (*.*)|*.*"},
            {"FontMenuFile_ImportBdfFont", "open", "Import BDF Font...", "*.bdf", "BDF font (*.bdf)|*.bdf|All files (*.*)|*.*"},
            // Every image format Qt reads here first: a pattern, as the plugins vary from machine to machine.
            {"BitmapMenuFile_ImportBitmap", "open", "Import File.bmp...", "*.bmp", R"(~^Image files \(\*\.bmp .*\*\.png .*\)\|\*\.bmp;.*\|Bitmap File \(\*\.bmp\)\|\*\.bmp\|All files \(\*\.\*\)\|\*\.\*$)"},
            {"BitmapMenuFile_CreateFileC", "save", "Create File.c...", "my_pic_bmp.c", "Array bitmap file (*.c)|*.c|All files (*.*)|*.*"},
            {"BitmapMenuFile_CreateFileResdata", "save", "Create File.resdata...", "my_pic_bmp.resdata", "Resource bitmap file (*.resdata)|*.resdata|All files (*.*)|*.*"},
            {"bImportResdataFile", "open", "Open File.resdata...", "*.resdata", "Resource File (*.resdata)|*.resdata|All files (*.*)|*.*"},
            {"ResourcesMenuFile_Open", "open", "Open File.res...", "*.res", "Resource File (*.res)|*.res|All files (*.*)|*.*"},
            {"ResourcesMenuFile_SaveAs", "save", "Save File.res...", "*.res", "Resource System File (*.res)|*.res|All files (*.*)|*.*"},
            {"ResourcesMenuFile_SaveHeader", "save", "Save Declarations Header...", "x.h", "C header (*.h)|*.h|All files (*.*)|*.*"},
        };
        // clang-format on
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1] << row[2] << row[3] << row[4];
    }
    void dialogsOfTheCommands() {
        QFETCH(QString, action);
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, name);
        QFETCH(QString, filter);
        fontDocument().open({}, {false, "Tesselor", "my font", "", ""});
        state().BitmapBaseName = "my pic_bmp";
        resources().open({}, path("remembered/x"));
        state().ResFilePath = state().FontFilePath = state().BitmapFilePath = path("remembered/x");
        dialogs->fileAnswers.push_back(std::nullopt);
        // The handler is the control's name and "Click", a slot of its page (enabled or not).
        const QByteArray slot = (action + "Click").toLatin1();
        for (QObject* page :
             std::initializer_list<QObject*>{window->tsFont, window->tsBitmap, window->tsResourcesFile})
            if (page->metaObject()->indexOfSlot(slot + "()") >= 0)
                QMetaObject::invokeMethod(page, slot);
        QCOMPARE(dialogs->fileCalls.size(), std::size_t(1));
        const ScriptedDialogs::FileCall& call = dialogs->fileCalls[0];
        QCOMPARE(QString::fromStdString(call.kind), kind);
        QCOMPARE(QString::fromStdString(call.request.title), title);
        QCOMPARE(QString::fromStdString(call.request.initialName), name);
        if (filter.startsWith('~'))
            QVERIFY2(QRegularExpression(filter.mid(1))
                         .match(QString::fromStdString(call.request.filter))
                         .hasMatch(),
                     call.request.filter.c_str());
        else
            QCOMPARE(QString::fromStdString(call.request.filter), filter);
        QCOMPARE(call.request.filterIndex, 1);
        QVERIFY(dialogs->messages.empty()); // cancelled: nothing happens
    }

    // An error a command does not handle itself: its text with a full stop, titled Tesselor.
    void generalErrorReport() {
        const std::pair<const char*, const char*> cases[] = {{"Cannot open 'x'", "Cannot open 'x'"},
                                                             {"no such file", "no such file."},
                                                             {"ends in 7", "ends in 7."},
                                                             {"a stop.", "a stop."},
                                                             {"a bracket)", "a bracket)"},
                                                             {"", ""}};
        for (const auto& [text, shown] : cases)
            QCOMPARE(withFinalStop(text), std::string(shown));
        window->commands().reportError("Cannot write 'x': disk full");
        QCOMPARE(dialogs->lastMessage().text, std::string("Cannot write 'x': disk full."));
        QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
