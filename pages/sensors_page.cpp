#include "pages/sensors_page.h"

#include "app/format_number.h"
#include "ecu/tecu.h"
#include "pages/live_values.h"
#include "pages/switch_caption.h"
#include "pages/tank_picture.h"
#include "pages/up_down.h"
#include "widgets/status_light.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kFullScale = 1023;
constexpr int kRpmDividerWord = 87;
constexpr int kTrackTick = 100;
constexpr int kTrackStartMin = 20;
constexpr int kTrackStartMax = 10;
constexpr int kSwitchWidth = 90;
const QSize kUpDownSize(20, 32);
const QSize kLightSize(50, 25);
const QColor kLightLit(0, 255, 0);
const QColor kLightOff(0, 64, 0);

template <class Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString Volts(int32_t counts) {
    return FormatNumber(counts * LiveValues::kVoltsPerCount, 2) + QStringLiteral(" V");
}

// A tank point's track bar: the reading grows downward, level with the marks of the picture.
QSlider* MakeTrackBar(QWidget* parent, const char* name, QSlider::TickPosition ticks, int start) {
    auto* track = Named(new QSlider(Qt::Vertical, parent), name);
    track->setRange(SensorsPage::kTrackMin, SensorsPage::kTrackMax);
    track->setTickInterval(kTrackTick);
    track->setTickPosition(ticks);
    track->setInvertedAppearance(true);
    track->setInvertedControls(true);
    track->setValue(start);
    // Sized so that the thumb's travel spans the readings 10 to 1014 on the picture's rows.
    const int travel = (SensorsPage::kTrackMax - SensorsPage::kTrackMin) * TankPicture::kHeight / kFullScale;
    track->setFixedHeight(travel + track->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, track));
    // A point is a position, not an amount: no filled groove that could pass for a second tank level.
    QPalette plain = track->palette();
    plain.setColor(QPalette::Highlight, plain.color(QPalette::Mid));
    track->setPalette(plain);
    return track;
}

QPushButton* MakeSwitch(QWidget* parent, const char* name) {
    auto* button = Named(new QPushButton(QStringLiteral("-"), parent), name);
    button->setFixedWidth(kSwitchWidth);
    return button;
}

QWidget* Captioned(QLabel* caption, QLabel* value, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    for (QLabel* label : {caption, value}) {
        label->setAlignment(Qt::AlignHCenter);
        column->addWidget(label);
    }
    return box;
}
} // namespace

SensorsPage::SensorsPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts1"), parent) {
    BuildRpmGroup();
    BuildMapGroup();
    BuildTankGroup();

    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox6);
    left->addWidget(GroupBox7);
    left->addStretch(1);
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(12, 12, 12, 12);
    page->setSpacing(12);
    page->addLayout(left);
    page->addWidget(GroupBox8, 0, Qt::AlignTop);
    page->addStretch(1);

    leveltimer = Named(new QTimer(this), "leveltimer");
    leveltimer->setInterval(kLevelBlinkMs);
    connect(leveltimer, &QTimer::timeout, this, &SensorsPage::leveltimerTimer);

    connect(UpDown1, &UpDown::Click, this, &SensorsPage::UpDown1Click);
    connect(Button6, &QPushButton::clicked, this, &SensorsPage::Button6Click);
    connect(Button5, &QPushButton::clicked, this, &SensorsPage::Button5Click);
    connect(TrackBar1, &QSlider::valueChanged, this, &SensorsPage::TrackBar1Change);
    connect(TrackBar2, &QSlider::valueChanged, this, &SensorsPage::TrackBar2Change);
}

void SensorsPage::BuildRpmGroup() {
    GroupBox6 = Named(new QGroupBox(this), "GroupBox6");
    UpDown1 = Named(new UpDown(GroupBox6), "UpDown1");
    UpDown1->SetRange(1, 8);
    UpDown1->SetPosition(1);
    UpDown1->setFixedSize(kUpDownSize);
    Label21 = Named(new QLabel(GroupBox6), "Label21");
    Button6 = MakeSwitch(GroupBox6, "Button6");
    Label17 = Named(new QLabel(GroupBox6), "Label17");

    auto* grid = new QGridLayout(GroupBox6);
    grid->addWidget(UpDown1, 0, 0, Qt::AlignLeft);
    grid->addWidget(Label21, 0, 1);
    grid->addWidget(Button6, 1, 0);
    grid->addWidget(Label17, 1, 1);
    grid->setColumnStretch(1, 1);
}

void SensorsPage::BuildMapGroup() {
    GroupBox7 = Named(new QGroupBox(this), "GroupBox7");
    Button5 = MakeSwitch(GroupBox7, "Button5");
    Label16 = Named(new QLabel(GroupBox7), "Label16");

    auto* row = new QHBoxLayout(GroupBox7);
    row->addWidget(Button5);
    row->addWidget(Label16, 1);
}

