// The Resources File page: importing items into the list, the rows and declarations it shows, removing,
// New, copying, and saving and opening .res files. The core checks the bytes; these check the wiring.
#include "app/resources_page.h"
#include "editor/status_panels.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "resources/resource_file.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace tesselor;

namespace {
std::string item(const std::string& tag, const std::string& name, const std::string& payload) {
    const Bytes bytes = writeResourceItem(tag, name, Bytes(payload.begin(), payload.end()));
    return {bytes.begin(), bytes.end()};
}
const std::string kTiny = item("fnt", "tiny_9x3", fixtures::kTinyPayload);
const std::string kLogo = item("bmp", "logo", fixtures::kLogoPayload);
} // namespace

class ResourcesPageTest : public QObject, protected WindowFixture {
    Q_OBJECT

    ResourcesPage* page = nullptr;

    std::string file(const std::string& name, const std::string& bytes) {
        return testsupport::writeFile(QString::fromStdString(path(name)), bytes);
    }
    void import(const std::string& chosen) {
        dialogs->fileAnswers.push_back(chosen);
        page->bImportResdataFileClick();
    }
    void importAll(const std::vector<std::pair<std::string, std::string>>& items) {
        for (const auto& [name, bytes] : items)
            import(file(name, bytes));
    }
    QStringList row(int k) {
        QStringList cells;
        for (int column = 0; column < 5; ++column)
            cells << (page->sgResources->item(k, column) ? page->sgResources->item(k, column)->text()
                                                         : QString());
        return cells;
    }
    std::string listBytes() {
        std::string all;
        for (const Bytes& bytes : resources().items())
            all += std::string(bytes.begin(), bytes.end()) + "|";
        return all;
    }

private slots:
    void init() {
        createWindow();
        page = window->tsResourcesFile;
        window->PageControl->setCurrentIndex(2);
    }
    void cleanup() { destroyWindow(); }

