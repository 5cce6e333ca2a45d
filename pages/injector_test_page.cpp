#include "pages/injector_test_page.h"

#include "pages/fuel_look.h"
#include "pages/live_values.h"
#include "pages/page_visibility.h"
#include "widgets/bar_gauge.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kColumnPitch = 144;
constexpr QSize kGaugeSize{33, 140};
constexpr double kGaugeFull = 2000; // 20 ms
constexpr QSize kButtonSize{100, 33};
constexpr int kTimePixels = 16;
constexpr int kNumberPixels = 19;
const QString kNoCylinder = QStringLiteral("-");

QFont BoldPixels(QFont f, int pixels) {
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

// Numbers under the gauges: "1" ... "4" are StaticText1..4, "5" ... "8" StaticText9..12.
QString NumberName(int cylinder) {
    const int index = cylinder <= kMasterCylinders ? cylinder : cylinder + 4;
    return QStringLiteral("StaticText") + QString::number(index);
}

} // namespace

InjectorTestPage::InjectorTestPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts4"), parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    GroupBox4 = BuildFrame("GroupBox4", 1);
    GroupBox5 = BuildFrame("GroupBox5", kMasterCylinders + 1);
    column->addWidget(GroupBox4, 0, Qt::AlignHCenter);
    column->addWidget(GroupBox5, 0, Qt::AlignHCenter);
    column->addStretch(1);
}

QGroupBox* InjectorTestPage::BuildFrame(const char* name, int firstCylinder) {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QLatin1String(name));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(4, 2, 4, 4);
    row->setSpacing(0);
    for (int n = firstCylinder; n < firstCylinder + kMasterCylinders; ++n)
        row->addWidget(BuildColumn(frame, n));
    return frame;
}

QWidget* InjectorTestPage::BuildColumn(QWidget* parent, int n) {
    auto* cell = new QWidget(parent);
    cell->setFixedWidth(kColumnPitch);
    auto* stack = new QVBoxLayout(cell);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(2);
    const QString prefix = QStringLiteral("b") + QString::number(n);
    const FuelLook petrol = FuelLook::For(true);

    auto* gauge = new BarGauge(cell);
    gauge->setObjectName(prefix + QLatin1Char('a'));
    gauge->setFixedSize(kGaugeSize);
    gauge->SetOrientation(Qt::Vertical);
    gauge->SetRange(0, kGaugeFull);
    gauge->SetEmptyColor(Qt::black);
    gauge->SetFilledColor(petrol.gauge);

    auto* time = new QLabel(cell);
    time->setObjectName(prefix + QLatin1Char('d'));
    time->setFont(BoldPixels(time->font(), kTimePixels));
    time->setAlignment(Qt::AlignCenter);
    SetTextColour(time, petrol.text);

    auto* number = new QLabel(QString::number(n), cell);
    number->setObjectName(NumberName(n));
    number->setFont(BoldPixels(number->font(), kNumberPixels));
    number->setAlignment(Qt::AlignCenter);
    SetTextColour(number, Qt::black);

    auto* button = new QPushButton(kNoCylinder, cell);
    button->setObjectName(prefix);
    button->setFixedSize(kButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, n] { bClick(n); });

    stack->addWidget(gauge, 0, Qt::AlignHCenter);
    stack->addWidget(time);
    stack->addWidget(number);
    stack->addWidget(button, 0, Qt::AlignHCenter);
    gauges[n - 1] = gauge;
    times[n - 1] = time;
    numbers[n - 1] = number;
    buttons[n - 1] = button;
    return cell;
}

void InjectorTestPage::ShowInjectionTime(int cylinder, int32_t t) {
    if (cylinder < 1 || cylinder > kCylinders || !PageIsOpen(*this))
        return;
    gauges[cylinder - 1]->SetPosition(t);
    times[cylinder - 1]->setText(LiveValues::InjectionTimeWithUnit(t));
}

// A change of fuel shows cylinder 1's time again, as its arrival would.
void InjectorTestPage::ShowFuelMode(int32_t) {
    if (ctx.ecu)
        ShowInjectionTime(1, ctx.ecu->injectionTime[0]);
}

void InjectorTestPage::ShowFuel(int cylinder, int32_t mask) {
    const FuelLook look = FuelLook::For(CylinderOnPetrol(mask, cylinder));
    buttons[cylinder - 1]->setText(ctx.LangText(look.wordIndex));
    SetTextColour(times[cylinder - 1], look.text);
    gauges[cylinder - 1]->SetFilledColor(look.gauge);
}

// Runs whether or not the page is open. Without a slave ECU its cylinders keep their colours and
// their buttons take no clicks.
void InjectorTestPage::ShowInjectorTest(int32_t mask) {
    for (int n = 1; n <= kMasterCylinders; ++n)
        ShowFuel(n, mask);
    const bool slave = ctx.ecu && ctx.ecu->slaveEcu;
    GroupBox5->setEnabled(slave);
    for (int n = kMasterCylinders + 1; n <= kCylinders; ++n) {
        if (slave)
            ShowFuel(n, mask);
        else
            buttons[n - 1]->setText(kNoCylinder);
    }
}

// The click changes nothing on screen: the page follows the ECU's next report of the mask.
void InjectorTestPage::bClick(int cylinder) {
    if (!ctx.ecu || cylinder < 1 || cylinder > kCylinders)
        return;
    const int bit = 1 << (cylinder - 1);
    ctx.ecu->TestInjector(bit, (ctx.ecu->injectorTestMask & bit) ? 1 : 0);
}