void SensorsPage::BuildTankGroup() {
    GroupBox8 = Named(new QGroupBox(this), "GroupBox8");
    TrackBar1 = MakeTrackBar(GroupBox8, "TrackBar1", QSlider::TicksRight, kTrackStartMin);
    TrackBar2 = MakeTrackBar(GroupBox8, "TrackBar2", QSlider::TicksLeft, kTrackStartMax);

    p = Named(new QFrame(GroupBox8), "p");
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    im = new TankPicture(p);
    auto* surface = new QVBoxLayout(p);
    surface->setContentsMargins(p->frameWidth(), p->frameWidth(), p->frameWidth(), p->frameWidth());
    surface->addWidget(im);
    p->setFixedSize(TankPicture::kWidth + 2 * p->frameWidth(), TankPicture::kHeight + 2 * p->frameWidth());

    Label27 = Named(new QLabel(GroupBox8), "Label27");
    Label18 = Named(new QLabel(GroupBox8), "Label18");
    Label48 = Named(new QLabel(GroupBox8), "Label48");
    Label46 = Named(new QLabel(GroupBox8), "Label46");
    Label40 = Named(new QLabel(GroupBox8), "Label40");
    Label26 = Named(new QLabel(GroupBox8), "Label26");
    Label47 = Named(new QLabel(GroupBox8), "Label47");

    auto* grid = new QGridLayout(GroupBox8);
    grid->setHorizontalSpacing(6);
    grid->addWidget(Label27, 0, 1, Qt::AlignHCenter);
    grid->addWidget(TrackBar1, 1, 0, Qt::AlignCenter);
    grid->addWidget(p, 1, 1, Qt::AlignCenter);
    grid->addWidget(TrackBar2, 1, 2, Qt::AlignCenter);
    grid->addWidget(BuildLevelLights(), 1, 3, Qt::AlignCenter);
    grid->addWidget(Captioned(Label18, Label48, GroupBox8), 2, 0);
    grid->addWidget(Captioned(Label46, Label40, GroupBox8), 2, 1);
    grid->addWidget(Captioned(Label26, Label47, GroupBox8), 2, 2);
    grid->setColumnMinimumWidth(3, kLightSize.width() + 12);
}

QWidget* SensorsPage::BuildLevelLights() {
    Panel13 = Named(new QFrame(GroupBox8), "Panel13");
    Panel13->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* column = new QVBoxLayout(Panel13);
    column->setContentsMargins(3, 3, 3, 3);
    column->setSpacing(3);
    // Top to bottom: the full quarter down to the reserve light.
    for (auto [light, name] : {std::pair{&led4, "led4"}, {&led3, "led3"}, {&led2, "led2"}, {&led1, "led1"}}) {
        *light = Named(new StatusLight(Panel13), name);
        (*light)->setFixedSize(kLightSize);
        (*light)->SetLitColor(kLightLit);
        (*light)->SetNotLitColor(kLightOff);
        column->addWidget(*light);
    }
    return Panel13;
}

void SensorsPage::ShowRpmDivider(int32_t n) {
    UpDown1->SetPosition(n);
    Label21->setText(ctx.LangText(kRpmDividerWord) + QStringLiteral("   ") + QString::number(n));
}

void SensorsPage::ShowRpmPin(int32_t on) {
    Button6->setText(SwitchCaption(ctx, on != 0));
}

void SensorsPage::ShowMapSensor(int32_t on) {
    Button5->setText(SwitchCaption(ctx, on != 0));
}

void SensorsPage::ShowTankSensor(int32_t s) {
    Label40->setText(Volts(s));
    DrawTankLevel();
}

void SensorsPage::ShowTankMax(int32_t v) {
    ShowTankPoint(v, Label47, TrackBar2);
}

void SensorsPage::ShowTankMin(int32_t v) {
    ShowTankPoint(v, Label48, TrackBar1);
}

void SensorsPage::ShowTankPoint(int32_t v, QLabel* voltage, QSlider* track) {
    const int32_t reading = kFullScale - v;
    voltage->setText(Volts(reading));
    DrawTankLevel();
    const QSignalBlocker quiet(track);
    track->setValue(reading);
}

void SensorsPage::DrawTankLevel() {
    const Tecu* ecu = ctx.ecu;
    if (!ecu)
        return;
    const int32_t mask = ecu->TankLevelMask();
    const bool reserve = (mask & 8) == 0;
    // Started only on the way into reserve: a restart on every tank value would hold the blink off.
    if (!reserve)
        leveltimer->stop();
    else if (!leveltimer->isActive())
        leveltimer->start();
    led4->SetLit(mask & 1);
    led3->SetLit(mask & 2);
    led2->SetLit(mask & 4);
    led1->SetLit(mask & 8);
    im->Draw(ecu->tankSensor, ecu->tankMax, ecu->tankMin, p->palette().color(p->backgroundRole()));
}

void SensorsPage::leveltimerTimer() {
    led1->SetLit(!led1->Lit());
}

void SensorsPage::UpDown1Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetRpmDivider(UpDown1->Position());
}

void SensorsPage::Button6Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetRpmPin(ecu->rpmPin ? 0 : 1);
}

void SensorsPage::Button5Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetMapSensor(ecu->mapSensor ? 0 : 1);
}

void SensorsPage::TrackBar1Change() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetTankMin(kFullScale - TrackBar1->value());
}

void SensorsPage::TrackBar2Change() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetTankMax(kFullScale - TrackBar2->value());
}