    void importShowsRowsAndDeclarations() {
        importAll({{"tiny.resdata", kTiny}, {"logo.resdata", kLogo}});
        QVERIFY(dialogs->messages.empty());
        QCOMPARE(dialogs->fileCalls[1].request.initialFolder, dir->path().toStdString());
        QCOMPARE(row(0), QStringList({" tiny_9x3", " Font", " 25", " 0x00000031", "49"}));
        QCOMPARE(row(1), QStringList({" logo", " Image", " 10", " 0x0000004A", "74"}));
        QCOMPARE(page->mResources->toPlainText(), QString("const unsigned long tiny_9x3 = 0x00000031;\n"
                                                          "const unsigned long logo     = 0x0000004A;\n"));
        QVERIFY(resources().isModified());
        QCOMPARE(page->sgResources->currentRow(), 1);
        QVERIFY(page->ResourcesMenuFile_Save->isEnabled() && page->bRemoveResdataFile->isEnabled());
        page->PopupMenu_CopyDeclarations->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), declarationsOf());
        QCOMPARE(dialogs->lastMessage().text, std::string("Declarations copied to the clipboard."));
    }

    // Files that are no item are refused and change nothing; a name already in the list (whatever its
    // type, but with its letter case) is refused as a duplicate.
    void refusedImports() {
        import(file("tiny.resdata", kTiny));
        page->undoStack()->setClean();
        import(path("none.resdata"));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("none.resdata") + "'\r\nNot found.");
        import(file("cut.resdata", kLogo.substr(0, kLogo.size() - 1)));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("cut.resdata") + "'\r\nNot compatible.");
        QCOMPARE(resources().items().size(), std::size_t(1));
        QVERIFY(!resources().isModified());
        import(file("font-tiny.resdata", item("bmp", "tiny_9x3", "x")));
        QCOMPARE(dialogs->lastMessage().text, std::string("Resource 'tiny_9x3' already in the list."));
        QCOMPARE(resources().items().size(), std::size_t(1));
        QVERIFY(!resources().isModified()); // nothing came into the list
        import(file("Tiny.resdata", item("bmp", "Tiny_9x3", "x")));
        QCOMPARE(resources().items().size(), std::size_t(2));
    }

    // Removing (the button, or Delete) moves the offsets and selects the row that took the removed one's
    // place, or the new last.
    void removeItems() {
        importAll({{"tiny.resdata", kTiny},
                   {"logo.resdata", kLogo},
                   {"third.resdata", item("bmp", "third", "xyz")}});
        page->undoStack()->setClean();
        page->sgResources->setCurrentCell(1, 0); // the second of three: the third takes its place
        page->bRemoveResdataFile->click();
        QVERIFY(resources().isModified());
        QCOMPARE(row(1), QStringList({" third", " Image", " 3", " 0x0000004B", "75"}));
        QCOMPARE(page->sgResources->currentRow(), 1);
        page->ResourcesMenuEdit_Undo->trigger();
        page->sgResources->setCurrentCell(0, 0); // the first of three: the second takes its place
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        page->sgResources->setFocus();
        QTest::keyClick(page->sgResources, Qt::Key_Delete);
        QCOMPARE(page->sgResources->currentRow(), 0);
        QCOMPARE(row(0)[0], QString(" logo"));
        page->bRemoveResdataFile->click();
        page->bRemoveResdataFile->click();
        QVERIFY(resources().items().empty());
        QCOMPARE(row(0), QStringList({"", "", "", "", ""}));
        QVERIFY(!page->sgResources->isEnabled() && !page->ResourcesMenuFile_Save->isEnabled());
        QVERIFY(page->mResources->toPlainText().isEmpty());
    }

    // New asks about unsaved changes, empties the list and the caption, and keeps the remembered path.
    void newList() {
        import(file("tiny.resdata", kTiny));
        state().ResFilePath = "/somewhere/x.res";
        dialogs->questionAnswers = {MessageButton::Cancel, MessageButton::Discard};
        page->ResourcesMenuFile_New->trigger();
        QCOMPARE(resources().items().size(), std::size_t(1));
        QCOMPARE(shownTitle(), QString("Tesselor*"));
        page->ResourcesMenuFile_New->trigger();
        QVERIFY(resources().items().empty() && !resources().isModified());
        QCOMPARE(shownTitle(), QString("Tesselor"));
        QCOMPARE(state().ResFilePath, std::string("/somewhere/x.res"));
        page->ResourcesMenuFile_New->trigger(); // nothing to ask
        QVERIFY(dialogs->allAnswered());
    }

    // Save writes the list's file and its header; Open reads it back into the same items.
    void saveAndOpen() {
        importAll({{"tiny.resdata", kTiny}, {"logo.resdata", kLogo}});
        create(page->ResourcesMenuFile_Save, path("demo"));
        QCOMPARE(testsupport::readFile(path("demo.res")), listFile());
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + path("demo.res") + "]"));
        QVERIFY(!resources().isModified());
        QCOMPARE(dialogs->lastMessage().text, path("demo.res") + "\r\nSuccesfully created.");
        create(page->ResourcesMenuFile_SaveHeader, path("demo"));
        QCOMPARE(dialogs->fileCalls.back().request.initialName, std::string("demo.h"));
        QCOMPARE(testsupport::readFile(path("demo.h")),
                 resourceHeader(resources().items(), "DEMO", path("demo.h")));

        // Save again: to the list's own file, without a dialog.
        import(file("other.resdata", item("bmp", "other", "o")));
        const std::size_t asked = dialogs->fileCalls.size();
        page->ResourcesMenuFile_Save->trigger();
        QCOMPARE(dialogs->fileCalls.size(), asked);
        QCOMPARE(testsupport::readFile(path("demo.res")), listFile());
        QCOMPARE(page->sbResources->panelText(0), QString::fromStdString("Saved " + path("demo.res")));
        const std::string before = listBytes();
        page->ResourcesMenuEdit_Undo->trigger();
        dialogs->questionAnswers = {MessageButton::Discard};
        create(page->ResourcesMenuFile_Open, path("demo.res"));
        QCOMPARE(listBytes(), before);
        QCOMPARE(page->sgResources->currentRow(), 2);
        QVERIFY(!resources().isModified());
        QVERIFY(dialogs->allAnswered());
    }

    // The replace question names the extended path; a failed save keeps the list modified.
    void refusedAndFailedSaves() {
        import(file("tiny.resdata", kTiny));
        file("demo.res", "old");
        dialogs->questionAnswers = {MessageButton::No};
        create(page->ResourcesMenuFile_Save, path("demo"));
        QCOMPARE(dialogs->lastMessage().text,
                 "The file '" + path("demo.res") + "' already exist.\r\nDo you want to replace it?");
        QCOMPARE(testsupport::readFile(path("demo.res")), std::string("old"));
        create(page->ResourcesMenuFile_Save, path("no folder/x.res"));
        QVERIFY(dialogs->lastMessage().icon == MessageIcon::Error);
        QVERIFY(resources().isModified());
        QCOMPARE(shownTitle(), QString("Tesselor*"));
        dialogs->questionAnswers.push_back(MessageButton::Cancel);
        window->show();
        QVERIFY(!window->close());
    }

    // A file that is no .res is refused with the list, the path and the caption kept.
    void brokenResFilesAreRefused() {
        import(file("tiny.resdata", kTiny));
        create(page->ResourcesMenuFile_Save, path("good.res"));
        const std::string good = listFile();
        // One broken file (the core and the command line check the others): the list stays.
        create(page->ResourcesMenuFile_Open, file("cut.res", good.substr(0, good.size() - 1)));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("cut.res") + "'\r\nNot compatible.");
        QCOMPARE(resources().items().size(), std::size_t(1));
        QCOMPARE(shownTitle(), QString::fromStdString("Tesselor [" + path("good.res") + "]"));
        create(page->ResourcesMenuFile_Open, path("missing.res"));
        QCOMPARE(dialogs->lastMessage().text, "File '" + path("missing.res") + "'\r\nNot found.");
    }

private:
    std::string declarationsOf() { return resourceDeclarations(resourceRows(resources().items())); }
    std::string listFile() {
        const Bytes bytes = writeResFile(resources().items());
        return {bytes.begin(), bytes.end()};
    }
};

QTEST_MAIN(ResourcesPageTest)
#include "resources_page_test.moc"
