#include "editor/status_panels.h"

#include <QLabel>

namespace tesselor {

StatusPanels::StatusPanels(std::initializer_list<int> widths, QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (const int width : widths) {
        auto* label = new QLabel(this);
        if (width > 0)
            label->setFixedWidth(width);
        label->setAlignment(width > 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        addWidget(label, width > 0 ? 0 : 1);
        panels_.push_back(label);
    }
}

void StatusPanels::setPanelToolTip(int panel, const QString& text) {
    panels_.at(static_cast<std::size_t>(panel))->setToolTip(text);
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
