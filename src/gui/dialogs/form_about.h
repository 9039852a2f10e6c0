#pragma once

#include <QDialog>

class QLabel;

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

    QLabel* ImageLogo;
    QLabel* AboutText;

    static QStringList aboutLines();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
