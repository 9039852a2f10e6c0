#pragma once

#include <QStatusBar>
#include <QString>
#include <initializer_list>
#include <vector>

class QLabel;

namespace tesselor {

// A status bar of fixed-width panels whose texts are centred; a width of 0 makes a panel that takes the
// rest of the bar, its text on the left.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    StatusPanels(std::initializer_list<int> widths, QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    void setPanelToolTip(int panel, const QString& text);
    QString panelText(int panel) const;
    int panelWidth(int panel) const;
    int panelCount() const { return static_cast<int>(panels_.size()); }

private:
    std::vector<QLabel*> panels_;
};

} // namespace tesselor
