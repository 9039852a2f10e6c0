#include "app/bitmap_page.h"

#include "app/recent_files.h"
#include "bitmap/bitmap_payload.h"
#include "bitmap/payload_decoder.h"
#include "editor/image_view.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "editor/work_progress.h"
#include "fontexport/resource_item.h"
#include "platform/image_decoder.h"
#include "platform/paths.h"
#include "qtplatform/bitmap_export.h"
#include "qtplatform/deflate.h"
#include "qtplatform/file_io.h"
#include "qtplatform/qt_pixels.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tesselor {

// An image decoded on the worker, not yet the page's.
struct ImportedImage {
    PixelImage image;
    std::vector<std::uint8_t> alpha;
    std::string formatText;
    std::optional<std::uint8_t> bits;
};

// What the worker made of the image for the encoded view.
struct EncodedPicture {
    std::optional<std::string> refusal; // the chip's
    std::size_t payloadSize = 0;        // none: too many colours for the depth
    std::shared_ptr<const Bytes> plain; // the payload read back, inflated when it was deflated
    bool dropsTransparency = false;
};

namespace {

// The source view draws the model's own pixels: the image is held once.
class ModelPicture : public Picture {
public:
    explicit ModelPicture(const AppState& state) : state_(state) {}
    QSize size() const override { return {state_.BitmapImage.width(), state_.BitmapImage.height()}; }
    bool hasAlpha() const override { return !state_.BitmapAlpha.empty(); }
    void readRow(int x, int y, int count, QRgb* into) const override {
        const std::size_t at = std::size_t(y) * std::size_t(state_.BitmapImage.width()) + std::size_t(x);
        const Colour* pixels = state_.BitmapImage.pixels().data() + at;
        const std::uint8_t* alpha = hasAlpha() ? state_.BitmapAlpha.data() + at : nullptr;
        for (int i = 0; i < count; ++i)
            into[i] = (toQRgb(pixels[i]) & RGB_MASK) | QRgb(alpha ? alpha[i] : 255) << 24;
    }

private:
    const AppState& state_;
};

// The encoded view draws from the payload's bytes, a row at a time, as it shows.
class PayloadPicture : public Picture {
public:
    PayloadPicture(std::shared_ptr<const Bytes> bytes, const PayloadPixels& pixels)
        : bytes_(std::move(bytes)), pixels_(pixels) {}
    QSize size() const override { return {pixels_.width(), pixels_.height()}; }
    bool hasAlpha() const override { return true; }
    void readRow(int x, int y, int count, QRgb* into) const override {
        row_.resize(std::size_t(count));
        pixels_.read(x, y, count, row_.data());
        for (const Rgba& pixel : row_)
            *into++ = qRgba(pixel.r, pixel.g, pixel.b, pixel.a);
    }

private:
    std::shared_ptr<const Bytes> bytes_; // what pixels_ reads
    PayloadPixels pixels_;
    mutable std::vector<Rgba> row_;
};

BitmapEncoding encodingOf(const AppState& state) {
    return bitmapEncoding(state.BitmapLayoutListed ? std::optional<std::uint8_t>(state.BitmapBits)
                                                   : std::nullopt,
                          state.ForFT800, state.BitmapFtFormat);
}

BitmapOptions optionsOf(const AppState& state) {
    BitmapOptions options;
    options.dither = state.BitmapDither;
    options.luminance = state.BitmapLuminance;
    options.background = state.BitmapBackground;
    options.swapBytes = state.BitmapSwapBytes && !state.ForFT800;
    options.deflate = state.BitmapDeflate;
    options.chip = state.ForFT800 ? state.BitmapChip : std::nullopt;
    return options;
}

QIcon swatch(Colour colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)));
    return QIcon(pixmap);
}

