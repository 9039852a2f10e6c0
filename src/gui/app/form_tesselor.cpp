#include "app/form_tesselor.h"

#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/recent_files.h"
#include "app/resources_page.h"
#include "app/window_geometry.h"
#include "dialogs/form_about.h"
#include "dialogs/form_font_range.h"
#include "dialogs/form_view_char.h"
#include "document/font_document.h"
#include "document/resources_document.h"
#include "editor/spin_control.h"
#include "platform/paths.h"
#include "qtplatform/qt_image_decoder.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>
#include <array>
#include <optional>
#include <set>

using namespace tesselor;

TFormTesselor::TFormTesselor(Dialogs& dialogs, const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), settingsFile_(settingsFile), decoder_(std::make_unique<QtImageDecoder>()),
      state_(std::make_unique<AppState>()), fontDocument_(std::make_unique<FontDocument>()),
      resourcesDocument_(std::make_unique<ResourcesDocument>()), commands_(dialogs, this) {
    setObjectName("FormTesselor");

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->setTabPosition(QTabWidget::South);
    tsFont = new FontPage(*state_, *fontDocument_, commands_, *decoder_, PageControl);
    tsBitmap = new BitmapPage(*state_, commands_, *decoder_, PageControl);
    tsResourcesFile = new ResourcesPage(*state_, *resourcesDocument_, commands_, PageControl);
    PageControl->addTab(tsFont, "   Font   ");
    PageControl->addTab(tsBitmap, "  Bitmap  ");
    PageControl->addTab(tsResourcesFile, "Resources File");
    setCentralWidget(PageControl);

    QMenuBar* bar = menuBar();
    bar->addMenu(tsFont->FontMenuFile);
    bar->addMenu(tsFont->FontMenuEdit);
    bar->addMenu(tsBitmap->BitmapMenuFile);
    bar->addMenu(tsResourcesFile->ResourcesMenuFile);
    bar->addMenu(tsResourcesFile->ResourcesMenuEdit);
    AboutMenu = bar->addAction("About...");
    AboutMenu->setObjectName("AboutMenu");

    PageControl->setCurrentIndex(0);
    QCoreApplication::setApplicationName(QString::fromStdString(state_->AppTitle));
    PageControlChange(0);

    connect(PageControl, &QTabWidget::currentChanged, this, &TFormTesselor::PageControlChange);
    connect(AboutMenu, &QAction::triggered, this, &TFormTesselor::AboutMenuClick);
    for (QObject* page : {static_cast<QObject*>(tsFont), static_cast<QObject*>(tsBitmap),
                          static_cast<QObject*>(tsResourcesFile)}) {
        connect(page, SIGNAL(captionChanged()), this, SLOT(updateCaption()));
        connect(page, SIGNAL(exitRequested()), this, SLOT(close()));
    }

    // The small windows, in the order of program start: preview, range dialog, about box.
    FormViewChar = new TFormViewChar(this, this);
    FormFontRange = new TFormFontRange(this);
    FormAbout = new TFormAbout(this);
    tsFont->setPreview(FormViewChar);
    tsFont->setRangeDialog(FormFontRange);

    setWindowIcon(QIcon::fromTheme("tesselor", QIcon(TFormAbout::emblem())));
    setAcceptDrops(true);
    restoreSettings();
}

// The pages go before the documents they show: a page's views must never outlive the font or the list.
TFormTesselor::~TFormTesselor() {
    saveSettings();
    delete PageControl;
}

QString TFormTesselor::userSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Tesselor/tesselor.ini";
}

namespace {
std::string loweredExtension(const std::string& path) {
    return QString::fromStdString(paths::extension(path)).toLower().toStdString();
}

// The images the Bitmap page opens by name; the decoder itself reads any format Qt offers.
bool isImage(const std::string& extension) {
    static const std::set<std::string> images = {".bmp", ".png",  ".jpg",  ".jpeg", ".gif",
                                                 ".tif", ".tiff", ".webp", ".tga"};
    return images.count(extension) != 0;
}

} // namespace

bool TFormTesselor::opensAtStart(const std::string& path) {
    const std::string extension = loweredExtension(path);
    return extension == ".font" || extension == ".res" || isImage(extension);
}

void TFormTesselor::openAtStart(const std::string& path) {
    const std::string extension = loweredExtension(path);
    if (extension == ".font") {
        PageControl->setCurrentWidget(tsFont);
        tsFont->openFontFile(path);
    } else if (isImage(extension)) {
        PageControl->setCurrentWidget(tsBitmap);
        tsBitmap->importBitmapFile(path);
    } else if (extension == ".res") {
        PageControl->setCurrentWidget(tsResourcesFile);
        tsResourcesFile->openResFile(path);
    }
}

