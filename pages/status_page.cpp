#include "pages/status_page.h"

#include "ecu/tecu.h"
#include "pages/engine_sketch.h"
#include "pages/live_values.h"
#include "pages/page_visibility.h"
#include "widgets/angular_meter.h"
#include "widgets/scaled_canvas.h"
#include "widgets/static_text_label.h"
#include "widgets/thermo_meter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include <initializer_list>

namespace {

const QColor kGreen{0, 160, 0};
const QColor kRed{220, 0, 0};

// Scale captions stand inside the ticks.
constexpr double kScaleTextRadius = 0.56;
constexpr QSize kScaleTextBox{30, 18};

constexpr QSize kTachoCanvas{270, 290};
constexpr QRect kTachoDial{15, 0, 240, 240};
// The read-outs are no wider than their longest text: each new value repaints the whole label.
constexpr QRect kRpmValue{75, 246, 120, 36};
constexpr QRect kPressureValue{30, 0, 60, 24};
constexpr QRect kInjectionValue{202, 0, 60, 24};

constexpr QSize kDialsCanvas{316, 290};
constexpr QRect kPressureDial{0, 28, 145, 262};
constexpr QRect kInjectionDial{171, 28, 145, 262};
constexpr int kValueRowHeight = 24;
constexpr int kTopRowShare = 331;
constexpr int kBottomRowShare = 228;
constexpr int kTachoColumnShare = 295;
constexpr int kDialsColumnShare = 339;

constexpr int kRpmValuePixels = 24;
constexpr int kDialValuePixels = 16;

// The room the thermometer has at the window's default size, so it keeps its size there.
constexpr QSize kThermoCanvas{80, 188};
constexpr QRect kThermo{0, 9, 80, 170};

void SetFontPixels(QWidget* w, int pixels) {
    QFont f = w->font();
    f.setPixelSize(pixels);
    f.setBold(true);
    w->setFont(f);
}

// The colour the style gives the inside of a group box's frame, read from a small frame drawn aside.
QColor GroupInterior(QGroupBox* group) {
    constexpr QSize kSample{64, 128};
    QStyleOptionFrame frame;
    frame.initFrom(group);
    frame.rect = QRect(QPoint(0, 0), kSample);
    QImage image(kSample, QImage::Format_ARGB32_Premultiplied);
    image.fill(group->palette().color(QPalette::Window));
    QPainter painter(&image);
    group->style()->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &painter, group);
    painter.end();
    return image.pixelColor(kSample.width() / 2, kSample.height() * 3 / 4);
}

// Opaque, in the colour of the frame's inside, so a dial or label repainted on it does not make the
// group box draw its frame again. It fills the group and scales what it holds to the room.
ScaledCanvas* AddCanvas(QGroupBox* group, QSize size) {
    auto* canvas = new ScaledCanvas(size, group);
    QPalette palette = canvas->palette();
    palette.setColor(QPalette::Window, GroupInterior(group));
    canvas->setPalette(palette);
    canvas->setAutoFillBackground(true);
    auto* box = new QVBoxLayout(group);
    box->addWidget(canvas);
    return canvas;
}

} // namespace

StatusPage::StatusPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("tsdurum"), parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(6);
    grid->addWidget(BuildTachometer(), 0, 0);
    grid->addWidget(BuildPressureAndInjection(), 0, 1);
    grid->addWidget(BuildThermometer(), 1, 0);
    grid->addWidget(BuildPicture(), 1, 1);
    // Shares close to the rows' and columns' heights and widths at the window's default size: there
    // each keeps the size its instruments were drawn for, and a larger page grows them all alike.
    grid->setRowStretch(0, kTopRowShare);
    grid->setRowStretch(1, kBottomRowShare);
    grid->setColumnStretch(0, kTachoColumnShare);
    grid->setColumnStretch(1, kDialsColumnShare);
    // The live dials and numbers fill their own background, in the canvas colour they inherit, so
    // the canvas need not be drawn again under them on every tick. None of them overlaps another.
    for (QWidget* live : std::initializer_list<QWidget*>{devir1, press1, enj1, Label70, Label57, Label59})
        live->setAutoFillBackground(true);
}

