#pragma once

#include <QSpinBox>

namespace tesselor {

// A spin control whose value changes only by its buttons, its arrow keys or the program: no typing.
class SpinControl : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinControl(QWidget* parent = nullptr);

    // The automatic repeat interval of the spin buttons while one is held.
    void setRepeatInterval(int milliseconds);
    int repeatInterval() const;
};

} // namespace tesselor
