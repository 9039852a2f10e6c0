// The window on the desktop: files and folders dropped on it, several .resdata files at once, the
// recent files and the settings kept between runs.
#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/recent_files.h"
#include "app/resources_page.h"
#include "app/window_geometry.h"
#include "bmp_writer.h"
#include "dialogs/form_font_range.h"
#include "editor/spin_control.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "resources/resource_file.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSettings>

#include <QTabWidget>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>
#include <sys/stat.h>

using namespace tesselor;

namespace {
std::string item(const std::string& name) {
    const Bytes bytes = writeResourceItem("bmp", name, Bytes{1, 2, 3});
    return {bytes.begin(), bytes.end()};
}

std::string resFile(const std::string& one) {
    const Bytes bytes = writeResFile({Bytes(one.begin(), one.end())});
    return {bytes.begin(), bytes.end()};
}

QStringList entries(const RecentFiles* recent) {
    QStringList texts;
    for (const QAction* action : recent->menu->actions())
        texts << action->text();
    return texts;
}
} // namespace

class DesktopTest : public QObject, protected WindowFixture {
    Q_OBJECT

    std::string file(const std::string& name, const std::string& bytes) {
        return testsupport::writeFile(QString::fromStdString(path(name)), bytes);
    }
    QString settingsFile() const { return dir->filePath("settings/tesselor.ini"); }

    // Drags the paths over the window and drops them; false when the window refused them.
    bool drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& each : paths)
            urls << (each.startsWith("http") ? QUrl(each) : QUrl::fromLocalFile(each));
        data.setUrls(urls);
        if (!window->acceptDrops())
            return false;
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        QCoreApplication::processEvents();
        return true;
    }