QGroupBox* StatusPage::AddGroup(const char* name) {
    auto* group = new QGroupBox(this);
    group->setObjectName(QLatin1String(name));
    return group;
}

QLabel* StatusPage::AddFixedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

void StatusPage::PlaceScaleTexts(ScaledCanvas* canvas, AngularMeter* meter, const char* const names[],
                                 const QStringList& texts, double step) {
    // The canvas stands at its design size while it is built, so the dial's points are design points.
    for (qsizetype i = 0; i < texts.size(); ++i) {
        // Under the needle these are repainted whenever it passes; their layout is kept.
        QLabel* label = new StaticTextLabel(texts[i], canvas);
        label->setObjectName(QLatin1String(names[i]));
        label->setAlignment(Qt::AlignCenter);
        const QPointF at = meter->pos() + meter->ScalePoint(meter->Minimum() + i * step, kScaleTextRadius);
        QRect box(QPoint(0, 0), kScaleTextBox);
        box.moveCenter(at.toPoint());
        canvas->Place(label, box);
        label->raise();
    }
}

QWidget* StatusPage::BuildTachometer() {
    GroupBox10 = AddGroup("GroupBox10");
    ScaledCanvas* canvas = AddCanvas(GroupBox10, kTachoCanvas);
    devir1 = new AngularMeter(canvas);
    devir1->setObjectName(QStringLiteral("devir1"));
    canvas->Place(devir1, kTachoDial);
    devir1->SetRange(0, kRpmFull);
    devir1->SetStartAngle(240);
    devir1->SetArcAngle(240);
    devir1->SetTickCount(16);
    devir1->SetLongTickInterval(2);
    devir1->SetScaleLabels(AngularMeter::ScaleLabels::None);
    devir1->SetZones({{0, kRpmFull * 0.75, kGreen}, {kRpmFull * 0.75, kRpmFull, kRed}});
    devir1->SetCaption(QStringLiteral("|| X100"));
    static const char* const names[] = {"Label71", "Label72", "Label73", "Label74", "Label75",
                                        "Label76", "Label77", "Label78", "Label79"};
    QStringList texts;
    for (int hundreds = 0; hundreds <= 80; hundreds += 10)
        texts << QString::number(hundreds);
    PlaceScaleTexts(canvas, devir1, names, texts, 1000);

    Label70 = AddFixedLabel(canvas, "Label70", QString());
    Label70->setAlignment(Qt::AlignCenter);
    SetFontPixels(Label70, kRpmValuePixels);
    canvas->Place(Label70, kRpmValue, kRpmValuePixels);
    return GroupBox10;
}