void TFormTesselor::PageControlChange(int index) {
    const std::pair<QMenu*, int> menus[] = {
        {tsFont->FontMenuFile, 0},
        {tsFont->FontMenuEdit, 0},
        {tsBitmap->BitmapMenuFile, 1},
        {tsResourcesFile->ResourcesMenuFile, 2},
        {tsResourcesFile->ResourcesMenuEdit, 2},
    };
    for (const auto& [menu, page] : menus) {
        menu->menuAction()->setVisible(index == page);
        // Only the shown menus carry their Alt mnemonic: three "File" menus would make Alt+F ambiguous.
        QString title = menu->title().remove('&');
        menu->setTitle(index == page ? "&" + title : title);
    }
    updateCaption();
    PageControl->setFocus();
}

void TFormTesselor::updateCaption() {
    const int index = PageControl->currentIndex();
    const QString title = index == 1   ? QString::fromStdString(state_->BitmapPageTitle)
                          : index == 2 ? tsResourcesFile->caption()
                                       : tsFont->caption();
    // "[*]" is where Qt shows the "*"; one in a path is written twice to stay as it is.
    setWindowTitle(QString(title).replace("[*]", "[*][*]") + "[*]");
    setWindowModified(index == 0   ? fontDocument_->isModified()
                      : index == 2 ? resourcesDocument_->isModified()
                                   : false);
}

void TFormTesselor::AboutMenuClick() {
    commands_.dialogs().execModal(*FormAbout);
}

void TFormTesselor::closeEvent(QCloseEvent* event) {
    if (commands_.mayLeave({tsFont->unsavedWork(), tsResourcesFile->unsavedWork()}))
        event->accept();
    else
        event->ignore();
}

namespace {
enum class DropKind { None, Font, Image, Res, Resdata, Folder };

DropKind dropKind(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return DropKind::Folder;
    if (!info.isFile())
        return DropKind::None;
    const std::string extension = loweredExtension(path.toStdString());
    if (extension == ".font")
        return DropKind::Font;
    if (extension == ".res")
        return DropKind::Res;
    if (extension == ".resdata")
        return DropKind::Resdata;
    // Any image Qt reads here, whatever its name says.
    return isImage(extension) || QImageReader(path).canRead() ? DropKind::Image : DropKind::None;
}

QStringList localPaths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}
} // namespace

bool TFormTesselor::takesDrop(const QStringList& paths) {
    if (paths.isEmpty())
        return false;
    if (std::all_of(paths.begin(), paths.end(),
                    [](const QString& path) { return dropKind(path) == DropKind::Resdata; }))
        return true;
    return paths.size() == 1 && dropKind(paths.front()) != DropKind::None;
}

void TFormTesselor::openDropped(const QStringList& paths) {
    if (!takesDrop(paths))
        return;
    const std::string first = paths.front().toStdString();
    switch (dropKind(paths.front())) {
    case DropKind::Resdata: {
        PageControl->setCurrentWidget(tsResourcesFile);
        std::vector<std::string> files;
        for (const QString& path : paths)
            files.push_back(path.toStdString());
        tsResourcesFile->importResdataFiles(files);
        break;
    }
    case DropKind::Folder:
        PageControl->setCurrentWidget(tsFont);
        tsFont->importBmpCharsFromAsking(first);
        break;
    case DropKind::Font:
        PageControl->setCurrentWidget(tsFont);
        tsFont->openFontFileAsking(first);
        break;
    case DropKind::Image:
        PageControl->setCurrentWidget(tsBitmap);
        tsBitmap->importBitmapFile(first);
        break;
    case DropKind::Res:
        PageControl->setCurrentWidget(tsResourcesFile);
        tsResourcesFile->openResFileAsking(first);
        break;
    case DropKind::None:
        break;
    }
}

void TFormTesselor::dragEnterEvent(QDragEnterEvent* event) {
    if (takesDrop(localPaths(event->mimeData())))
        event->acceptProposedAction();
}

void TFormTesselor::dropEvent(QDropEvent* event) {
    const QStringList paths = localPaths(event->mimeData());
    if (!takesDrop(paths))
        return;
    event->acceptProposedAction();
    // The commands may ask questions: they run once the drag has ended, not inside it.
    QMetaObject::invokeMethod(
        this, [this, paths] { openDropped(paths); }, Qt::QueuedConnection);
}

