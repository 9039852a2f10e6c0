#include "editor/status_panels.h"

#include <QLabel>

namespace tesselor {

StatusPanels::StatusPanels(std::initializer_list<int> widths, QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (const int width : widths) {
        auto* label = new QLabel(this);
        label->setFixedWidth(width);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        addWidget(label);
        panels_.push_back(label);
    }
}

void StatusPanels::setPanelText(int panel, const QString& text) {
    panels_.at(static_cast<std::size_t>(panel))->setText(text);
}

QString StatusPanels::panelText(int panel) const {
    return panels_.at(static_cast<std::size_t>(panel))->text();
}

int StatusPanels::panelWidth(int panel) const {
    return panels_.at(static_cast<std::size_t>(panel))->width();
}

} // namespace tesselor
