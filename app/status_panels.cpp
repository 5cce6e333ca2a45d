#include "app/status_panels.h"

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("sb"));
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanels; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        label->setFixedWidth(kWidths[i]);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        addWidget(label);
        panels[i] = label;
    }
}

void StatusPanels::SetPanelText(int panel, const QString& text) {
    panels.at(panel)->setText(text);
}

QString StatusPanels::PanelText(int panel) const {
    return panels.at(panel)->text();
}