// A view of an image in a scroll area on the page's grey, under its caption.
QScrollArea* addView(QBoxLayout* row, const QString& caption, const QString& name, QFrame*& panel,
                     ImageView*& view, QWidget* parent) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(new QLabel(caption, parent));
    auto* scroll = new QScrollArea(parent);
    scroll->setObjectName(name + "Scroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    panel = new QFrame;
    panel->setObjectName("p" + name);
    panel->setAutoFillBackground(true);
    QPalette grey = panel->palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    panel->setPalette(grey);
    view = new ImageView(panel);
    view->setObjectName("img" + name);
    view->move(0, 0);
    view->resize(0, 0);
    scroll->setWidget(panel);
    column->addWidget(scroll, 1);
    row->addLayout(column, 1);
    return scroll;
}

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
    controls->addSpacing(16);
    cbForFT800 = new QCheckBox("FT8xx", this);
    cbForFT800->setObjectName("cbForFT800");
    cbForFT800->setToolTip("For the FT8xx graphics controllers, in the format beside");
    controls->addWidget(cbForFT800);
    cbFtFormat = new QComboBox(this);
    cbFtFormat->setObjectName("cbFtFormat");
    for (const BitmapEncoding& format : ft8xxFormats())
        cbFtFormat->addItem(QString::fromLatin1(format.name));
    cbFtFormat->setCurrentText(QString::fromStdString(state_.BitmapFtFormat));
    controls->addWidget(cbFtFormat);
    controls->addSpacing(16);
    cbDither = new QCheckBox("Dither", this);
    cbDither->setObjectName("cbDither");
    cbDither->setToolTip("Floyd-Steinberg error diffusion for the formats that reduce colours");
    controls->addWidget(cbDither);
    cbDeflate = new QCheckBox("Deflate", this);
    cbDeflate->setObjectName("cbDeflate");
    cbDeflate->setToolTip("The payload after its header as one zlib stream, for the controller's inflate");
    controls->addWidget(cbDeflate);
    controls->addStretch(1);
    // The status bar's panels leave no room for it.
    wpBitmap = new WorkProgress(this);
    controls->addWidget(wpBitmap);
    layout->addLayout(controls);

    // How the device shows it: the second row.
    auto* device = new QHBoxLayout;
    device->setContentsMargins(8, 0, 8, 4);
    lblLuminance = new QLabel("Luminance from", this);
    device->addWidget(lblLuminance);
    cbLuminance = new QComboBox(this);
    cbLuminance->setObjectName("cbLuminance");
    cbLuminance->addItems({"Auto", "Alpha", "Grey"});
    cbLuminance->setToolTip("What L1, L2, L4 and L8 take: the alpha, the grey, or (Auto) the alpha only when "
                            "a pixel is translucent");
    lblLuminance->setBuddy(cbLuminance);
    device->addWidget(cbLuminance);
    device->addSpacing(16);
    lblChip = new QLabel("Chip", this);
    device->addWidget(lblChip);
    cbChip = new QComboBox(this);
    cbChip->setObjectName("cbChip");
    cbChip->addItem("Any");
    for (const ChipLimits& limits : chipLimits())
        cbChip->addItem(QString::fromLatin1(limits.name));
    cbChip->setToolTip("Refuse a format or size this controller cannot draw");
    lblChip->setBuddy(cbChip);
    device->addWidget(cbChip);
    device->addSpacing(16);
    cbBackground = new QCheckBox("Background", this);
    cbBackground->setObjectName("cbBackground");
    cbBackground->setToolTip("Composite the image onto this colour first: transparent pixels show it");
    device->addWidget(cbBackground);
    btnBackground = new QToolButton(this);
    btnBackground->setObjectName("btnBackground");
    btnBackground->setToolTip("Choose the background colour");
    btnBackground->setIcon(swatch(backgroundColour_));
    device->addWidget(btnBackground);
    device->addSpacing(16);
    cbSwapBytes = new QCheckBox("High byte first", this);
    cbSwapBytes->setObjectName("cbSwapBytes");
    cbSwapBytes->setToolTip("16-bit pixels and RGB565 table entries high byte first, as many SPI displays "
                            "take them (native formats)");
    device->addWidget(cbSwapBytes);
    device->addStretch(1);
    layout->addLayout(device);

    auto* views = new QHBoxLayout;
    views->setContentsMargins(4, 0, 4, 4);
    bitmapScroll = addView(views, "Source", "Bitmap", pBitmap, imgBitmap, this);
    bitmapScroll->setObjectName("bitmapScroll");
    encodedScroll =
        addView(views, "Encoded, read back from the payload", "Encoded", pEncoded, imgEncoded, this);
    encodedScroll->setObjectName("encodedScroll");
    // Where the encoded picture would be, why there is none: the reason is too long for the status bar.
    lblEncodedProblem = new QLabel(pEncoded);
    lblEncodedProblem->setObjectName("lblEncodedProblem");
    lblEncodedProblem->setWordWrap(true);
    lblEncodedProblem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblEncodedProblem->hide();
    auto* problemLayout = new QVBoxLayout(pEncoded);
    problemLayout->addWidget(lblEncodedProblem);
    problemLayout->addStretch(1);
    layout->addLayout(views, 1);

    // The payload's panel holds the largest payload's size (4096 x 4096 at 16 bits) in the locale's digits.
    const int payloadWidth = std::max(
        150, fontMetrics().horizontalAdvance("Payload " + QLocale().toString(33554438ULL) + " bytes") + 16);
    sbBitmap = new StatusPanels({90, 90, 170, payloadWidth, 130, 0}, this);
    sbBitmap->setObjectName("sbBitmap");
    sbBitmap->setPanelToolTip(4, "The payload against 4 bytes a pixel");
    layout->addWidget(sbBitmap);

    connect(seBitmapZoom, &QSpinBox::valueChanged, this, [this](int zoom) {
        for (ImageView* view : {imgBitmap, imgEncoded})
            view->setZoom(zoom);
        pBitmap->setMinimumSize(imgBitmap->size());
        pEncoded->setMinimumSize(imgEncoded->size());
    });
    connect(imgBitmap, &ImageView::zoomRequested, this,
            [this](int steps, QPoint at) { zoomAround(imgBitmap, bitmapScroll, steps, at); });
    connect(imgEncoded, &ImageView::zoomRequested, this,
            [this](int steps, QPoint at) { zoomAround(imgEncoded, encodedScroll, steps, at); });
    // The two views show the same part of the image.
    for (auto [from, to] : {std::pair{bitmapScroll, encodedScroll}, std::pair{encodedScroll, bitmapScroll}}) {
        connect(from->horizontalScrollBar(), &QScrollBar::valueChanged, to->horizontalScrollBar(),
                &QScrollBar::setValue);
        connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
                &QScrollBar::setValue);
    }

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
    BitmapMenuFile_Recent = new RecentFiles(BitmapMenuFile, BitmapMenuFile_Exit, "BitmapMenuFile_Recent");
    connect(BitmapMenuFile_Recent, &RecentFiles::chosen, this, [this](const std::string& path) {
        if (commands_.recentFileFound(*BitmapMenuFile_Recent, path))
            importBitmapFile(path);
    });

    enableOptions(false);
    connect(BitmapMenuFile_ImportBitmap, &QAction::triggered, this,
            &BitmapPage::BitmapMenuFile_ImportBitmapClick);
    connect(BitmapMenuFile_ForFT800, &QAction::triggered, this, &BitmapPage::BitmapMenuFile_ForFT800Click);
    connect(BitmapMenuFile_CreateFileC, &QAction::triggered, this,
            &BitmapPage::BitmapMenuFile_CreateFileCClick);
    connect(BitmapMenuFile_CreateFileResdata, &QAction::triggered, this,
            &BitmapPage::BitmapMenuFile_CreateFileResdataClick);
    connect(BitmapMenuFile_Exit, &QAction::triggered, this, &BitmapPage::exitRequested);
    connect(cbForFT800, &QCheckBox::clicked, this, &BitmapPage::setForFT800);
    connect(cbFtFormat, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        state_.BitmapFtFormat = name.toStdString();
        enableFamilyOptions();
        showEncoded();
    });
    connect(cbDither, &QCheckBox::toggled, this, [this](bool on) {
        state_.BitmapDither = on;
        showEncoded();
    });
    connect(cbDeflate, &QCheckBox::toggled, this, [this](bool on) {
        state_.BitmapDeflate = on;
        showEncoded();
    });
    connect(cbLuminance, &QComboBox::currentIndexChanged, this, [this](int index) {
        state_.BitmapLuminance = static_cast<LuminanceSource>(index);
        showEncoded();
    });
    connect(cbChip, &QComboBox::currentIndexChanged, this, [this](int index) {
        state_.BitmapChip =
            index == 0 ? std::nullopt : std::optional(chipLimits()[std::size_t(index - 1)].chip);
        showEncoded();
    });
    connect(cbBackground, &QCheckBox::toggled, this, [this](bool on) {
        state_.BitmapBackground = on ? std::optional(backgroundColour_) : std::nullopt;
        showEncoded();
    });
    connect(btnBackground, &QToolButton::clicked, this, &BitmapPage::chooseBackground);
    connect(cbSwapBytes, &QCheckBox::toggled, this, [this](bool on) {
        state_.BitmapSwapBytes = on;
        showEncoded();
    });
}

