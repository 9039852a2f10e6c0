#include "editor/spin_control.h"

#include "qtplatform/code_pages.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>

#include <algorithm>

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
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    lineEdit()->installEventFilter(this);
}

namespace {
// The window's keys: the field's own text editing (word moves, its clipboard, its undo) would swallow
// them, so that Ctrl+Left moved the text cursor instead of shifting the character.
bool isWindowKey(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    return (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
           !key->matches(QKeySequence::SelectAll);
}
} // namespace

bool SpinControl::event(QEvent* event) {
    if (isWindowKey(event))
        return false;
    return QSpinBox::event(event);
}

void SpinControl::keyPressEvent(QKeyEvent* event) {
    QSpinBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit entered();
}

bool SpinControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && isWindowKey(event))
        return true;
    return QSpinBox::eventFilter(watched, event);
}

namespace {
bool isNumber(const QString& text) {
    return !text.isEmpty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}
} // namespace

QValidator::State SpinControl::validate(QString& input, int& position) const {
    const QString text = input.trimmed().remove(suffix());
    if (isNumber(text))
        return text.toInt() >= minimum() && text.toInt() <= maximum() ? QValidator::Acceptable
                                                                      : QValidator::Intermediate;
    return QSpinBox::validate(input, position);
}

void SpinControl::fixup(QString& input) const {
    const QString text = input.trimmed().remove(suffix());
    if (isNumber(text))
        input = textFromValue(std::clamp(text.toInt(), minimum(), maximum())) + suffix();
    else
        QSpinBox::fixup(input);
}

CodeSpinControl::CodeSpinControl(QWidget* parent)
    : SpinControl(parent), page_(loadCodePage(kDefaultCodePage)) {}

std::optional<int> CodeSpinControl::typedCode(const QString& text) const {
    const std::vector<int> codes = codesOf(text, page_);
    if (codes.size() != 1 || text[0].isDigit() || codes[0] < 0)
        return std::nullopt;
    return codes[0];
}

QValidator::State CodeSpinControl::validate(QString& input, int& position) const {
    if (typedCode(input))
        return QValidator::Acceptable;
    return SpinControl::validate(input, position);
}

int CodeSpinControl::valueFromText(const QString& text) const {
    if (const auto code = typedCode(text))
        return *code;
    return SpinControl::valueFromText(text);
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
