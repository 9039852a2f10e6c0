#include "editor/spin_control.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace tesselor {

namespace {
class RepeatIntervalStyle : public QProxyStyle {
public:
    explicit RepeatIntervalStyle(int interval) : interval_(interval) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_SpinBox_ClickAutoRepeatRate || hint == SH_SpinBox_KeyPressAutoRepeatRate)
            return interval_;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int interval_;
};
} // namespace

SpinControl::SpinControl(QWidget* parent) : QSpinBox(parent) {
    lineEdit()->setReadOnly(true);
    setKeyboardTracking(false);
}

void SpinControl::setRepeatInterval(int milliseconds) {
    auto* style = new RepeatIntervalStyle(milliseconds);
    style->setParent(this);
    setStyle(style);
}

int SpinControl::repeatInterval() const {
    return style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this);
}

} // namespace tesselor
