#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

namespace tesselor {

// Where the main window opens on a screen whose free area (without panels) is `available`; `frame` is
// what the window manager adds around the window. A saved geometry that fits the area keeps its size and
// is moved inside it; one larger than the area is dropped (a hand-edited settings file once asked for
// 40000 x 40000). Without one the window takes `preferred`, shrunk to the area but not below `minimum`,
// centred. The title bar always lands on the screen. The result is the geometry of the window's inside.
QRect fittedWindow(const std::optional<QRect>& saved, QSize preferred, QSize minimum, const QRect& available,
                   const QMargins& frame);

} // namespace tesselor
