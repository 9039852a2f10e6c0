#include "dialogs/form_view_char.h"

#include "qtplatform/qt_pixels.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

TFormViewChar::TFormViewChar(QWidget* focusOwner, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::FramelessWindowHint),
      focusOwner_(focusOwner) {
    setObjectName("FormViewChar");
    setAttribute(Qt::WA_ShowWithoutActivating);
    ImageChar = new QLabel(this);
    ImageChar->setObjectName("ImageChar");
    ImageChar->move(0, 0);
}

void TFormViewChar::showCharacter(const tesselor::PixelImage& character, int width, int height) {
    image_ = tesselor::PixelImage(width, height);
    image_.copyRect(character, 0, 0, width, height, 0, 0);
    ImageChar->setPixmap(QPixmap::fromImage(tesselor::toQImage(image_)));
    ImageChar->resize(width, height);
    resize(std::max(width, 1), std::max(height, 1));
}

void TFormViewChar::showBeside(QWidget* window) {
    QPoint at = window->frameGeometry().topRight() + QPoint(8, 0);
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.x() + width() > area.right())
            at.setX(std::max(area.left(), window->frameGeometry().left() - width() - 8));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
    show();
}

bool TFormViewChar::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && focusOwner_ != nullptr) {
        focusOwner_->activateWindow();
        focusOwner_->raise();
    }
    return QWidget::event(event);
}
