#pragma once

#include "model/code_page.h"

#include <QSpinBox>

#include <optional>

namespace tesselor {

// A spin control that also takes a typed number: Enter (or leaving the field) applies it, clamped to the
// limits; nothing changes before that. Keys with Ctrl or Alt, but select-all, are left to the window's
// commands (undo, the transforms, the clipboard), so they act wherever the focus is.
class SpinControl : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinControl(QWidget* parent = nullptr);

    // The automatic repeat interval of the spin buttons while one is held.
    void setRepeatInterval(int milliseconds);
    int repeatInterval() const;

signals:
    // Enter or Return was pressed: the typed value was applied.
    void entered();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A number beyond the limits may be typed; Enter brings it to the nearest limit.
    QValidator::State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override;
};

// The character code control: a typed character stands for its code in the code page ("A" gives 65).
class CodeSpinControl : public SpinControl {
    Q_OBJECT
public:
    explicit CodeSpinControl(QWidget* parent = nullptr);
    // The code page a typed character is looked up in: the font's.
    void setCodePage(const CodePage& page) { page_ = page; }

protected:
    QValidator::State validate(QString& input, int& position) const override;
    int valueFromText(const QString& text) const override;

private:
    // The code of a typed character, or nothing for a number or a character the code page lacks.
    std::optional<int> typedCode(const QString& text) const;

    CodePage page_;
};

} // namespace tesselor
