#include "app/form_tesselor.h"
#include "app/resources_page.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tesselor;

namespace {

std::string item(const std::string& tag, const std::string& name, const std::string& payload) {
    const Bytes bytes = writeResourceItem(tag, name, Bytes(payload.begin(), payload.end()));
    return {bytes.begin(), bytes.end()};
}

std::string demoRes() {
    return std::string("RSC\x01\x00\x00\x00", 7) +
           std::string("\x17\x00\x31\x00\x00\x00\x19\x00\x00\x00\x08", 11) +
           "tiny_9x3\x03"
           "fnt" +
           std::string("\x13\x80\x4A\x00\x00\x00\x0A\x00\x00\x00\x04", 11) +
           "logo\x03"
           "bmp" +
           fixtures::kTinyPayload + fixtures::kLogoPayload;
}
} // namespace

class ResourcesPageTest : public QObject, protected WindowFixture {
    Q_OBJECT

private:
    ResourcesPage* page = nullptr;

    std::string file(const std::string& name, const std::string& bytes) {
        return testsupport::writeFile(QString::fromStdString(path(name)), bytes);
    }
    void import(const std::string& chosen) {
        dialogs->fileAnswers.push_back(chosen);
        page->bImportResdataFileClick();
    }
    void importDemo() {
        import(file("tiny.resdata", item("fnt", "tiny_9x3", fixtures::kTinyPayload)));
        import(file("logo.resdata", item("bmp", "logo", fixtures::kLogoPayload)));
    }
    QStringList row(int k) {
        QStringList cells;
        for (int column = 0; column < 5; ++column)
            cells << (page->sgResources->item(k, column) ? page->sgResources->item(k, column)->text()
                                                         : QString());
        return cells;
    }
    void expectEmptyList() {
        QVERIFY(state().ResourceList.empty());
        QCOMPARE(page->sgResources->rowCount(), 1);
        QCOMPARE(row(0), QStringList({"", "", "", "", ""}));
        QVERIFY(!page->sgResources->isEnabled());
        QVERIFY(page->sgResources->selectedItems().isEmpty());
        QVERIFY(page->mResources->toPlainText().isEmpty());
        QVERIFY(!page->ResourcesMenuFile_Save->isEnabled());
        QVERIFY(!page->PopupMenu_CopyDeclarations->isEnabled());
        QVERIFY(!page->bRemoveResdataFile->isEnabled());
    }

private slots:
    void init() {
        createWindow();
        page = window->tsResourcesFile;
        window->PageControl->setCurrentIndex(2);
    }
    void cleanup() { destroyWindow(); }

    void importTwoItems() {
        importDemo();
        QVERIFY(dialogs->allAnswered());
        QVERIFY(dialogs->messages.empty());
        const FileDialogRequest& request = dialogs->fileCalls[0].request;
        QCOMPARE(dialogs->fileCalls[0].kind, std::string("open"));
        QCOMPARE(request.title, std::string("Open File.resdata..."));
        QCOMPARE(request.initialName, std::string("*.resdata"));
        QCOMPARE(request.filter, std::string("Resource File (*.resdata)|*.resdata|All files (*.*)|*.*"));
        QCOMPARE(dialogs->fileCalls[1].request.initialFolder, dir->path().toStdString());
        QCOMPARE(state().ResdataImportPath, path("logo.resdata"));

        QCOMPARE(page->sgResources->rowCount(), 2);
        QCOMPARE(row(0), QStringList({" tiny_9x3", " Font", " 25", " 0x00000031", "49"}));
        QCOMPARE(row(1), QStringList({" logo", " Image", " 10", " 0x0000004A", "74"}));
        QCOMPARE(page->mResources->toPlainText(), QString("const unsigned long tiny_9x3 = 0x00000031;\n"
                                                          "const unsigned long logo     = 0x0000004A;\n"));
        QVERIFY(state().ResourcesModified);
        QVERIFY(page->sgResources->isEnabled());
        QCOMPARE(page->sgResources->currentRow(), 1);
        QVERIFY(page->ResourcesMenuFile_Save->isEnabled());
        QVERIFY(page->PopupMenu_CopyDeclarations->isEnabled());
        QVERIFY(page->bRemoveResdataFile->isEnabled());
    }

