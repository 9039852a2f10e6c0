#include "app/bitmap_page.h"

#include "bitmap/bitmap_payload.h"
#include "editor/image_view.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "fontexport/resource_item.h"
#include "platform/image_decoder.h"
#include "platform/paths.h"
#include "qtplatform/file_io.h"
#include "qtplatform/qt_pixels.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tesselor {

namespace {
const char* const kAnomaly = "Anomalus image. The Bitmap file is corrupt";
} // namespace

BitmapPage::BitmapPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent)
    : QWidget(parent), state_(state), commands_(commands), decoder_(decoder) {
    setObjectName("tsBitmap");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(8, 4, 8, 4);
    controls->addWidget(new QLabel("Zoom", this));
    seBitmapZoom = new SpinControl(this);
    seBitmapZoom->setObjectName("seBitmapZoom");
    seBitmapZoom->setRange(1, 16);
    seBitmapZoom->setSuffix("x");
    controls->addWidget(seBitmapZoom);
    controls->addStretch(1);
    layout->addLayout(controls);

    bitmapScroll = new QScrollArea(this);
    bitmapScroll->setObjectName("bitmapScroll");
    bitmapScroll->setFrameShape(QFrame::NoFrame);
    bitmapScroll->setWidgetResizable(true);
    pBitmap = new QFrame;
    pBitmap->setObjectName("pBitmap");
    pBitmap->setAutoFillBackground(true);
    QPalette grey = pBitmap->palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    pBitmap->setPalette(grey);
    imgBitmap = new ImageView(pBitmap);
    imgBitmap->setObjectName("imgBitmap");
    imgBitmap->move(0, 0);
    imgBitmap->resize(0, 0);
    bitmapScroll->setWidget(pBitmap);
    layout->addWidget(bitmapScroll, 1);

    sbBitmap = new StatusPanels({100, 100, 170, 50}, this);
    sbBitmap->setObjectName("sbBitmap");
    layout->addWidget(sbBitmap);

    connect(seBitmapZoom, &QSpinBox::valueChanged, this, [this](int zoom) {
        imgBitmap->setZoom(zoom);
        pBitmap->setMinimumSize(imgBitmap->size());
    });
    connect(imgBitmap, &ImageView::zoomRequested, this, &BitmapPage::zoomAround);

    BitmapMenuFile = new QMenu("&File", this);
    BitmapMenuFile->setObjectName("BitmapMenuFile");
    BitmapMenuFile_ImportBitmap = BitmapMenuFile->addAction("Import Bitmap Image");
    BitmapMenuFile_ImportBitmap->setObjectName("BitmapMenuFile_ImportBitmap");
    BitmapMenuFile_N1 = BitmapMenuFile->addSeparator();
    BitmapMenuFile_N1->setObjectName("BitmapMenuFile_N1");
    BitmapMenuFile_ForFT800 = BitmapMenuFile->addAction("For The FT800 Graphics Controller");
    BitmapMenuFile_ForFT800->setObjectName("BitmapMenuFile_ForFT800");
    BitmapMenuFile_ForFT800->setCheckable(true);
    BitmapMenuFile_CreateFileC = BitmapMenuFile->addAction("Create File.c Bitmap");
    BitmapMenuFile_CreateFileC->setObjectName("BitmapMenuFile_CreateFileC");
    BitmapMenuFile_CreateFileResdata = BitmapMenuFile->addAction("Create File.resdata Bitmap");
    BitmapMenuFile_CreateFileResdata->setObjectName("BitmapMenuFile_CreateFileResdata");
    BitmapMenuFile_N2 = BitmapMenuFile->addSeparator();
    BitmapMenuFile_N2->setObjectName("BitmapMenuFile_N2");
    BitmapMenuFile_Exit = BitmapMenuFile->addAction("Exit");
    BitmapMenuFile_Exit->setObjectName("BitmapMenuFile_Exit");

    for (QAction* action :
         {BitmapMenuFile_ForFT800, BitmapMenuFile_CreateFileC, BitmapMenuFile_CreateFileResdata})
        action->setEnabled(false);
    connect(BitmapMenuFile_ImportBitmap, &QAction::triggered, this,
            &BitmapPage::BitmapMenuFile_ImportBitmapClick);
    connect(BitmapMenuFile_ForFT800, &QAction::triggered, this, &BitmapPage::BitmapMenuFile_ForFT800Click);
    connect(BitmapMenuFile_CreateFileC, &QAction::triggered, this,
            &BitmapPage::BitmapMenuFile_CreateFileCClick);
    connect(BitmapMenuFile_CreateFileResdata, &QAction::triggered, this,
            &BitmapPage::BitmapMenuFile_CreateFileResdataClick);
    connect(BitmapMenuFile_Exit, &QAction::triggered, this, &BitmapPage::exitRequested);
}

