#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/form_tesselor.h"
#include "app/resources_page.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

#include <QAction>
#include <QDir>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace tesselor;

namespace {

// Runs a save with the process limited to files of `bytes` bytes: a longer write fails half way.
void withFileSizeLimit(rlim_t bytes, const std::function<void()>& save) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    save();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
}

// Runs a save as an ordinary user, so that a read-only file stops it even when the tests run as root.
void asOrdinaryUser(const std::function<void()>& save) {
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0)
        QFAIL("cannot take an ordinary user's rights");
    save();
    if (root && seteuid(0) != 0)
        qFatal("cannot return to root");
}

} // namespace

class FaultInjectionTest : public QObject, protected WindowFixture {
    Q_OBJECT

private:
    // Each save of the program: its command, and the extension of its file.
    struct Save {
        const char* extension;
        std::function<void()> run;
    };
    std::vector<Save> saves() {
        FontPage* font = window->tsFont;
        ResourcesPage* resources = window->tsResourcesFile;
        return {
            {".font", [font] { font->FontMenuFile_SaveGraphicFontAsClick(); }},
            {".c", [font] { font->FontMenuFile_CreateFileCClick(); }},
            {".resdata", [font] { font->FontMenuFile_CreateFileResdataClick(); }},
            {".lcd", [font] { font->FontMenuFile_CreateFileLcdClick(); }},
            {".res", [resources] { resources->ResourcesMenuFile_SaveAsClick(); }},
        };
    }

    // Saves to `target` and checks the general error report, the old file and the modified flags.
    void expectFailedSave(const Save& save, const std::string& target, const std::string& reason,
                          const std::function<void(const std::function<void()>&)>& around) {
        markFontModified();
        markListModified();
        // A device such as /dev/full has no contents to keep (and reads without end).
        const bool regular = QFileInfo(QString::fromStdString(target)).isFile() ||
                             !QFileInfo::exists(QString::fromStdString(target));
        const std::string before = regular ? testsupport::readFile(target) : std::string();
        dialogs->fileAnswers.push_back(target);
        if (QFileInfo::exists(QString::fromStdString(target)))
            dialogs->questionAnswers.push_back(MessageButton::Yes);
        around(save.run);
        QVERIFY2(dialogs->allAnswered(), save.extension);
        const MessageRequest report = dialogs->lastMessage();
        QCOMPARE(report.title, std::string("Tesselor"));
        QVERIFY(report.icon == MessageIcon::Error);
        QVERIFY2(report.text.find(target) != std::string::npos, report.text.c_str());
        QVERIFY2(report.text.find(reason) != std::string::npos, report.text.c_str());
        if (regular)
            QCOMPARE(testsupport::readFile(target), before);
        QVERIFY(fontDocument().isModified());
        QVERIFY(resources().isModified());
        QVERIFY(shownTitle().indexOf(QString::fromStdString(target)) < 0);
    }

private slots:
    void init() {
        createWindow();
        QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                               QFileDevice::WriteOther | QFileDevice::ExeOther);
        dialogs->fileAnswers.push_back(
            testsupport::writeFile(dir->filePath("tiny.font"), fixtures::kTiny9x3Font));
        window->tsFont->FontMenuFile_OpenGraphicFontClick();
        const Bytes item = writeResourceItem("bmp", "logo", Bytes{1, 2, 3});
        dialogs->fileAnswers.push_back(
            testsupport::writeFile(dir->filePath("logo.resdata"), std::string(item.begin(), item.end())));
        window->tsResourcesFile->bImportResdataFileClick();
        QVERIFY(dialogs->allAnswered());
        QVERIFY(dialogs->messages.empty());
        window->setWindowTitle("untouched");
    }
    void cleanup() { destroyWindow(); }

    // Every save, into a folder that does not exist, over a read-only file (as an ordinary user), onto a
    // full device, and with a file size limit that stops it half way.
    void failedSaves_data() {
        QTest::addColumn<QString>("fault");
        for (const char* fault : {"no folder", "read-only file", "full device", "half way"})
            QTest::newRow(fault) << QString(fault);
    }
    void failedSaves() {
        QFETCH(QString, fault);
        const auto direct = [](const std::function<void()>& run) { run(); };
        for (const Save& save : saves()) {
            const QString name = QString("out") + save.extension;
            if (fault == "no folder") {
                expectFailedSave(save, path("no folder/" + name.toStdString()), "Cannot create", direct);
            } else if (fault == "read-only file") {
                const std::string target = testsupport::writeFile(dir->filePath(name), "old contents");
                QFile::setPermissions(QString::fromStdString(target),
                                      QFileDevice::ReadOwner | QFileDevice::ReadOther);
                expectFailedSave(save, target, "Permission denied", asOrdinaryUser);
            } else if (fault == "full device") {
                // A link with the file's extension, so that no extension is appended to the chosen name.
                QVERIFY(QFile::link("/dev/full", dir->filePath(name)));
                expectFailedSave(save, path(name.toStdString()), "No space left on device", direct);
            } else {
                const std::string target = testsupport::writeFile(dir->filePath(name), "old contents");
                expectFailedSave(save, target, "Cannot write",
                                 [](const std::function<void()>& run) { withFileSizeLimit(16, run); });
            }
        }
        // No temporary file is left behind.
        for (const QString& name : QDir(dir->path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(name.startsWith("out.") || name == "tiny.font" || name == "logo.resdata",
                     qPrintable(name));
    }

    void hostileNamesOpenShowAndSave() {
        const std::vector<std::string> names = {"../x", "a/b", "..", "tab\there\x01", std::string(255, 'n')};
        std::string res = "RSC" + std::string("\x01\x00\x00\x00", 4);
        std::size_t offset = 7;
        for (const std::string& name : names)
            offset += 15 + name.size();
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::size_t length = 15 + names[i].size() + (i + 1 == names.size() ? 0x8000 : 0);
            res += static_cast<char>(length & 0xFF);
            res += static_cast<char>(length >> 8);
            for (int b = 0; b < 4; ++b)
                res += static_cast<char>(((offset + i) >> (8 * b)) & 0xFF);
            res += std::string("\x01\x00\x00\x00", 4);
            res += static_cast<char>(names[i].size());
            res += names[i] + "\x03"
                              "bmp";
        }
        res += "abcde";
        const std::string file = testsupport::writeFile(dir->filePath("hostile.res"), res);
        dialogs->questionAnswers = {MessageButton::Discard};
        dialogs->fileAnswers.push_back(file);
        window->tsResourcesFile->ResourcesMenuFile_OpenClick();
        QCOMPARE(resources().items().size(), names.size());
        QTableWidget* grid = window->tsResourcesFile->sgResources;
        QCOMPARE(grid->rowCount(), int(names.size()));
        QCOMPARE(grid->item(0, 0)->text(), QString(" ../x"));
        QCOMPARE(grid->item(4, 0)->text().size(), 256);
        dialogs->fileAnswers.push_back(path("again.res"));
        window->tsResourcesFile->ResourcesMenuFile_SaveAsClick();
        QCOMPARE(testsupport::readFile(path("again.res")), res);
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);
        QVERIFY(dialogs->allAnswered());
    }
};

QTEST_MAIN(FaultInjectionTest)
#include "fault_injection_test.moc"
