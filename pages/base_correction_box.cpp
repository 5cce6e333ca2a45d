#include "pages/base_correction_box.h"

#include "app/format_number.h"
#include "ecu/tecu.h"
#include "pages/held_mark.h"
#include "pages/two_button_spinner.h"

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

namespace {
constexpr int kSpinnerWidth = 48;
constexpr int kSpinnerHeight = 22;
} // namespace

BaseCorrectionBox::BaseCorrectionBox(PageContext& context, QWidget* parent)
    : QGroupBox(parent), ctx(context) {
    setObjectName(QStringLiteral("GroupBox2"));
    Label45 = new QLabel(this);
    Label45->setObjectName(QStringLiteral("Label45"));
    Label45->setAlignment(Qt::AlignCenter);
    VrTrackBar13 = new QSlider(Qt::Horizontal, this);
    VrTrackBar13->setObjectName(QStringLiteral("VrTrackBar13"));
    VrTrackBar13->setRange(0, kMax);
    tabanspin = new TwoButtonSpinner(Qt::Horizontal, QStringLiteral("tabanspin"), this);
    tabanspin->setFixedSize(kSpinnerWidth, kSpinnerHeight);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label45, 0, 0, 1, 2);
    layout->addWidget(VrTrackBar13, 1, 0);
    layout->addWidget(tabanspin, 1, 1);

    connect(VrTrackBar13, &QSlider::valueChanged, this, &BaseCorrectionBox::VrTrackBar13Change);
    new HeldMark(
        VrTrackBar13, [this] { VrTrackBar13MouseDown(); }, [this] { VrTrackBar13MouseUp(); });
    connect(tabanspin, &TwoButtonSpinner::upClick, this, &BaseCorrectionBox::tabanspinUpClick);
    connect(tabanspin, &TwoButtonSpinner::downClick, this, &BaseCorrectionBox::tabanspinDownClick);
    ShowBaseCorrection(0);
}

void BaseCorrectionBox::Send(int x) {
    if (ctx.ecu)
        ctx.ecu->SetBaseCorrection(x);
}

void BaseCorrectionBox::ShowBaseCorrection(int32_t x) {
    Label45->setText(FormatNumber(x * kMsPerUnit, 2) + QStringLiteral(" ms"));
    // A thumb in the fitter's hand is not moved under it. A reported value is shown, not sent back:
    // on a noisy line that would turn a corrupted report into a real change of the ECU's setting.
    if (!held) {
        const QSignalBlocker quiet(VrTrackBar13);
        VrTrackBar13->setValue(x);
    }
}

void BaseCorrectionBox::VrTrackBar13Change(int position) {
    Send(position);
}

void BaseCorrectionBox::VrTrackBar13MouseDown() {
    held = true;
}

void BaseCorrectionBox::VrTrackBar13MouseUp() {
    held = false;
    Send(VrTrackBar13->value());
}

void BaseCorrectionBox::tabanspinUpClick() {
    if (ctx.ecu)
        Send(ctx.ecu->baseCorrection - 1);
}

void BaseCorrectionBox::tabanspinDownClick() {
    if (ctx.ecu)
        Send(ctx.ecu->baseCorrection + 1);
}
