#include "app/program_settings_panel.h"

#include <QVBoxLayout>

namespace {
constexpr int kGroupWidth = 617;
constexpr int kGroupHeight = 457;
} // namespace

ProgramSettingsPanel::ProgramSettingsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VrBlotter3"));
    auto* layout = new QVBoxLayout(this);
    GroupBox9 = new QGroupBox(this);
    GroupBox9->setObjectName(QStringLiteral("GroupBox9"));
    GroupBox9->setFixedSize(kGroupWidth, kGroupHeight);
    layout->addWidget(GroupBox9, 0, Qt::AlignCenter);
}