// Pressure on the left reading up from 0 to 4 bar, injection time on the right reading up from 0 to
// 25 ms, the arcs facing each other, each number above its dial.
QWidget* StatusPage::BuildPressureAndInjection() {
    GroupBox11 = AddGroup("GroupBox11");
    ScaledCanvas* canvas = AddCanvas(GroupBox11, kDialsCanvas);

    press1 = new AngularMeter(canvas);
    press1->setObjectName(QStringLiteral("press1"));
    canvas->Place(press1, kPressureDial);
    press1->SetRange(0, kPressureFull);
    press1->SetStartAngle(0);
    press1->SetArcAngle(180);
    press1->SetTickCount(20);
    press1->SetLongTickInterval(5);
    press1->SetScaleLabels(AngularMeter::ScaleLabels::None);
    press1->SetZones({{0, kPressureFull * 0.1, kRed}, {kPressureFull * 0.1, kPressureFull, kGreen}});
    static const char* const pressureNames[] = {"Label54", "Label55", "Label56", "Label58", "Label51"};
    PlaceScaleTexts(canvas, press1, pressureNames, {"4", "3", "2", "1", "0"}, 1);

    enj1 = new AngularMeter(canvas);
    enj1->setObjectName(QStringLiteral("enj1"));
    canvas->Place(enj1, kInjectionDial);
    enj1->SetRange(0, kInjectionFull);
    enj1->SetStartAngle(180);
    enj1->SetArcAngle(180);
    enj1->SetTickCount(25);
    enj1->SetLongTickInterval(5);
    enj1->SetScaleLabels(AngularMeter::ScaleLabels::None);
    enj1->SetZones({{0, kInjectionFull * 0.98, kGreen}, {kInjectionFull * 0.98, kInjectionFull, kRed}});
    static const char* const injectionNames[] = {"Label66", "Label65", "Label64",
                                                 "Label63", "Label62", "Label67"};
    PlaceScaleTexts(canvas, enj1, injectionNames, {"0", "5", "10", "15", "20", "25"}, 500);

    Label57 = AddFixedLabel(canvas, "Label57", QString());
    Label57->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetFontPixels(Label57, kDialValuePixels);
    canvas->Place(Label57, kPressureValue, kDialValuePixels);
    canvas->Place(AddFixedLabel(canvas, "Label60", QStringLiteral("bar")), {94, 0, 50, kValueRowHeight});
    Label59 = AddFixedLabel(canvas, "Label59", QString());
    Label59->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetFontPixels(Label59, kDialValuePixels);
    canvas->Place(Label59, kInjectionValue, kDialValuePixels);
    canvas->Place(AddFixedLabel(canvas, "Label61", QStringLiteral("mS")), {266, 0, 50, kValueRowHeight});
    return GroupBox11;
}

QWidget* StatusPage::BuildThermometer() {
    GroupBox12 = AddGroup("GroupBox12");
    ScaledCanvas* canvas = AddCanvas(GroupBox12, kThermoCanvas);
    vrThermoMeter1 = new ThermoMeter(canvas);
    vrThermoMeter1->setObjectName(QStringLiteral("vrThermoMeter1"));
    canvas->Place(vrThermoMeter1, kThermo);
    vrThermoMeter1->SetRange(0, 100);
    vrThermoMeter1->SetMajorStep(20);
    vrThermoMeter1->SetMinorStep(4);
    vrThermoMeter1->SetSetPointVisible(true);
    vrThermoMeter1->SetSetPointColor(QColor(0, 0, 255));
    return GroupBox12;
}

QWidget* StatusPage::BuildPicture() {
    GroupBox13 = AddGroup("GroupBox13");
    Image1 = new EngineSketch(GroupBox13);
    Image1->setObjectName(QStringLiteral("Image1"));
    auto* box = new QVBoxLayout(GroupBox13);
    box->addWidget(Image1);
    return GroupBox13;
}

void StatusPage::ShowRpm(int32_t r) {
    if (!PageIsOpen(*this))
        return;
    devir1->SetPosition(r);
    Label70->setText(QString::number(r));
}

void StatusPage::ShowInjectionTime(int cylinder, int32_t t) {
    if (cylinder != 1 || !PageIsOpen(*this))
        return;
    enj1->SetPosition(t);
    Label59->setText(LiveValues::InjectionTimeText(t));
}

// A change of fuel shows cylinder 1's time again, as its arrival would.
void StatusPage::ShowFuelMode(int32_t) {
    if (ctx.ecu)
        ShowInjectionTime(1, ctx.ecu->injectionTime[0]);
}

void StatusPage::ShowReducerTemperature(int32_t v) {
    if (PageIsOpen(*this))
        vrThermoMeter1->SetValue(LiveValues::ReducerCelsius(v));
}

// 0 bar sits at the bottom of the dial, 4 bar at the top.
void StatusPage::ShowGasPressure(int32_t v) {
    if (!PageIsOpen(*this))
        return;
    Label57->setText(LiveValues::GasPressureText(v));
    press1->SetPosition(kPressureFull - LiveValues::GasPressureBar(v));
}

// The switching-to-gas temperature is a setting, not a live value: marked whether or not the page is open.
void StatusPage::ShowSwitchTemperature(int32_t t) {
    vrThermoMeter1->SetSetPoint(t);
}
