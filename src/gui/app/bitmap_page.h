#pragma once

#include "app/command_support.h"
#include "model/app_state.h"
#include "qtplatform/bitmap_export.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;

namespace tesselor {

class ImageDecoder;
class RecentFiles;
class ImageView;
class SpinControl;
class StatusPanels;
class WorkProgress;
struct EncodedPicture;
struct ImportedImage;

// The Bitmap page (tsBitmap): the imported picture beside its encoded result read back from the payload,
// the encoding's options, the status bar and the File menu.
class BitmapPage : public QWidget {
    Q_OBJECT
public:
    BitmapPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent = nullptr);
    ~BitmapPage() override;

    // Imports an image file as Import Bitmap Image does after its dialog: decoded on a worker thread, the
    // image taken once it is whole (the page unchanged when it fails or is cancelled).
    void importBitmapFile(const std::string& path);

    SpinControl* seBitmapZoom; // 1x to 16x, nearest neighbour, both views
    QCheckBox* cbForFT800;     // the menu's FT800 option
    QComboBox* cbFtFormat;     // the FT8xx format with it
    QCheckBox* cbDither;
    QCheckBox* cbDeflate;
    QLabel* lblLuminance;
    QComboBox* cbLuminance; // Auto, Alpha, Grey: where the L formats take their levels
    QLabel* lblChip;
    QComboBox* cbChip;       // Any, then the chips: refuse what the chip cannot draw
    QCheckBox* cbBackground; // composite onto the colour of btnBackground
    QToolButton* btnBackground;
    QCheckBox* cbSwapBytes; // native 16-bit values high byte first
    QScrollArea* bitmapScroll;
    QFrame* pBitmap;
    ImageView* imgBitmap;
    QScrollArea* encodedScroll; // scrolls with the source
    QFrame* pEncoded;
    ImageView* imgEncoded;     // the payload decoded back
    QLabel* lblEncodedProblem; // in its place, why the chip refuses the bitmap
    // Width, height, format, payload size, compression against 32-bit pixels, and a note: a chip's refusal
    // or translucency the format drops.
    StatusPanels* sbBitmap;
    WorkProgress* wpBitmap; // at the end of the options while an image is read, encoded or written

    QMenu* BitmapMenuFile;
    QAction* BitmapMenuFile_ImportBitmap;
    QAction* BitmapMenuFile_N1;
    QAction* BitmapMenuFile_ForFT800;
    QAction* BitmapMenuFile_CreateFileC;
    QAction* BitmapMenuFile_CreateFileResdata;
    QAction* BitmapMenuFile_N2;
    QAction* BitmapMenuFile_Exit;
    RecentFiles* BitmapMenuFile_Recent;

signals:
    void captionChanged();
    void exitRequested();

public slots:
    void BitmapMenuFile_ImportBitmapClick();
    void BitmapMenuFile_ForFT800Click();
    void BitmapMenuFile_CreateFileCClick();
    void BitmapMenuFile_CreateFileResdataClick();

private:
    // An output as chosen, to be encoded and written.
    struct Export {
        const BitmapOutput* row;
        std::string path;
        BitmapOutputChoices choices;
        BitmapEncoding encoding;
        BitmapOptions options;
        bool forFT800;
    };
    // Work over the model's rows, for the worker.
    template <class Result>
    std::function<Result(const Progress&)> overModel(std::function<Result(RowSource& rows)> work) const;
    // A command's work (a reading, an export) on the worker, then done here; a failure is reported. The
    // view never stops it: options changed meanwhile are encoded, and an image chosen meanwhile is read,
    // once it ends. The Create File items wait for it.
    enum class Command { None, Reading, Checking, Writing };
    template <class Result>
    void runCommand(Command command, const QString& caption, std::function<Result(const Progress&)> work,
                    std::function<void(Result)> done);
    void afterCommand();
    void enableCreate();
    void createOutput(const BitmapOutput& row, std::string& remembered);
    void writeOutput(Export job);
    void takeImported(const std::string& path, ImportedImage& imported);
    void showImage();
    // Encodes on a worker thread; the encoded view keeps what it showed until the payload is ready.
    void showEncoded();
    void showEncodedPicture(const EncodedPicture& encoded, const BitmapEncoding& encoding,
                            const BitmapOptions& options);
    void encodingCancelled();
    void clearEncoded(const QString& reason);
    void setForFT800(bool on);
    void enableOptions(bool imageLoaded);
    void enableFamilyOptions();
    void chooseBackground();
    void zoomAround(ImageView* view, QScrollArea* scroll, int steps, QPoint position);

    AppState& state_;
    CommandSupport& commands_;
    ImageDecoder& decoder_;
    Colour backgroundColour_ = 0xFFFFFF; // the swatch's colour, used while Background is checked
    bool encodedShown_ = true;           // the encoded view shows the options as they stand
    Command running_ = Command::None;
    std::optional<std::string> pendingImport_;
};

} // namespace tesselor
