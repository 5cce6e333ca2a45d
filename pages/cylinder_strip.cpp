#include "pages/cylinder_strip.h"

#include "ecu/tecu.h"
#include "pages/fuel_look.h"
#include "pages/live_values.h"
#include "widgets/bar_gauge.h"
#include "widgets/status_light.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kButtonWidth = 177;
constexpr int kButtonHeight = 33;
constexpr int kValuePixels = 16;
constexpr int kValueWidth = 85; // half the strip inside its margins; the captions take the other half
constexpr int kLightSize = 13;
constexpr QSize kBarSize{120, 16};
constexpr double kBarFull = 2000; // 20 ms
constexpr QSize kLambdaSize{161, 17};
const QColor kBarFilled{0, 0, 128};

QString Numbered(const char* prefix, int n) {
    return QLatin1String(prefix) + QString::number(n);
}
} // namespace

CylinderStrip::CylinderStrip(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("VrBlotter1"), parent) {
    setFixedWidth(kWidth);
    // Opaque: the values change on every tick, and the window behind need not be drawn each time.
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 8, 12, 8);
    column->setSpacing(3);
    TntButton1 = AddButton(QStringLiteral("TntButton1"));
    column->addWidget(TntButton1, 0, Qt::AlignHCenter);
    column->addSpacing(6);
    BuildValues(column);
    column->addSpacing(8);
    BuildCylinderRows(column);
    column->addSpacing(8);
    BuildLambda(column);
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

QLabel* CylinderStrip::AddLabel(const QString& name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    return label;
}

QLabel* CylinderStrip::AddValueRow(QGridLayout* grid, QLabel* caption, const QString& valueName) {
    const int row = grid->rowCount();
    QLabel* value = AddLabel(valueName);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

void CylinderStrip::BuildValues(QVBoxLayout* column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    Label9 = AddLabel(QStringLiteral("Label9"));
    Label10 = AddLabel(QStringLiteral("Label10"));
    Label11 = AddLabel(QStringLiteral("Label11"));
    Label19 = AddLabel(QStringLiteral("Label19"));
    Label22 = AddLabel(QStringLiteral("Label22"));
    Label12 = AddValueRow(grid, Label9, QStringLiteral("Label12"));
    Label13 = AddValueRow(grid, Label10, QStringLiteral("Label13"));
    Label14 = AddValueRow(grid, Label11, QStringLiteral("Label14"));
    Label20 = AddValueRow(grid, Label19, QStringLiteral("Label20"));
    Label23 = AddValueRow(grid, Label22, QStringLiteral("Label23"));
    for (QLabel* time : {Label12, Label13}) {
        QFont big = time->font();
        big.setPixelSize(kValuePixels);
        big.setBold(true);
        time->setFont(big);
    }
    // Fixed sizes: a label whose size may change asks its layout to run again at every new text,
    // which for these values is every tick. Opaque, so the strip is not drawn again under them.
    for (QLabel* value : {Label12, Label13, Label14, Label20, Label23}) {
        value->setFixedSize(kValueWidth, value->fontMetrics().height());
        value->setAutoFillBackground(true);
    }
    column->addLayout(grid);
}

void CylinderStrip::BuildCylinderRows(QVBoxLayout* column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(3, 1);
    for (int n = 1; n <= kCylinders; ++n) {
        QLabel* number = AddLabel(Numbered("Label", n));
        number->setText(QString::number(n));
        auto* light = new StatusLight(this);
        light->setObjectName(Numbered("c", n));
        light->setFixedSize(kLightSize, kLightSize);
        light->SetLitColor(FuelLook::For(true).light);
        auto* bar = new BarGauge(this);
        bar->setObjectName(Numbered("ProgressBar", n));
        bar->setFixedSize(kBarSize);
        bar->SetRange(0, kBarFull);
        bar->SetFilledColor(kBarFilled);
        grid->addWidget(number, n - 1, 0);
        grid->addWidget(light, n - 1, 1);
        grid->addWidget(bar, n - 1, 2);
        cylinderNumbers[n - 1] = number;
        lights[n - 1] = light;
        bars[n - 1] = bar;
    }
    column->addLayout(grid);
}

void CylinderStrip::BuildLambda(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    Label24 = AddLabel(QStringLiteral("Label24"));
    Label25 = AddLabel(QStringLiteral("Label25"));
    // At the light's right end in every language: a label turns its alignment round for Arabic text.
    Label25->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    row->addWidget(Label24);
    row->addWidget(Label25, 1);
    column->addLayout(row);
    Lambda = new StatusLight(this);
    Lambda->setObjectName(QStringLiteral("Lambda"));
    Lambda->setFixedSize(kLambdaSize);
    Lambda->SetLitColor(QColor(0, 255, 0));
    Lambda->SetNotLitColor(QColor(255, 0, 0));
    column->addWidget(Lambda, 0, Qt::AlignHCenter);
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

void CylinderStrip::ShowInjectionTime(int cylinder, int32_t t) {
    if (cylinder < 1 || cylinder > kCylinders)
        return;
    bars[cylinder - 1]->SetPosition(t);
    // During a calibration its own display owns the two time labels.
    if (cylinder != 1 || !ctx.ecu || ctx.ecu->calibrationActive)
        return;
    // The label of the other fuel keeps its last time.
    (ctx.ecu->gasMode ? Label13 : Label12)->setText(LiveValues::InjectionTimeWithUnit(t));
}

void CylinderStrip::ShowRpm(int32_t r) {
    Label14->setText(QString::number(r));
}

void CylinderStrip::ShowFuelMode(int32_t gas) {
    TntButton1->setText(QStringLiteral("F2 ") + ctx.LangText(gas ? 11 : 12));
    if (ctx.ecu)
        ShowInjectionTime(1, ctx.ecu->injectionTime[0]);
}

void CylinderStrip::ShowReducerTemperature(int32_t v) {
    Label20->setText(QString::number(LiveValues::ReducerCelsius(v)) + QStringLiteral(" °C"));
}

void CylinderStrip::ShowGasPressure(int32_t v) {
    Label23->setText(LiveValues::GasPressureText(v) + QStringLiteral(" bar"));
}

void CylinderStrip::ShowCylinderStatus(int32_t mask) {
    for (int n = 1; n <= kCylinders; ++n)
        lights[n - 1]->SetLit(((mask >> (n - 1)) & 1) != 0);
}

// The light is the memory of the word: the word changes only when a reading crosses the threshold.
void CylinderStrip::ShowLambda(int32_t v) {
    const bool lean = static_cast<uint32_t>(v) <= kLeanLimit;
    if (lean == Lambda->Lit())
        return;
    Lambda->SetLit(lean);
    ShowLambdaWord();
}

void CylinderStrip::ShowLambdaWord() {
    Label25->setText(ctx.LangText(Lambda->Lit() ? 14 : 13));
}

// Without a slave ECU the lights of cylinders 5 to 8 keep their colours.
void CylinderStrip::ShowInjectorTest(int32_t mask) {
    const bool slave = ctx.ecu && ctx.ecu->slaveEcu;
    const int last = slave ? kCylinders : kMasterCylinders;
    for (int n = 1; n <= last; ++n)
        lights[n - 1]->SetLitColor(FuelLook::For(CylinderOnPetrol(mask, n)).light);
}
