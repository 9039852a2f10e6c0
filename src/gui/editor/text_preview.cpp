#include "editor/text_preview.h"

#include "document/font_document.h"
#include "fontexport/text_layout.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/qt_pixels.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
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
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(false);
    scroll->setBackgroundRole(QPalette::Dark);
    imgTextPreview = new QLabel;
    imgTextPreview->setObjectName("imgTextPreview");
    scroll->setWidget(imgTextPreview);
    layout->addWidget(scroll, 1);

    connect(eSampleText, &QLineEdit::textChanged, this, &TextPreview::refresh);
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

void TextPreview::refresh() {
    const TextLayout layout =
        layoutText(document_.font(), codesOf(eSampleText->text(), codePageOrDefault(document_.font())));
    rendered_ = renderText(document_.font(), layout,
                           {ink_, paper_, 1 << cbPreviewScale->currentIndex(), kMissingMark});
    imgTextPreview->setPixmap(QPixmap::fromImage(toQImage(rendered_)));
    imgTextPreview->resize(rendered_.width(), rendered_.height());
}

} // namespace tesselor