namespace {
// Recent files and folders as kept between runs; anything else in the file is passed over.
QStringList storedPaths(const QSettings& settings, const QString& key) {
    QStringList paths;
    for (const QString& path : settings.value(key).toStringList())
        if (!path.isEmpty())
            paths << path;
    return paths;
}

std::optional<int> storedNumber(const QSettings& settings, const QString& key) {
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
} // namespace

std::array<std::pair<RecentFiles*, QString>, 3> TFormTesselor::recentLists() const {
    return {{{tsFont->FontMenuFile_Recent, "recent/font"},
             {tsBitmap->BitmapMenuFile_Recent, "recent/bitmap"},
             {tsResourcesFile->ResourcesMenuFile_Recent, "recent/resources"}}};
}

void TFormTesselor::placeOnScreen(const std::optional<QRect>& saved) {
    const QScreen* screen = saved ? QGuiApplication::screenAt(saved->center()) : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The frame is known only once a window manager drew it: allow for a title bar and thin borders.
    const QString platform = QGuiApplication::platformName();
    const QMargins frame =
        platform == "offscreen" || platform == "minimal" ? QMargins() : QMargins(4, 32, 4, 4);
    const QRect area = screen->availableGeometry();
    // A screen smaller than the usual minimum (or a large scale factor) lowers it, so the window fits.
    setMinimumSize(QSize(800, 610).boundedTo(area.marginsRemoved(frame).size()));
    setGeometry(fittedWindow(saved, QSize(873, 869), minimumSize(), area, frame));
}

namespace {

// A settings file the window may read and write: absent, or a regular file of a settings file's size. A
// named pipe would stop the window from appearing, a device would be read without end.
bool usableSettingsFile(const QString& path) {
    const QFileInfo info(path);
    constexpr qint64 kLargest = 1 << 20;
    return !path.isEmpty() && (!info.exists() || (info.isFile() && info.size() <= kLargest));
}

} // namespace

void TFormTesselor::restoreSettings() {
    // A settings file that cannot be read or parsed gives the defaults, value by value.
    std::unique_ptr<QSettings> settings;
    if (usableSettingsFile(settingsFile_))
        settings = std::make_unique<QSettings>(settingsFile_, QSettings::IniFormat);
    if (!settings || settings->status() != QSettings::NoError) {
        placeOnScreen(std::nullopt);
        return;
    }
    // The window is not shown yet: a restored size costs nothing until it is, and it is checked first.
    std::optional<QRect> saved;
    if (restoreGeometry(settings->value("window/geometry").toByteArray()))
        saved = isMaximized() ? normalGeometry() : geometry();
    placeOnScreen(saved);
    // A page out of range is no page: the tab widget keeps the first.
    if (const auto page = storedNumber(*settings, "window/page"))
        PageControl->setCurrentIndex(*page);

    const int folders = settings->beginReadArray("folders");
    for (int i = 0; i < folders && i < 64; ++i) {
        settings->setArrayIndex(i);
        commands_.rememberFolder(settings->value("dialog").toString().toStdString(),
                                 settings->value("folder").toString().toStdString());
    }
    settings->endArray();

    QFont font;
    if (settings->contains("import/font") && font.fromString(settings->value("import/font").toString()) &&
        !font.family().isEmpty() && font.pointSizeF() >= 1 && font.pointSizeF() <= 1000)
        tsFont->setImportFont(font);
    if (const auto from = storedNumber(*settings, "import/from"))
        FormFontRange->seFromChar->setValue(*from);
    if (const auto to = storedNumber(*settings, "import/to"))
        FormFontRange->seToChar->setValue(*to);
    const int codePage = FormFontRange->cbCodePage->findText(settings->value("import/codePage").toString());
    if (codePage >= 0)
        FormFontRange->cbCodePage->setCurrentIndex(codePage);
    if (const auto zoom = storedNumber(*settings, "font/gridZoom"))
        tsFont->setLoadedZoom(*zoom);
    if (const auto zoom = storedNumber(*settings, "bitmap/zoom"))
        tsBitmap->seBitmapZoom->setValue(*zoom);

    for (const auto& [recent, key] : recentLists())
        recent->setPaths(storedPaths(*settings, key));
}

void TFormTesselor::saveSettings() {
    if (!usableSettingsFile(settingsFile_))
        return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.clear();
    settings.setValue("window/geometry", saveGeometry());
    settings.setValue("window/page", PageControl->currentIndex());
    settings.beginWriteArray("folders");
    int index = 0;
    for (const auto& [dialog, folder] : commands_.dialogFolders()) {
        settings.setArrayIndex(index++);
        settings.setValue("dialog", QString::fromStdString(dialog));
        settings.setValue("folder", QString::fromStdString(folder));
    }
    settings.endArray();
    settings.setValue("import/font", tsFont->importFont().toString());
    settings.setValue("import/from", FormFontRange->seFromChar->value());
    settings.setValue("import/to", FormFontRange->seToChar->value());
    settings.setValue("import/codePage", FormFontRange->cbCodePage->currentText());
    settings.setValue("font/gridZoom", tsFont->zoomToRemember());
    settings.setValue("bitmap/zoom", tsBitmap->seBitmapZoom->value());
    for (const auto& [recent, key] : recentLists())
        settings.setValue(key, recent->paths());
}
