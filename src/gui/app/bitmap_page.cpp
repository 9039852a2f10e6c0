#include "app/bitmap_page.h"

#include "editor/status_panels.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tesselor {

BitmapPage::BitmapPage(AppState& state, CommandSupport& commands, QWidget* parent)
    : QWidget(parent), state_(state), commands_(commands) {
    setObjectName("tsBitmap");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    bitmapScroll = new QScrollArea(this);
    bitmapScroll->setObjectName("bitmapScroll");
    bitmapScroll->setFrameShape(QFrame::NoFrame);
    bitmapScroll->setWidgetResizable(true);
    bitmapScroll->setStyleSheet("QScrollArea { background: #c0c0c0; }");
    pBitmap = new QFrame;
    pBitmap->setObjectName("pBitmap");
    pBitmap->setAutoFillBackground(true);
    QPalette grey = pBitmap->palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    pBitmap->setPalette(grey);
    imgBitmap = new QLabel(pBitmap);
    imgBitmap->setObjectName("imgBitmap");
    imgBitmap->move(0, 0);
    imgBitmap->resize(0, 0);
    bitmapScroll->setWidget(pBitmap);
    layout->addWidget(bitmapScroll, 1);

    sbBitmap = new StatusPanels({100, 100, 170, 50}, this);
    sbBitmap->setObjectName("sbBitmap");
    layout->addWidget(sbBitmap);

    BitmapMenuFile = new QMenu("File", this);
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
    connect(BitmapMenuFile_Exit, &QAction::triggered, this, &BitmapPage::exitRequested);
}

} // namespace tesselor
