#include "editor/text_preview.h"

#include "document/font_document.h"
#include "fontexport/text_layout.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/qt_pixels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tesselor {

namespace {
constexpr Colour kMissingMark = 0x0000FF; // red
} // namespace

TextPreview::TextPreview(const FontDocument& document, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), document_(document), dialogs_(dialogs) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Sample text", this));
    eSampleText = new QLineEdit("Hello, World!", this);
    eSampleText->setObjectName("eSampleText");
    row->addWidget(eSampleText, 1);
    cbPreviewScale = new QComboBox(this);
    cbPreviewScale->setObjectName("cbPreviewScale");
    cbPreviewScale->addItems({"1x", "2x", "4x"});
    cbPreviewScale->setCurrentIndex(1);
    row->addWidget(cbPreviewScale);
    bInkColour = new QPushButton("Ink...", this);
    bInkColour->setObjectName("bInkColour");
    bPaperColour = new QPushButton("Paper...", this);
    bPaperColour->setObjectName("bPaperColour");
    row->addWidget(bInkColour);
    row->addWidget(bPaperColour);
    layout->addLayout(row);
    auto* controller = new QHBoxLayout;
    cbControllerLayout = new QCheckBox(tr("FT8xx layout"), this);
    cbControllerLayout->setObjectName("cbControllerLayout");
    cbControllerLayout->setToolTip(
        tr("Lay the text out as the FT8xx controller's width table does, and the GFX and LVGL fonts"));
    seSpacing = new QSpinBox(this);
    seSpacing->setObjectName("seSpacing");
    seSpacing->setRange(0, 255);
    seSpacing->setValue(1);
    seSpaceWidth = new QSpinBox(this);
    seSpaceWidth->setObjectName("seSpaceWidth");
    seSpaceWidth->setRange(0, 255);
    controller->addWidget(cbControllerLayout);
    controller->addWidget(new QLabel(tr("Spacing"), this));
    controller->addWidget(seSpacing);
    controller->addWidget(new QLabel(tr("Space width"), this));
    controller->addWidget(seSpaceWidth);
    controller->addStretch(1);
    layout->addLayout(controller);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(false);
    scroll->setBackgroundRole(QPalette::Dark);
    imgTextPreview = new QLabel;
    imgTextPreview->setObjectName("imgTextPreview");
    scroll->setWidget(imgTextPreview);
    layout->addWidget(scroll, 1);

    connect(eSampleText, &QLineEdit::textChanged, this, &TextPreview::refresh);
    connect(cbControllerLayout, &QCheckBox::toggled, this, &TextPreview::refresh);
    for (QSpinBox* value : {seSpacing, seSpaceWidth})
        connect(value, &QSpinBox::valueChanged, this, &TextPreview::refresh);
    // A new font gets the controller's default space: a third of its height.
    connect(&document, &FontDocument::replaced, this, [this] {
        const QSignalBlocker blocker(seSpaceWidth);
        seSpaceWidth->setValue(*controllerAdvances(document_.font()).spaceWidth);
        refresh();
    });
    for (auto change : {&FontDocument::allCharsChanged, &FontDocument::cellChanged, &FontDocument::replaced})
        connect(&document, change, this, &TextPreview::refresh);
    connect(&document, &FontDocument::charChanged, this, &TextPreview::refresh);
    connect(cbPreviewScale, &QComboBox::currentIndexChanged, this, &TextPreview::refresh);
    connect(bInkColour, &QPushButton::clicked, this, [this] { chooseColour(ink_, "Ink Colour"); });
    connect(bPaperColour, &QPushButton::clicked, this, [this] { chooseColour(paper_, "Paper Colour"); });
}

void TextPreview::chooseColour(Colour& colour, const char* title) {
    if (const auto chosen = dialogs_.chooseColour(this, toQColor(colour), title)) {
        colour = static_cast<Colour>(chosen->red()) | static_cast<Colour>(chosen->green()) << 8 |
                 static_cast<Colour>(chosen->blue()) << 16;
        refresh();
    }
}

Advances TextPreview::advances() const {
    if (!controllerLayout())
        return {};
    return controllerAdvances(document_.font(), seSpacing->value(), seSpaceWidth->value());
}

bool TextPreview::controllerLayout() const {
    return cbControllerLayout->isChecked();
}

void TextPreview::showControllerLayout(int spacing, int spaceWidth) {
    const QSignalBlocker blockSpacing(seSpacing);
    const QSignalBlocker blockSpace(seSpaceWidth);
    seSpacing->setValue(spacing);
    seSpaceWidth->setValue(spaceWidth);
    cbControllerLayout->setChecked(true);
    refresh();
}

void TextPreview::refresh() {
    const TextLayout layout = layoutText(
        document_.font(), codesOf(eSampleText->text(), codePageOrDefault(document_.font())), advances());
    rendered_ = renderText(document_.font(), layout,
                           {ink_, paper_, 1 << cbPreviewScale->currentIndex(), kMissingMark});
    imgTextPreview->setPixmap(QPixmap::fromImage(toQImage(rendered_)));
    imgTextPreview->resize(rendered_.width(), rendered_.height());
}

} // namespace tesselor