void BitmapPage::showImage() {
    imgBitmap->setImage(toQImage(state_.BitmapImage));
    // The panel is at least as large as the picture, so the scroll area reaches all of it.
    pBitmap->setMinimumSize(imgBitmap->size());
}

// Ctrl and the wheel: the pixel under the pointer stays under it.
void BitmapPage::zoomAround(int steps, QPoint position) {
    const QPointF pixel = QPointF(position) / imgBitmap->zoom();
    const QPoint inView = imgBitmap->mapTo(bitmapScroll->viewport(), position);
    seBitmapZoom->setValue(seBitmapZoom->value() + steps);
    const QPointF now = pixel * imgBitmap->zoom();
    bitmapScroll->horizontalScrollBar()->setValue(static_cast<int>(now.x()) - inView.x());
    bitmapScroll->verticalScrollBar()->setValue(static_cast<int>(now.y()) - inView.y());
}

void BitmapPage::BitmapMenuFile_ImportBitmapClick() {
    const auto path = commands_.chooseOpenPath(
        "Import File.bmp...", ".bmp", "Bitmap File (*.bmp)|*.bmp|All files (*.*)|*.*", state_.BitmapFilePath);
    if (path)
        importBitmapFile(*path);
}

void BitmapPage::importBitmapFile(const std::string& path) {
    commands_.run([&] {
        if (!commands_.fileFound(path))
            return;
        // Decoded first: a file that cannot be decoded leaves the image, names and title as they were.
        DecodedImage decoded = decoder_.decode(path);
        const LayoutClass layout = classifyBmpLayout(decoded.layout);

        state_.BitmapFilePath = path;
        state_.BitmapPageTitle = titleFor(state_.BitmapFilePath);
        emit captionChanged();
        state_.BitmapBaseName = paths::baseName(state_.BitmapFilePath) + "_bmp";
        state_.BitmapImage = std::move(decoded.pixels);
        showImage();
        for (QAction* action :
             {BitmapMenuFile_ForFT800, BitmapMenuFile_CreateFileC, BitmapMenuFile_CreateFileResdata})
            action->setEnabled(true);
        if (layout.bits)
            state_.BitmapBits = *layout.bits;
        state_.BitmapLayoutListed = layout.bits.has_value();
        sbBitmap->setPanelText(0, "Width " + QString::number(state_.BitmapImage.width()));
        sbBitmap->setPanelText(1, "Height " + QString::number(state_.BitmapImage.height()));
        sbBitmap->setPanelText(2, "Bitmap Format: " + QString::fromStdString(layout.formatText));
    });
}

void BitmapPage::BitmapMenuFile_ForFT800Click() {
    state_.ForFT800 = !state_.ForFT800;
    BitmapMenuFile_ForFT800->setChecked(state_.ForFT800);
}

namespace {
BitmapEncoding encodingOf(const AppState& state) {
    return bitmapEncoding(state.BitmapLayoutListed ? std::optional<std::uint8_t>(state.BitmapBits)
                                                   : std::nullopt,
                          state.ForFT800);
}
} // namespace

void BitmapPage::BitmapMenuFile_CreateFileCClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Create File.c...", state_.BitmapBaseName, ".c",
                                                   "Array bitmap file (*.c)|*.c|All files (*.*)|*.*",
                                                   state_.BitmapCFilePath);
        if (!path)
            return;
        state_.BitmapCFilePath = *path;
        const BitmapEncoding encoding = encodingOf(state_);
        const auto payload = BitmapPayload(state_.BitmapImage, encoding);
        if (!payload) {
            commands_.showInformation(kAnomaly);
            return;
        }
        fileio::writeFileAtomic(*path,
                                bitmapCSource(*payload, encoding, state_.ForFT800, state_.BitmapBaseName));
        commands_.showCreated(*path);
    });
}

void BitmapPage::BitmapMenuFile_CreateFileResdataClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath(
            "Create File.resdata...", state_.BitmapBaseName, ".resdata",
            "Resource bitmap file (*.resdata)|*.resdata|All files (*.*)|*.*", state_.ResdataFilePath);
        if (!path)
            return;
        const std::string name = paths::baseName(*path);
        if (!commands_.itemNameFits(name))
            return;
        state_.ResdataFilePath = *path;
        const auto payload = BitmapPayload(state_.BitmapImage, encodingOf(state_));
        if (!payload) {
            commands_.showInformation(kAnomaly);
            return;
        }
        const Bytes item = writeResourceItem("bmp", name, *payload);
        fileio::writeFileAtomic(*path, item);
        commands_.showCreated(*path);
    });
}

} // namespace tesselor
