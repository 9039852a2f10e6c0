#include "app/form_tesselor.h"

#include "app/bitmap_page.h"
#include "app/font_page.h"
#include "app/resources_page.h"
#include "dialogs/form_about.h"
#include "dialogs/form_font_range.h"
#include "dialogs/form_view_char.h"
#include "platform/paths.h"
#include "qtplatform/qt_image_decoder.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>

#include <set>

using namespace tesselor;

TFormTesselor::TFormTesselor(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), decoder_(std::make_unique<QtImageDecoder>()), state_(std::make_unique<AppState>()),
      commands_(dialogs, this) {
    setObjectName("FormTesselor");

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->setTabPosition(QTabWidget::South);
    tsFont = new FontPage(*state_, commands_, *decoder_, PageControl);
    tsBitmap = new BitmapPage(*state_, commands_, *decoder_, PageControl);
    tsResourcesFile = new ResourcesPage(*state_, commands_, PageControl);
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
    setMinimumSize(800, 610);

    connect(PageControl, &QTabWidget::currentChanged, this, &TFormTesselor::PageControlChange);
    connect(AboutMenu, &QAction::triggered, this, &TFormTesselor::AboutMenuClick);
    for (QObject* page : {static_cast<QObject*>(tsFont), static_cast<QObject*>(tsBitmap),
                          static_cast<QObject*>(tsResourcesFile)}) {
        connect(page, SIGNAL(captionChanged()), this, SLOT(updateCaption()));
        connect(page, SIGNAL(exitRequested()), this, SLOT(close()));
    }

    resize(873, 869);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // The small windows, in the order of program start: preview, range dialog, about box.
    FormViewChar = new TFormViewChar(this, this);
    FormFontRange = new TFormFontRange(this);
    FormAbout = new TFormAbout(this);
    tsFont->setPreview(FormViewChar);
    tsFont->setRangeDialog(FormFontRange);
}

TFormTesselor::~TFormTesselor() = default;

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
        PageControl->setCurrentIndex(0);
        tsFont->openFontFile(path);
    } else if (isImage(extension)) {
        PageControl->setCurrentIndex(1);
        tsBitmap->importBitmapFile(path);
    } else if (extension == ".res") {
        PageControl->setCurrentIndex(2);
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
    const std::string& title = index == 1   ? state_->BitmapPageTitle
                               : index == 2 ? state_->ResourcesPageTitle
                                            : state_->FontPageTitle;
    setWindowTitle(QString::fromStdString(title));
}

void TFormTesselor::AboutMenuClick() {
    commands_.dialogs().execModal(*FormAbout);
}

void TFormTesselor::closeEvent(QCloseEvent* event) {
    if (!state_->FontModified && !state_->ResourcesModified) {
        event->accept();
        return;
    }
    // Yes keeps the window open so that the user can save with the page's own commands.
    if (commands_.mayDiscardChanges(true))
        event->accept();
    else
        event->ignore();
}
