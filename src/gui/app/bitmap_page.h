#pragma once

#include "app/command_support.h"
#include "model/app_state.h"

#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QScrollArea;

namespace tesselor {

class ImageDecoder;
class ImageView;
class SpinControl;
class StatusPanels;

// The Bitmap page (tsBitmap): the imported picture, its status bar and its File menu.
class BitmapPage : public QWidget {
    Q_OBJECT
public:
    BitmapPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent = nullptr);

    // Imports a .bmp file as Import Bitmap Image does after its dialog.
    void importBitmapFile(const std::string& path);

    SpinControl* seBitmapZoom; // 1x to 16x, nearest neighbour
    QScrollArea* bitmapScroll;
    QFrame* pBitmap;
    ImageView* imgBitmap;
    StatusPanels* sbBitmap;

    QMenu* BitmapMenuFile;
    QAction* BitmapMenuFile_ImportBitmap;
    QAction* BitmapMenuFile_N1;
    QAction* BitmapMenuFile_ForFT800;
    QAction* BitmapMenuFile_CreateFileC;
    QAction* BitmapMenuFile_CreateFileResdata;
    QAction* BitmapMenuFile_N2;
    QAction* BitmapMenuFile_Exit;

signals:
    void captionChanged();
    void exitRequested();

public slots:
    void BitmapMenuFile_ImportBitmapClick();
    void BitmapMenuFile_ForFT800Click();
    void BitmapMenuFile_CreateFileCClick();
    void BitmapMenuFile_CreateFileResdataClick();

private:
    void showImage();
    void zoomAround(int steps, QPoint position);

    AppState& state_;
    CommandSupport& commands_;
    ImageDecoder& decoder_;
};

} // namespace tesselor