    void refusedImportsLeaveTheListAlone() {
        import(file("tiny.resdata", item("fnt", "tiny_9x3", fixtures::kTinyPayload)));
        state().ResourcesModified = false;
        import(path("none.resdata"));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("none.resdata") + "'\r\nNot found.");
        QCOMPARE(dialogs->lastMessage().title, std::string("Error"));
        const std::string good = item("bmp", "logo", fixtures::kLogoPayload);
        const std::pair<const char*, std::string> bad[] = {
            {"empty.resdata", ""},
            {"short.resdata", good.substr(0, 11)},
            {"tag.resdata", "png" + good.substr(3)},
            {"name.resdata", good.substr(0, 11) + "\x40" + good.substr(12)},
            {"size.resdata", good.substr(0, 3) + "\x0B" + good.substr(4)},
            {"cut.resdata", good.substr(0, good.size() - 1)},
        };
        for (const auto& [name, bytes] : bad) {
            import(file(name, bytes));
            QCOMPARE(dialogs->lastMessage().text, "File '" + path(name) + "'\r\nNot compatible.");
            QCOMPARE(dialogs->lastMessage().title, std::string("Error"));
            QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
            QCOMPARE(state().ResdataImportPath, path(name));
        }
        QCOMPARE(state().ResourceList.size(), std::size_t(1));
        QVERIFY(!state().ResourcesModified);
        // Bytes after the payload are ignored.
        import(file("long.resdata", good + "trailing"));
        QCOMPARE(state().ResourceList.size(), std::size_t(2));
        QCOMPARE(row(1)[2], QString(" 10"));
    }

    void duplicatesByNameAreRefused() {
        importDemo();
        state().ResourcesModified = false;
        import(path("logo.resdata"));
        QCOMPARE(dialogs->lastMessage().text, std::string("Resource 'logo' already in the list."));
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Information);
        QVERIFY(state().ResourcesModified);
        import(file("font-logo.resdata",
                    item("fnt", "logo", fixtures::kTinyPayload))); // another type, the same name
        QCOMPARE(dialogs->lastMessage().text, std::string("Resource 'logo' already in the list."));
        QCOMPARE(state().ResourceList.size(), std::size_t(2));
        import(file("Logo.resdata", item("bmp", "Logo", fixtures::kLogoPayload))); // letter case differs
        QCOMPARE(state().ResourceList.size(), std::size_t(3));
    }

    void removeItems() {
        importDemo();
        import(file("third.resdata", item("bmp", "third", "xyz")));
        state().ResourcesModified = false;
        page->sgResources->setCurrentCell(0, 0);
        page->bRemoveResdataFile->click();
        QVERIFY(state().ResourcesModified);
        QCOMPARE(page->sgResources->rowCount(), 2);
        QCOMPARE(row(0), QStringList({" logo", " Image", " 10", " 0x0000002E", "46"}));
        QCOMPARE(row(1), QStringList({" third", " Image", " 3", " 0x00000038", "56"}));
        page->bRemoveResdataFile->click();
        page->bRemoveResdataFile->click();
        expectEmptyList();
    }

    void newList() {
        importDemo();
        state().ResourcesPageTitle = "Tesselor [x.res]";
        state().ResFilePath = "/somewhere/x.res";
        dialogs->questionAnswers = {MessageButton::Yes};
        page->ResourcesMenuFile_New->trigger();
        QCOMPARE(dialogs->lastMessage().text,
                 std::string("The file has been modified.\r\nWould you like to save it?"));
        QCOMPARE(state().ResourceList.size(), std::size_t(2));
        dialogs->questionAnswers = {MessageButton::No};
        page->ResourcesMenuFile_New->trigger();
        expectEmptyList();
        QVERIFY(!state().ResourcesModified);
        QCOMPARE(window->windowTitle(), QString("Tesselor"));
        QCOMPARE(state().ResFilePath, std::string("/somewhere/x.res"));
        // Without changes nothing is asked.
        const std::size_t asked = dialogs->messages.size();
        page->ResourcesMenuFile_New->trigger();
        QCOMPARE(dialogs->messages.size(), asked);
        QVERIFY(dialogs->allAnswered());
    }

    void copyDeclarations() {
        importDemo();
        page->PopupMenu_CopyDeclarations->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("const unsigned long tiny_9x3 = 0x00000031;\r\n"
                         "const unsigned long logo     = 0x0000004A;\r\n"));
        QCOMPARE(dialogs->lastMessage().text, std::string("Declarations copied to the clipboard."));
        QCOMPARE(dialogs->lastMessage().title, std::string("Information"));
    }

    void saveWritesTheDemoFile() {
        importDemo();
        dialogs->fileAnswers.push_back(path("demo"));
        page->ResourcesMenuFile_Save->trigger();
        const FileDialogRequest& request = dialogs->fileCalls.back().request;
        QCOMPARE(dialogs->fileCalls.back().kind, std::string("save"));
        QCOMPARE(request.title, std::string("Save File.res..."));
        QCOMPARE(request.initialName, std::string("*.res"));
        QCOMPARE(request.filter, std::string("Resource System File (*.res)|*.res|All files (*.*)|*.*"));
        QCOMPARE(testsupport::readFile(path("demo.res")), demoRes());
        QCOMPARE(state().ResFilePath, path("demo.res"));
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + path("demo.res") + "]"));
        QVERIFY(!state().ResourcesModified);
        QCOMPARE(dialogs->lastMessage().text, path("demo.res") + "\r\nSuccesfully created.");

        // The header of macros takes its name and its prefix from the .res file.
        dialogs->fileAnswers.push_back(path("demo"));
        page->ResourcesMenuFile_SaveHeader->trigger();
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("demo.h"));
        QVERIFY(testsupport::readFile(path("demo.h")).find("#define DEMO_LOGO_OFFSET 0x0000004Au") !=
                std::string::npos);

        // The replace question names the extended path; No writes nothing.
        state().ResourcesModified = true;
        dialogs->fileAnswers.push_back(path("demo"));
        dialogs->questionAnswers = {MessageButton::No};
        page->ResourcesMenuFile_Save->trigger();
        QCOMPARE(dialogs->lastMessage().text,
                 "The file '" + path("demo.res") + "' already exist.\r\nDo you want to replace it?");
        QVERIFY(state().ResourcesModified);
        QVERIFY(dialogs->allAnswered());
    }

    void failedSaveKeepsTheListModified() {
        importDemo();
        const std::string target = path("no folder/x.res");
        dialogs->fileAnswers.push_back(target);
        page->ResourcesMenuFile_Save->trigger();
        QCOMPARE(dialogs->lastMessage().title, std::string("Tesselor"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
        QVERIFY(state().ResourcesModified);
        QCOMPARE(window->windowTitle(), QString("Tesselor"));
    }

    void openReadsTheItemsBack() {
        const std::string res = file("demo.res", demoRes());
        import(file("other.resdata", item("bmp", "other", "o")));
        dialogs->questionAnswers = {MessageButton::No};
        dialogs->fileAnswers.push_back(res);
        page->ResourcesMenuFile_Open->trigger();
        QVERIFY(dialogs->allAnswered());
        const FileDialogRequest& request = dialogs->fileCalls.back().request;
        QCOMPARE(request.title, std::string("Open File.res..."));
        QCOMPARE(request.initialName, std::string("*.res"));
        QCOMPARE(request.filter, std::string("Resource File (*.res)|*.res|All files (*.*)|*.*"));
        QCOMPARE(state().ResourceList.size(), std::size_t(2));
        const std::string tiny = item("fnt", "tiny_9x3", fixtures::kTinyPayload);
        const std::string logo = item("bmp", "logo", fixtures::kLogoPayload);
        QCOMPARE(std::string(state().ResourceList[0].begin(), state().ResourceList[0].end()), tiny);
        QCOMPARE(std::string(state().ResourceList[1].begin(), state().ResourceList[1].end()), logo);
        QCOMPARE(row(0), QStringList({" tiny_9x3", " Font", " 25", " 0x00000031", "49"}));
        QCOMPARE(row(1), QStringList({" logo", " Image", " 10", " 0x0000004A", "74"}));
        QCOMPARE(page->sgResources->currentRow(), 1);
        QVERIFY(!state().ResourcesModified);
        QCOMPARE(state().ResFilePath, res);
        QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + res + "]"));
        QVERIFY(page->ResourcesMenuFile_Save->isEnabled());

        // Saving it again gives the same bytes.
        dialogs->fileAnswers.push_back(path("again.res"));
        page->ResourcesMenuFile_Save->trigger();
        QCOMPARE(testsupport::readFile(path("again.res")), demoRes());
    }

    void brokenResFilesAreRefused() {
        const std::string good = file("demo.res", demoRes());
        dialogs->fileAnswers.push_back(good);
        page->ResourcesMenuFile_Open->trigger();
        const std::string demo = demoRes();
        const std::pair<const char*, std::string> bad[] = {
            {"magic.res", "XSC" + demo.substr(3)},
            {"cut.res", demo.substr(0, 60)},
            {"noend.res", demo.substr(0, 31) + '\0' + demo.substr(32)},
            {"tag.res", demo.substr(0, 27) + "xyz" + demo.substr(30)},
            {"length.res", demo.substr(0, 7) + "\x18" + demo.substr(8)},
            {"empty.res", ""},
        };
        for (const auto& [name, bytes] : bad) {
            dialogs->fileAnswers.push_back(file(name, bytes));
            page->ResourcesMenuFile_Open->trigger();
            QCOMPARE(dialogs->lastMessage().text, "File '" + path(name) + "'\r\nNot compatible.");
            QCOMPARE(state().ResourceList.size(), std::size_t(2));
            QCOMPARE(state().ResFilePath, good);
            QCOMPARE(window->windowTitle(), QString::fromStdString("Tesselor [" + good + "]"));
        }
        dialogs->fileAnswers.push_back(path("missing.res"));
        page->ResourcesMenuFile_Open->trigger();
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("missing.res") + "'\r\nNot found.");

        // Unsaved changes and Yes: nothing happens, no dialog.
        state().ResourcesModified = true;
        const std::size_t dialogsShown = dialogs->fileCalls.size();
        dialogs->questionAnswers = {MessageButton::Yes};
        page->ResourcesMenuFile_Open->trigger();
        QCOMPARE(dialogs->fileCalls.size(), dialogsShown);
        QVERIFY(dialogs->allAnswered());
    }

    void closeQueryWatchesTheList() {
        window->show();
        importDemo();
        dialogs->questionAnswers = {MessageButton::Yes};
        QVERIFY(!window->close());
        QVERIFY(dialogs->allAnswered());
    }
};

QTEST_MAIN(ResourcesPageTest)
#include "resources_page_test.moc"
