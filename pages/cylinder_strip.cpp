#include "pages/cylinder_strip.h"

#include "ecu/tecu.h"

#include <QVBoxLayout>

namespace {
constexpr int kButtonWidth = 177;
constexpr int kButtonHeight = 33;
} // namespace

CylinderStrip::CylinderStrip(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("VrBlotter1"), parent) {
    setFixedWidth(kWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 8, 12, 8);
    TntButton1 = AddButton(QStringLiteral("TntButton1"));
    column->addWidget(TntButton1, 0, Qt::AlignHCenter);
    column->addStretch(1);
    Button2 = AddButton(QStringLiteral("Button2"));
    Button3 = AddButton(QStringLiteral("Button3"));
    Button17 = AddButton(QStringLiteral("Button17"));
    TntButton2 = AddButton(QStringLiteral("TntButton2"));
    TntButton3 = AddButton(QStringLiteral("TntButton3"));
    for (QPushButton* b : {Button2, Button3, Button17, TntButton2, TntButton3})
        column->addWidget(b, 0, Qt::AlignHCenter);

    connect(TntButton1, &QPushButton::clicked, this, &CylinderStrip::TntButton1Click);
    connect(Button2, &QPushButton::clicked, this, &CylinderStrip::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &CylinderStrip::Button3Click);
}

QPushButton* CylinderStrip::AddButton(const QString& name) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The buttons change nothing on screen: the display follows the ECU's next report.
void CylinderStrip::TntButton1Click() {
    if (ctx.ecu)
        ctx.ecu->SetFuel(!ctx.ecu->gasMode);
}

void CylinderStrip::Button2Click() {
    if (ctx.ecu)
        ctx.ecu->SaveToEcu();
}

void CylinderStrip::Button3Click() {
    if (ctx.ecu)
        ctx.ecu->LoadFromEcu();
}