BitmapPage::~BitmapPage() {
    // The worker reads the model, which dies with the window: it stops first, but a file being written is
    // written to its end.
    if (running_ == Command::Writing)
        wpBitmap->finish();
    else
        wpBitmap->cancel();
}

void BitmapPage::chooseBackground() {
    const QColor initial(int(backgroundColour_ & 0xFF), int((backgroundColour_ >> 8) & 0xFF),
                         int((backgroundColour_ >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(initial, this, "Background");
    if (!chosen.isValid())
        return;
    backgroundColour_ = static_cast<Colour>(chosen.red()) | static_cast<Colour>(chosen.green()) << 8 |
                        static_cast<Colour>(chosen.blue()) << 16;
    btnBackground->setIcon(swatch(backgroundColour_));
    // Choosing a colour means using it.
    if (cbBackground->isChecked()) {
        state_.BitmapBackground = backgroundColour_;
        showEncoded();
    } else {
        cbBackground->setChecked(true);
    }
}

void BitmapPage::enableOptions(bool imageLoaded) {
    BitmapMenuFile_ForFT800->setEnabled(imageLoaded);
    enableCreate();
    for (QWidget* control :
         std::initializer_list<QWidget*>{cbForFT800, cbDither, cbDeflate, cbBackground, btnBackground})
        control->setEnabled(imageLoaded);
    enableFamilyOptions();
}

// The options that depend on the family: the FT8xx formats read little-endian and have chips; luminance
// matters for the L formats only.
void BitmapPage::enableFamilyOptions() {
    const bool loaded = cbForFT800->isEnabled();
    const bool ft8xx = loaded && state_.ForFT800;
    cbFtFormat->setEnabled(ft8xx);
    for (QWidget* control : std::initializer_list<QWidget*>{lblChip, cbChip})
        control->setEnabled(ft8xx);
    const bool luminance = ft8xx && encodingOf(state_).packing == Packing::Luminance;
    for (QWidget* control : std::initializer_list<QWidget*>{lblLuminance, cbLuminance})
        control->setEnabled(luminance);
    cbSwapBytes->setEnabled(loaded && !state_.ForFT800);
}

void BitmapPage::showImage() {
    imgBitmap->setPicture(std::make_shared<ModelPicture>(state_));
    // The panel is at least as large as the picture, so the scroll area reaches all of it.
    pBitmap->setMinimumSize(imgBitmap->size());
    // The last image's payload is not this one's.
    clearEncoded(QString());
    showEncoded();
}

template <class Result>
std::function<Result(const Progress&)>
BitmapPage::overModel(std::function<Result(RowSource& rows)> work) const {
    // The model changes only when no work runs (a new image is taken once its reading is done), so the
    // worker may read it.
    return [image = state_.BitmapImage, alpha = &state_.BitmapAlpha, work](const Progress& progress) {
        PixelImageRows model(image, alpha);
        WatchedRows rows(model, progress);
        return work(rows);
    };
}

template <class Result>
void BitmapPage::runCommand(Command command, const QString& caption,
                            std::function<Result(const Progress&)> work, std::function<void(Result)> done) {
    running_ = command;
    enableCreate();
    const auto ended = [this] {
        running_ = Command::None;
        enableCreate();
    };
    wpBitmap->start<Result>(
        caption, std::move(work),
        [this, done, ended](Result result) {
            ended();
            commands_.run([&] { done(std::move(result)); });
            afterCommand();
        },
        [this, ended](const std::string& message) {
            ended();
            commands_.reportError(message);
            afterCommand();
        },
        [this, ended] {
            ended();
            afterCommand();
        });
}

// What waited for the command: an image chosen meanwhile, else the options changed meanwhile.
void BitmapPage::afterCommand() {
    if (running_ != Command::None) // the command went on to its next step
        return;
    if (auto path = std::exchange(pendingImport_, std::nullopt))
        importBitmapFile(*path);
    else if (!encodedShown_ && !wpBitmap->isBusy())
        showEncoded();
}

void BitmapPage::enableCreate() {
    const bool may = !state_.BitmapImage.isEmpty() && running_ == Command::None;
    for (QAction* action : {BitmapMenuFile_CreateFileC, BitmapMenuFile_CreateFileResdata})
        action->setEnabled(may);
}

// The payload as an export writes it, read back from its own bytes: what the device will show.
void BitmapPage::showEncoded() {
    if (state_.BitmapImage.isEmpty())
        return;
    const BitmapEncoding encoding = encodingOf(state_);
    const BitmapOptions options = optionsOf(state_);
    encodedShown_ = false;
    // A command running is not stopped for the view: it encodes once the command ends.
    if (running_ != Command::None)
        return;
    wpBitmap->start<EncodedPicture>(
        "Encoding", overModel<EncodedPicture>([encoding, options](RowSource& rows) {
            EncodedPicture encoded;
            encoded.refusal = exportRefusal(rows, encoding, options);
            if (encoded.refusal)
                return encoded;
            auto payload = exportPayload(rows, encoding, options);
            if (!payload)
                return encoded;
            encoded.payloadSize = payload->size();
            if (options.deflate)
                payload =
                    zlib::inflatePayload(*payload, bitmapPayloadSize(rows.width(), rows.height(), encoding));
            if (payload)
                encoded.plain = std::make_shared<const Bytes>(std::move(*payload));
            encoded.dropsTransparency = dropsTransparency(rows, encoding, options);
            return encoded;
        }),
        [this, encoding, options](EncodedPicture encoded) { showEncodedPicture(encoded, encoding, options); },
        [this](const std::string& message) {
            encodedShown_ = true;
            commands_.reportError(message);
        },
        [this] { encodingCancelled(); });
}

void BitmapPage::showEncodedPicture(const EncodedPicture& encoded, const BitmapEncoding& encoding,
                                    const BitmapOptions& options) {
    encodedShown_ = true;
    const auto pixels =
        encoded.plain ? PayloadPixels::of(*encoded.plain, encoding.ft8xx, options.swapBytes) : std::nullopt;
    imgEncoded->setPicture(pixels ? std::make_shared<PayloadPicture>(encoded.plain, *pixels) : nullptr);
    pEncoded->setMinimumSize(imgEncoded->size());
    QString note, explained;
    if (encoded.payloadSize > 0) {
        const double pixelBytes = double(state_.BitmapImage.width()) * state_.BitmapImage.height() * 4;
        sbBitmap->setPanelText(3,
                               "Payload " + QLocale().toString(qulonglong(encoded.payloadSize)) + " bytes");
        sbBitmap->setPanelText(
            4, "Compression " + QString::number(pixelBytes / double(encoded.payloadSize), 'f', 1) + " : 1");
        if (encoded.dropsTransparency) {
            const QString name = QString::fromStdString(encodingName(encoding));
            note = "Alpha lost in " + name;
            explained = "Translucent pixels show their hidden colour: " + name +
                        " keeps no alpha. Background composites them onto a colour first.";
        }
    } else if (encoded.refusal) {
        // The reason is shown where the encoded picture would be.
        sbBitmap->setPanelText(3, "Refused for the " + cbChip->currentText());
        sbBitmap->setPanelText(4, "");
    } else {
        sbBitmap->setPanelText(3, "Too many colours for " + QString::number(encoding.depth) + " bit");
        sbBitmap->setPanelText(4, "");
    }
    sbBitmap->setPanelText(5, note);
    sbBitmap->setPanelToolTip(5, explained);
    lblEncodedProblem->setText(encoded.refusal ? QString::fromStdString(*encoded.refusal) : QString());
    lblEncodedProblem->setVisible(encoded.refusal.has_value());
}

// Cancel leaves no encoded picture: what showed was for other options or another image.
void BitmapPage::encodingCancelled() {
    encodedShown_ = true;
    clearEncoded("Encoding cancelled: change an option to encode again.");
}

// No encoded picture nor its figures; the reason, if any, where the picture would be.
void BitmapPage::clearEncoded(const QString& reason) {
    imgEncoded->setPicture(nullptr);
    for (int panel : {3, 4, 5})
        sbBitmap->setPanelText(panel, "");
    lblEncodedProblem->setText(reason);
    lblEncodedProblem->setVisible(!reason.isEmpty());
}

// Ctrl and the wheel: the pixel under the pointer stays under it.
void BitmapPage::zoomAround(ImageView* view, QScrollArea* scroll, int steps, QPoint position) {
    const QPointF pixel = QPointF(position) / view->zoom();
    const QPoint inView = view->mapTo(scroll->viewport(), position);
    seBitmapZoom->setValue(seBitmapZoom->value() + steps);
    const QPointF now = pixel * view->zoom();
    scroll->horizontalScrollBar()->setValue(static_cast<int>(now.x()) - inView.x());
    scroll->verticalScrollBar()->setValue(static_cast<int>(now.y()) - inView.y());
}

void BitmapPage::BitmapMenuFile_ImportBitmapClick() {
    QStringList patterns;
    for (const QByteArray& suffix : QImageReader::supportedImageFormats())
        patterns << "*." + QString::fromLatin1(suffix);
    const auto path = commands_.chooseOpenPath("Import File.bmp...", ".bmp",
                                               "Image files (" + patterns.join(' ').toStdString() + ")|" +
                                                   patterns.join(';').toStdString() +
                                                   "|Bitmap File (*.bmp)|*.bmp|All files (*.*)|*.*",
                                               state_.BitmapFilePath);
    if (path)
        importBitmapFile(*path);
}

void BitmapPage::importBitmapFile(const std::string& path) {
    commands_.run([&] {
        if (!commands_.fileFound(path))
            return;
        if (running_ != Command::None) { // read once the command ends
            pendingImport_ = path;
            return;
        }
        // Decoded apart: a file that cannot be decoded, or a read cancelled, leaves the image, names and
        // title as they were.
        runCommand<ImportedImage>(
            Command::Reading, "Reading " + QString::fromStdString(paths::fileName(path)),
            [this, path](const Progress& progress) {
                DecodedImage decoded = decoder_.decode(path, progress);
                ImportedImage imported{{}, {}, decoded.formatText, decoded.bits};
                // A plain .bmp is read from the file a row at a time now; other files were decoded above.
                WatchedRows rows(*decoded.rows, progress);
                readAllRows(rows, imported.image, imported.alpha);
                return imported;
            },
            [this, path](ImportedImage imported) { takeImported(path, imported); });
    });
}

void BitmapPage::takeImported(const std::string& path, ImportedImage& imported) {
    state_.BitmapFilePath = path;
    state_.BitmapPageTitle = titleFor(state_.BitmapFilePath);
    emit captionChanged();
    state_.BitmapBaseName = paths::baseName(state_.BitmapFilePath) + "_bmp";
    state_.BitmapImage = std::move(imported.image);
    state_.BitmapAlpha = std::move(imported.alpha);
    if (imported.bits)
        state_.BitmapBits = *imported.bits;
    state_.BitmapLayoutListed = imported.bits.has_value();
    enableOptions(true);
    sbBitmap->setPanelText(0, "Width " + QString::number(state_.BitmapImage.width()));
    sbBitmap->setPanelText(1, "Height " + QString::number(state_.BitmapImage.height()));
    sbBitmap->setPanelText(2, "Bitmap Format: " + QString::fromStdString(imported.formatText));
    showImage();
    BitmapMenuFile_Recent->add(path);
}

void BitmapPage::setForFT800(bool on) {
    state_.ForFT800 = on;
    BitmapMenuFile_ForFT800->setChecked(on);
    cbForFT800->setChecked(on);
    enableFamilyOptions();
    showEncoded();
}

void BitmapPage::BitmapMenuFile_ForFT800Click() {
    setForFT800(!state_.ForFT800);
}

void BitmapPage::BitmapMenuFile_CreateFileCClick() {
    createOutput(*bitmapOutput("c"), state_.BitmapCFilePath);
}

void BitmapPage::BitmapMenuFile_CreateFileResdataClick() {
    createOutput(*bitmapOutput("resdata"), state_.ResdataFilePath);
}

// The path is remembered for the next dialog as soon as it is chosen; an image with more colours than its
// native depth holds is refused before anything else is asked. The encoding and the writing run on the
// worker, as the view's do.
void BitmapPage::createOutput(const BitmapOutput& row, std::string& remembered) {
    commands_.run([&] {
        const bool c = std::string(row.key) == "c";
        const auto path = commands_.chooseSavePath(row.title, state_.BitmapBaseName,
                                                   "." + std::string(row.key), row.filter, remembered);
        if (!path)
            return;
        BitmapOutputChoices choices{c ? state_.BitmapBaseName : paths::baseName(*path), false, {}};
        if (!c && !commands_.itemNameFits(choices.symbol))
            return;
        remembered = *path;
        const Export job{&row, *path, choices, encodingOf(state_), optionsOf(state_), state_.ForFT800};
        // The chip's refusal is thrown here, and reported as the command's failure.
        runCommand<bool>(Command::Checking, "Encoding", overModel<bool>([job](RowSource& rows) {
                             return exportPayload(rows, job.encoding, job.options).has_value();
                         }),
                         [this, job](bool encodes) {
                             if (encodes)
                                 writeOutput(job);
                             else
                                 commands_.showInformation(kAnomalyMessage);
                         });
    });
}

void BitmapPage::writeOutput(Export job) {
    commands_.run([&] {
        if (std::string(job.row->key) == "c") {
            const auto output = commands_.chooseCArray(job.path, job.choices.symbol);
            if (!output)
                return;
            job.choices = {output->symbol, output->style.bytes, output->headerPath};
        }
        runCommand<std::vector<std::string>>(
            Command::Writing, "Writing " + QString::fromStdString(paths::fileName(job.path)),
            overModel<std::vector<std::string>>([job](RowSource& rows) {
                return CommandSupport::writeFiles(
                    job.row->write(rows, job.encoding, job.options, job.forFT800, job.path, job.choices));
            }),
            [this](const std::vector<std::string>& written) { commands_.showOutputsCreated(written); });
    });
}

} // namespace tesselor
