#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <string>

namespace testsupport {

// Sends a mouse event with exactly these buttons and keys held, as the platform would.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF local(position);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent event(type, local, global, button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

std::string writeFile(const QString& path, const std::string& bytes);
std::string readFile(const std::string& path);

} // namespace testsupport
