#include "app/font_page.h"
#include "app/form_tesselor.h"
#include "fixtures.h"
#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tesselor;

class FontOutputTest : public QObject, protected WindowFixture {
    Q_OBJECT

private:
    FontPage* page = nullptr;

private slots:
    void init() {
        createWindow();
        page = window->tsFont;
        dialogs->fileAnswers.push_back(
            testsupport::writeFile(dir->filePath("tiny.font"), fixtures::kTiny9x3Font));
        page->FontMenuFile_OpenGraphicFontClick();
        QVERIFY(page->editorShown());
        dialogs->clearRecords();
    }
    void cleanup() { destroyWindow(); }

    void createFileC() {
        state().FontBaseName = "my font";
        create(page->FontMenuFile_CreateFileC, path("tiny.c"));
        QVERIFY(dialogs->allAnswered());
        const FileDialogRequest& request = dialogs->fileCalls[0].request;
        QCOMPARE(dialogs->fileCalls[0].kind, std::string("save"));
        QCOMPARE(request.title, std::string("Create File.c..."));
        QCOMPARE(request.initialName, std::string("my_font.c"));
        QCOMPARE(request.filter, std::string("Array font file (*.c)|*.c|All files (*.*)|*.*"));
        QCOMPARE(request.filterIndex, 1);
        QCOMPARE(dialogs->lastMessage().text, path("tiny.c") + "\r\nSuccesfully created.");
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
        QCOMPARE(state().FontCFilePath, path("tiny.c"));
        QCOMPARE(state().FontOutputName, std::string("tiny_9x3"));
        const std::string text = testsupport::readFile(path("tiny.c"));
        QCOMPARE(text, fontCSource(state().font, "tiny_9x3"));
        QVERIFY(text.find("const unsigned short tiny_9x3[] = {\r\n") != std::string::npos);
        QVERIFY(text.ends_with("  0x01,0x01,0x00,0x00,0x80,0x00     // 66\r\n};\r\n"));
        QVERIFY(!state().FontModified);

        // The next dialog starts there; a typed name without extension gets ".c"; another extension stays.
        create(page->FontMenuFile_CreateFileC, path("font"));
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());
        QVERIFY(testsupport::readFile(path("font.c")).find("font_9x3[]") != std::string::npos);
        create(page->FontMenuFile_CreateFileC, path("font.txt"));
        QVERIFY(testsupport::readFile(path("font.txt")).find("font_9x3[]") != std::string::npos);
        QCOMPARE(state().FontOutputName, std::string("font_9x3"));
    }

    void replaceQuestionForTheExtendedName() {
        testsupport::writeFile(dir->filePath("kept.c"), "old");
        dialogs->questionAnswers = {MessageButton::No};
        create(page->FontMenuFile_CreateFileC, path("kept"));
        QCOMPARE(dialogs->lastMessage().text,
                 "The file '" + path("kept.c") + "' already exist.\r\nDo you want to replace it?");
        QCOMPARE(testsupport::readFile(path("kept.c")), std::string("old"));
        QVERIFY(state().FontCFilePath.empty());
        QVERIFY(state().FontOutputName.empty());
        dialogs->questionAnswers = {MessageButton::Yes};
        create(page->FontMenuFile_CreateFileC, path("kept"));
        QVERIFY(testsupport::readFile(path("kept.c")).starts_with("// Font Generated"));
        QVERIFY(dialogs->allAnswered());
    }

    void createFileResdata() {
        create(page->FontMenuFile_CreateFileResdata, path("tiny.resdata"));
        const FileDialogRequest& request = dialogs->fileCalls[0].request;
        QCOMPARE(request.title, std::string("Create File.resdata..."));
        QCOMPARE(request.initialName, std::string("tiny.resdata"));
        QCOMPARE(request.filter, std::string("Resource font file (*.resdata)|*.resdata|All files (*.*)|*.*"));
        const std::string bytes = testsupport::readFile(path("tiny.resdata"));
        QCOMPARE(bytes.size(), std::size_t(45));
        QCOMPARE(bytes,
                 std::string("fnt\x19\x00\x00\x00\x14\x00\x00\x00\x08tiny_9x3", 20) + fixtures::kTinyPayload);
        QCOMPARE(state().ResdataFilePath, path("tiny.resdata"));
        QCOMPARE(state().FontOutputName, std::string("tiny_9x3"));
        QCOMPARE(dialogs->lastMessage().text, path("tiny.resdata") + "\r\nSuccesfully created.");

        // The .c of the same font carries the same name and payload.
        create(page->FontMenuFile_CreateFileC, path("tiny.c"));
        QCOMPARE(state().FontOutputName, std::string("tiny_9x3"));

        // A blank in the chosen name stays in the item name.
        create(page->FontMenuFile_CreateFileResdata, path("my font.resdata"));
        const std::string blank = testsupport::readFile(path("my font.resdata"));
        QCOMPARE(int(static_cast<unsigned char>(blank[11])), 11);
        QCOMPARE(blank.substr(12, 11), std::string("my font_9x3"));
    }

    void tooLongItemNameIsRefused() {
        const std::string chosen = path(std::string(260, 'a') + ".resdata");
        create(page->FontMenuFile_CreateFileResdata, chosen);
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);
        QVERIFY(QString::fromStdString(dialogs->lastMessage().text).contains("at most 255 bytes"));
        QVERIFY(state().ResdataFilePath.empty());
        QVERIFY(state().FontOutputName.empty());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), 1); // only tiny.font
    }

    void createFileLcd() {
        state().FontModified = true;
        create(page->FontMenuFile_CreateFileLcd, path("Tahoma"));
        const FileDialogRequest& request = dialogs->fileCalls[0].request;
        QCOMPARE(request.title, std::string("Create File.lcd..."));
        QCOMPARE(request.initialName, std::string("tiny.lcd"));
        QCOMPARE(request.filter, std::string("Graphic font file (*.lcd)|*.lcd|All files (*.*)|*.*"));
        QCOMPARE(state().font.FontName, std::string("Tahoma"));
        QCOMPARE(state().FontLcdFilePath, path("Tahoma.lcd"));
        QVERIFY(state().FontModified);
        const std::string text = testsupport::readFile(path("Tahoma.lcd"));
        QCOMPARE(text, lcdText(state().font, "Tahoma"));
        QVERIFY(text.find("     <FONTNAME>Tahoma</FONTNAME>\r\n") != std::string::npos);
        QVERIFY(
            text.find("     <FONTSIZE WIDTH=\"9\" HEIGHT=\"3\" PROPORTIONAL=\"0\" FONTKIND=\"0\"/>\r\n") !=
            std::string::npos);
        QCOMPARE(dialogs->lastMessage().text, path("Tahoma.lcd") + "\r\nSuccesfully created.");

        // The next save of the .font file proposes nothing new, but the name is kept in the file it writes.
        create(page->FontMenuFile_CreateFileLcd, path("a&b.lcd"));
        QVERIFY(testsupport::readFile(path("a&b.lcd")).find("<FONTNAME>a&amp;b</FONTNAME>") !=
                std::string::npos);
    }

    void failedWritesKeepTheFontAndReport() {
        const std::string target = path("missing folder/out.x");
        for (QAction* action : {page->FontMenuFile_CreateFileC, page->FontMenuFile_CreateFileResdata,
                                page->FontMenuFile_CreateFileLcd}) {
            create(action, target);
            QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
            QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
            QVERIFY(
                QString::fromStdString(dialogs->lastMessage().text).contains(QString::fromStdString(target)));
        }
        // The chosen path is offered again by the next dialog; the font keeps its name.
        QCOMPARE(state().FontCFilePath, target);
        QCOMPARE(state().ResdataFilePath, target);
        QCOMPARE(state().FontLcdFilePath, target);
        QCOMPARE(state().font.FontName, std::string("Tiny"));
        QVERIFY(!QFileInfo::exists(dir->filePath("missing folder")));
    }

    void cancelledDialogsChangeNothing() {
        for (QAction* action : {page->FontMenuFile_CreateFileC, page->FontMenuFile_CreateFileResdata,
                                page->FontMenuFile_CreateFileLcd})
            create(action, std::nullopt);
        QVERIFY(dialogs->messages.empty());
        QVERIFY(state().FontOutputName.empty());
    }
};

QTEST_MAIN(FontOutputTest)
#include "font_output_test.moc"
