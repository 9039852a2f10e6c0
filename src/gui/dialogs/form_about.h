#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

    QLabel* ImageLogo;
    QLabel* AboutText;

    static QStringList aboutLines();
    // The emblem of the About box, also the window's icon (the installed SVG icon draws the same).
    static QPixmap emblem();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