private slots:
    void init() { createWindow(); }
    void cleanup() { destroyWindow(); }

    // Each kind opens on its own page through its command; what the window does not open is refused
    // before the drop, and changes nothing.
    void dropsOpenEachKindOnItsPage() {
        const QString font = QString::fromStdString(file("tiny.font", fixtures::kTiny9x3Font));
        const QString image =
            QString::fromStdString(file("logo.bmp", testsupport::writeBmp(PixelImage(2, 1))));
        const QString res = QString::fromStdString(file("list.res", resFile(item("one"))));
        const QString a = QString::fromStdString(file("a.resdata", item("a")));
        const QString b = QString::fromStdString(file("b.resdata", item("b")));
        QDir(dir->path()).mkdir("chars");
        const QString folder = dir->filePath("chars");
        const QString text = QString::fromStdString(file("notes.txt", "x"));

        const QStringList refused[] = {{font, font}, {text}, {a, font}, {"http://example.com/a.resdata"}, {}};
        for (const QStringList& paths : refused)
            QVERIFY2(!drop(paths), qPrintable(paths.join(' ')));
        QVERIFY(dialogs->messages.empty());

        // An image by its name, or by its contents under another name.
        const QString named =
            QString::fromStdString(file("logo.pic", testsupport::readFile(image.toStdString())));
        for (const QString& each : {named, image}) {
            QVERIFY(drop({each}));
            QCOMPARE(window->PageControl->currentIndex(), 1);
            QVERIFY(settled());
            QCOMPARE(state().BitmapFilePath, each.toStdString());
        }
        QVERIFY(drop({font}));
        QCOMPARE(window->PageControl->currentIndex(), 0);
        QCOMPARE(state().FontFilePath, font.toStdString());
        QVERIFY(drop({b, a}));
        QCOMPARE(window->PageControl->currentIndex(), 2);
        QCOMPARE(resources().items().size(), std::size_t(2));
        QCOMPARE(readResourceItem(byteView(resources().items()[0]))->name, std::string("b"));
        // The list has changes: the .res asks first, and Cancel keeps the list.
        dialogs->questionAnswers = {MessageButton::Cancel, MessageButton::Discard};
        QVERIFY(drop({res}));
        QCOMPARE(resources().items().size(), std::size_t(2));
        QVERIFY(drop({res}));
        QCOMPARE(state().ResFilePath, res.toStdString());
        QCOMPARE(resources().items().size(), std::size_t(1));
        // A folder runs Import Bmp Char on it.
        QVERIFY(drop({folder}));
        QCOMPARE(window->PageControl->currentIndex(), 0);
        QCOMPARE(state().BmpCharsFolder, folder.toStdString());
        QCOMPARE(dialogs->lastMessage().text, std::string("Chars.bmp not found in the folder"));
        QVERIFY(dialogs->allAnswered());
    }

    // Several files from one dialog: each checked and imported in order, the refusals in one message,
    // the items taken one undo step.
    void severalResdataFilesAtOnce() {
        ResourcesPage* page = window->tsResourcesFile;
        dialogs->fileAnswers.push_back(file("x.resdata", item("x")));
        page->bImportResdataFileClick();
        const std::vector<std::string> chosen = {file("a.resdata", item("a")), path("gone.resdata"),
                                                 file("bad.resdata", "junk"), file("x2.resdata", item("x")),
                                                 file("b.resdata", item("b"))};
        dialogs->filesAnswers.push_back(chosen);
        page->bImportResdataFileClick();
        std::string names;
        for (const Bytes& each : resources().items())
            names += readResourceItem(byteView(each))->name;
        QCOMPARE(names, std::string("xab"));
        QCOMPARE(dialogs->messages.size(), std::size_t(1));
        QCOMPARE(dialogs->lastMessage().text,
                 "Not imported (3 of 5 files):\r\nFile '" + chosen[1] + "'\r\nNot found.\r\nFile '" +
                     chosen[2] + "'\r\nNot compatible.\r\nResource 'x' already in the list.");
        QCOMPARE(page->undoStack()->undoText(), QString("Import"));
        page->undoStack()->undo();
        QCOMPARE(resources().items().size(), std::size_t(1));
    }

    // What was opened and saved, the folders, the import font and range and the zooms come back after a
    // restart; a recent file that is gone is taken off its list when chosen.
    void settingsSurviveARestart() {
        restartWindow(settingsFile());
        std::vector<std::string> fonts;
        for (int i = 0; i < 9; ++i)
            fonts.push_back(file("f" + std::to_string(i) + ".font", fixtures::kTiny9x3Font));
        for (const std::string& each : fonts)
            window->tsFont->openFontFile(each);
        QCOMPARE(entries(window->tsFont->FontMenuFile_Recent).size(), RecentFiles::kCount);
        window->tsBitmap->importBitmapFile(file("logo.bmp", testsupport::writeBmp(PixelImage(2, 1))));
        QVERIFY(settled());
        dialogs->fileAnswers.push_back(file("list.res", resFile(item("one"))));
        window->tsResourcesFile->ResourcesMenuFile_OpenClick();
        window->PageControl->setCurrentIndex(2);
        window->tsFont->seGridSize->setValue(9);
        window->tsBitmap->seBitmapZoom->setValue(3);
        window->FormFontRange->seFromChar->setValue(40);
        window->FormFontRange->seToChar->setValue(90);
        window->FormFontRange->cbCodePage->setCurrentText("windows-1250");
        QFont offered("DejaVu Serif", 17);
        window->tsFont->setImportFont(offered);

        restartWindow(settingsFile());
        QCOMPARE(window->PageControl->currentIndex(), 2);
        QCOMPARE(window->tsBitmap->seBitmapZoom->value(), 3);
        QCOMPARE(window->FormFontRange->seFromChar->value(), 40);
        QCOMPARE(window->FormFontRange->seToChar->value(), 90);
        QCOMPARE(window->FormFontRange->cbCodePage->currentText(), QString("windows-1250"));
        QCOMPARE(window->tsFont->importFont().family(), offered.family());
        QCOMPARE(window->tsFont->importFont().pointSize(), 17);
        // The newest first, eight at most.
        const QStringList fontEntries = entries(window->tsFont->FontMenuFile_Recent);
        QCOMPARE(fontEntries.size(), RecentFiles::kCount);
        QCOMPARE(fontEntries.front(), "&1 " + QString::fromStdString(fonts[8]));
        QCOMPARE(fontEntries.back(), "&8 " + QString::fromStdString(fonts[1]));
        QCOMPARE(entries(window->tsBitmap->BitmapMenuFile_Recent),
                 QStringList{"&1 " + dir->filePath("logo.bmp")});
        QCOMPARE(entries(window->tsResourcesFile->ResourcesMenuFile_Recent),
                 QStringList{"&1 " + dir->filePath("list.res")});
        // The dialog starts in its last folder while the command has no path of its own.
        dialogs->fileAnswers.push_back(std::nullopt);
        window->tsResourcesFile->ResourcesMenuFile_OpenClick();
        QCOMPARE(dialogs->fileCalls.back().request.initialFolder, dir->path().toStdString());

        // A font opens at the zoom last worked at.
        window->tsFont->FontMenuFile_Recent->menu->actions()[2]->trigger();
        QCOMPARE(state().FontFilePath, fonts[6]);
        QCOMPARE(window->tsFont->seGridSize->value(), 9);
        QFile::remove(QString::fromStdString(fonts[5]));
        window->tsFont->FontMenuFile_Recent->menu->actions()[3]->trigger();
        QCOMPARE(dialogs->lastMessage().text,
                 "File '" + fonts[5] + "'\r\nNot found.\r\nIt was taken off the recent files.");
        QCOMPARE(entries(window->tsFont->FontMenuFile_Recent).size(), RecentFiles::kCount - 1);
        QCOMPARE(state().FontFilePath, fonts[6]);
    }

    // The window opens inside the screen's free area (here 1366 x 768 with a panel of 40, a frame of 4 and a
    // title bar of 32): a saved place that fits keeps its size and moves inside; one larger than the screen
    // is dropped for the first start's size, which shrinks to the screen but not below the minimum; the
    // title bar stays on the screen.
    void windowFitsTheScreen_data() {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        const QRect laptop(0, 0, 1366, 728);
        QTest::newRow("first start, 1366 x 768") << QRect() << laptop << QRect(246, 32, 873, 692);
        QTest::newRow("first start, 1920 x 1080")
            << QRect() << QRect(0, 0, 1920, 1050) << QRect(523, 104, 873, 869);
        QTest::newRow("saved, fits") << QRect(100, 60, 900, 650) << laptop << QRect(100, 60, 900, 650);
        QTest::newRow("saved, over the bottom")
            << QRect(100, 80, 900, 650) << laptop << QRect(100, 74, 900, 650);
        QTest::newRow("saved, above and left")
            << QRect(-300, -11, 873, 650) << laptop << QRect(4, 32, 873, 650);
        QTest::newRow("saved, 40000 x 40000")
            << QRect(0, 0, 40000, 40000) << laptop << QRect(246, 32, 873, 692);
        QTest::newRow("saved, one pixel too high")
            << QRect(0, 0, 873, 693) << laptop << QRect(246, 32, 873, 692);
        QTest::newRow("saved, as wide as it may be")
            << QRect(4, 32, 1358, 650) << laptop << QRect(4, 32, 1358, 650);
        QTest::newRow("saved, one pixel too wide")
            << QRect(4, 32, 1359, 650) << laptop << QRect(246, 32, 873, 692);
        QTest::newRow("screen below the minimum")
            << QRect() << QRect(0, 0, 800, 600) << QRect(4, 32, 800, 610);
    }
    void windowFitsTheScreen() {
        QFETCH(QRect, saved);
        QFETCH(QRect, available);
        QFETCH(QRect, placed);
        const auto restored = saved.isNull() ? std::nullopt : std::optional<QRect>(saved);
        QCOMPARE(fittedWindow(restored, QSize(873, 869), QSize(800, 610), available, QMargins(4, 32, 4, 4)),
                 placed);
    }

    // A settings file asking for a 40000 x 40000 window starts a window of the screen's size.
    void hostileGeometryIsDropped() {
        QWidget huge;
        huge.setGeometry(0, 0, 40000, 40000);
        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            settings.setValue("window/geometry", huge.saveGeometry());
        }
        restartWindow(settingsFile());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(window->pos(), area.topLeft());
        QVERIFY(window->width() <= std::max(area.width(), window->minimumWidth()));
        QVERIFY(window->height() <= std::max(area.height(), window->minimumHeight()));
        QVERIFY(showWindow());
    }

    // A settings file that is broken, holds nonsense or cannot be read gives the defaults.
    void brokenSettingsGiveTheDefaults() {
        const std::string broken[] = {std::string("\xFF\xFE\0[\x01=\n\n[[[", 11),
                                      "[window]\npage=7\ngeometry=zz\n[font]\ngridZoom=banana\n"
                                      "[import]\nfont=,,,,\nfrom=x\ncodePage=no-such\n[recent]\nfont=3\n"};
        QDir(dir->path()).mkdir("settings");
        for (const std::string& bytes : broken) {
            testsupport::writeFile(settingsFile(), bytes);
            restartWindow(settingsFile());
            QCOMPARE(window->PageControl->currentIndex(), 0);
            QCOMPARE(window->tsFont->zoomToRemember(), 12);
            QCOMPARE(window->FormFontRange->cbCodePage->currentText(), QString("windows-1252"));
            QVERIFY(entries(window->tsFont->FontMenuFile_Recent).isEmpty());
            QVERIFY(window->tsFont->importFont().pointSize() > 0);
        }
        QFile::remove(settingsFile());
        QDir(dir->path()).mkpath("settings/tesselor.ini");
        restartWindow(settingsFile());
        QCOMPARE(window->PageControl->currentIndex(), 0);
        // A named pipe nobody writes to: the window starts, and leaves it a pipe when it closes.
        QDir(dir->path()).rmdir("settings/tesselor.ini");
        QCOMPARE(::mkfifo(settingsFile().toLocal8Bit().constData(), 0600), 0);
        restartWindow(settingsFile());
        QCOMPARE(window->PageControl->currentIndex(), 0);
        window.reset();
        QVERIFY(!QFileInfo(settingsFile()).isFile());
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
