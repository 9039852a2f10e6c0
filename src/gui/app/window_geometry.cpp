#include "app/window_geometry.h"

#include <algorithm>

namespace tesselor {

QRect fittedWindow(const std::optional<QRect>& saved, QSize preferred, QSize minimum, const QRect& available,
                   const QMargins& frame) {
    const QSize room = available.marginsRemoved(frame).size();
    const bool savedFits = saved && saved->isValid() && saved->width() <= room.width() &&
                           saved->height() <= room.height() && saved->width() >= minimum.width() &&
                           saved->height() >= minimum.height();
    QRect inside;
    if (savedFits) {
        inside = *saved;
    } else {
        const QSize size = preferred.boundedTo(room).expandedTo(minimum);
        inside = QRect(QPoint(), size);
        inside.moveCenter(available.marginsRemoved(frame).center());
    }
    // The whole frame inside the area where it fits; otherwise its top left corner, with the title bar.
    QRect outer = inside.marginsAdded(frame);
    outer.moveLeft(std::max(available.left(), std::min(outer.left(), available.right() + 1 - outer.width())));
    outer.moveTop(std::max(available.top(), std::min(outer.top(), available.bottom() + 1 - outer.height())));
    return outer.marginsRemoved(frame);
}

} // namespace tesselor
