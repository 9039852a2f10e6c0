#include "dialogs/form_about.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

// The emblem: a tessellation of square tiles, some inked, like a glyph on the device's grid.
QPixmap TFormAbout::emblem() {
    QPixmap pixmap(96, 96);
    pixmap.fill(QColor(0x20, 0x3A, 0x5C));
    QPainter painter(&pixmap);
    static const char* const kGlyph[] = {
        "........", "..####..", ".##..##.", ".##.....", ".##.....", ".##..##.", "..####..", "........",
    };
    const int tile = 11;
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const bool ink = kGlyph[row][col] == '#';
            painter.fillRect(4 + col * tile, 4 + row * tile, tile - 1, tile - 1,
                             ink ? QColor(0xF2, 0xC1, 0x4E) : QColor(0xC6, 0xFF, 0xC6));
        }
    }
    return pixmap;
}

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("FormAbout");
    setWindowTitle("Tesselor");
    setFixedSize(507, 145);

    ImageLogo = new QLabel(this);
    ImageLogo->setObjectName("ImageLogo");
    ImageLogo->setGeometry(24, 24, 96, 96);
    ImageLogo->setPixmap(emblem());
    ImageLogo->setCursor(Qt::PointingHandCursor);
    ImageLogo->setToolTip("Close...");
    ImageLogo->installEventFilter(this);

    AboutText = new QLabel(aboutLines().join('\n'), this);
    AboutText->setObjectName("AboutText");
    AboutText->setGeometry(148, 20, 329, 103);
    AboutText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    AboutText->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QStringList TFormAbout::aboutLines() {
    return {"Tesselor (v.1.0.0)", "", "Tool to create the resource file (.RES) to be loaded ",
            "on the microSD or to import into the source C code."};
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ImageLogo && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// A click on the emblem, Escape and Enter close the box.
void TFormAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
