#include "pages/options_page.h"

#include "app/format_number.h"
#include "pages/switch_caption.h"
#include "pages/up_down.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {
// The form's names: cylinder n's switch and its caption.
constexpr const char* kInjectorButtons[Tecu::kCylinders] = {"Button4",  "Button7",  "Button8",  "Button9",
                                                            "Button10", "Button11", "Button12", "Button13"};
constexpr const char* kInjectorLabels[Tecu::kCylinders] = {"Label28", "Label29", "Label30", "Label31",
                                                           "Label32", "Label33", "Label34", "Label35"};
constexpr const char* kSwitchRpms[] = {"500", "1000", "1500", "2000", "2500", "3000"};
constexpr int kStartSwitchRpm = 2;
constexpr int kUpDownMax = 1023;
constexpr int kPressureStep = 2;
constexpr double kBarPerCount = 0.0044803225806451605;
constexpr int kControlWidth = 90;
constexpr int kEditWidth = kControlWidth - 18;

template <class Widget> Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = Named(new QLineEdit(QStringLiteral("0"), parent), QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setFixedWidth(kEditWidth);
    return edit;
}
} // namespace

OptionsPage::OptionsPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts2"), parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);

    for (int n = 0; n < Tecu::kCylinders; ++n) {
        gasInjectorButtons[n] =
            AddSwitchRow(*grid, kInjectorButtons[n], kInjectorLabels[n], gasInjectorLabels[n]);
        connect(gasInjectorButtons[n], &QPushButton::clicked, this, [this, n] { GasInjectorClick(n); });
    }
    Button14 = AddSwitchRow(*grid, "Button14", "Label36", Label36);
    Button15 = AddSwitchRow(*grid, "Button15", "Label37", Label37);

    ComboBox1 = Named(new QComboBox(this), QStringLiteral("ComboBox1"));
    for (const char* rpm : kSwitchRpms)
        ComboBox1->addItem(QString::fromLatin1(rpm));
    ComboBox1->setCurrentIndex(kStartSwitchRpm);
    ComboBox1->setFixedWidth(kControlWidth);
    Label38 = AddRow(*grid, ComboBox1, "Label38");

    Label39 = AddRow(*grid, EditWithUpDown(TntEdit2, TntUpDown2, "TntEdit2", "TntUpDown2"), "Label39");
    Label41 = AddRow(*grid, EditWithUpDown(TntEdit1, TntUpDown1, "TntEdit1", "TntUpDown1"), "Label41");
    TntUpDown1->SetIncrement(kPressureStep);
    QFont bold = TntEdit1->font();
    bold.setBold(true);
    TntEdit1->setFont(bold);

    grid->setRowStretch(rows, 1);
    grid->setColumnStretch(2, 1);

    connect(Button14, &QPushButton::clicked, this, &OptionsPage::Button14Click);
    connect(Button15, &QPushButton::clicked, this, &OptionsPage::Button15Click);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &OptionsPage::ComboBox1Change);
    connect(TntUpDown2, &UpDown::Click, this, &OptionsPage::TntUpDown2Click);
    connect(TntUpDown1, &UpDown::Click, this, &OptionsPage::TntUpDown1Click);
}

QPushButton* OptionsPage::AddSwitchRow(QGridLayout& grid, const char* button, const char* label,
                                       QLabel*& caption) {
    auto* control = Named(new QPushButton(QStringLiteral("-"), this), QString::fromLatin1(button));
    control->setFixedWidth(kControlWidth);
    caption = AddRow(grid, control, label);
    return control;
}

QLabel* OptionsPage::AddRow(QGridLayout& grid, QWidget* control, const char* label) {
    auto* caption = Named(new QLabel(this), QString::fromLatin1(label));
    grid.addWidget(control, rows, 0, Qt::AlignLeft);
    grid.addWidget(caption, rows, 1);
    ++rows;
    return caption;
}

QWidget* OptionsPage::EditWithUpDown(QLineEdit*& edit, UpDown*& upDown, const char* editName,
                                     const char* upDownName) {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    edit = MakeEdit(box, editName);
    upDown = Named(new UpDown(box), QString::fromLatin1(upDownName));
    upDown->SetRange(0, kUpDownMax);
    upDown->setFixedHeight(edit->sizeHint().height());
    row->addWidget(edit);
    row->addWidget(upDown);
    return box;
}

void OptionsPage::ShowGasInjectors(int32_t mask) {
    const bool slave = ctx.ecu && ctx.ecu->slaveEcu;
    for (int n = 0; n < Tecu::kCylinders; ++n) {
        const bool exists = n < kMasterCylinders || slave;
        gasInjectorButtons[n]->setText(exists ? SwitchCaption(ctx, (mask >> n) & 1) : QStringLiteral("-"));
    }
}

void OptionsPage::ShowInjectorProtection(int32_t v) {
    Button14->setText(SwitchCaption(ctx, v != 0));
}

void OptionsPage::ShowFastChange(int32_t on) {
    Button15->setText(SwitchCaption(ctx, on != 0));
}

void OptionsPage::ShowSwitchRpm(int32_t i) {
    const QSignalBlocker quiet(ComboBox1);
    // An index the list does not have selects nothing.
    ComboBox1->setCurrentIndex(i >= 0 && i < ComboBox1->count() ? i : -1);
}

void OptionsPage::ShowSwitchTemperature(int32_t t) {
    TntEdit2->setText(QString::number(t));
    TntUpDown2->SetPosition(t);
}

void OptionsPage::ShowMinGasPressure(int32_t v) {
    TntEdit1->setText(FormatNumber(std::max(0.0, v * kBarPerCount), 2));
    TntUpDown1->SetPosition(v);
}

void OptionsPage::GasInjectorClick(int cylinderIndex) {
    Tecu* ecu = ctx.ecu;
    // A slave cylinder's switch shows "-" and does nothing while no slave ECU is there.
    if (!ecu || (cylinderIndex >= kMasterCylinders && !ecu->slaveEcu))
        return;
    ecu->SetGasInjectors((ecu->gasInjectorMask ^ (1 << cylinderIndex)) & 0xFF);
}

void OptionsPage::Button14Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetInjectorProtection(ecu->injectorProtection != 0 ? 0 : kInjectorProtectionOn);
}

void OptionsPage::Button15Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetFastChange(ecu->fastChange ? 0 : 1);
}

void OptionsPage::ComboBox1Change() {
    Tecu* ecu = ctx.ecu;
    if (ecu && ComboBox1->currentIndex() >= 0)
        ecu->SetSwitchRpm(ComboBox1->currentIndex());
}

void OptionsPage::TntUpDown2Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetSwitchTemperature(TntUpDown2->Position());
}

void OptionsPage::TntUpDown1Click() {
    if (Tecu* ecu = ctx.ecu)
        ecu->SetMinGasPressure(TntUpDown1->Position());
}
