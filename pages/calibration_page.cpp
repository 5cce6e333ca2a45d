#include "pages/calibration_page.h"

#include "app/program_settings.h"
#include "ecu/tecu.h"
#include "pages/base_correction_box.h"
#include "pages/engine_map_editor.h"
#include "pages/live_values.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kBlinkMs = 500;
constexpr int kMapSendDelayMs = 1000;
constexpr int kGasCycleWrapAbove = 190;
constexpr int kGasCycleRestart = 100;
const char* const kResetTime = "0,0 mS";

// Texts of the language table used here.
enum Text {
    TextPause = 17,
    TextContinue = 18,
    TextKeepIdle = 66,
    TextInjectorsSmall = 67,
    TextInjectorsBig = 68,
    TextCompleted = 69,
    TextWaitReducer = 71,
};
} // namespace

CalibrationPage::CalibrationPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts3"), parent) {
    Timer1.setInterval(kBlinkMs);
    tt.setSingleShot(true);
    tt.setInterval(kMapSendDelayMs);
    connect(&Timer1, &QTimer::timeout, this, &CalibrationPage::Timer1Timer);

    GroupBox3 = BuildAutomaticCalibration();
    GroupBox2 = new BaseCorrectionBox(ctx, this);
    GroupBox1 = new EngineMapEditor(ctx, tt, this);

    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox3, 3);
    top->addWidget(GroupBox2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(GroupBox1, 1);
}

QGroupBox* CalibrationPage::BuildAutomaticCalibration() {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox3"));
    auto button = [box](const char* name) {
        auto* b = new QPushButton(box);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    startbtn = button("startbtn");
    pausebtn = button("pausebtn");
    stopbtn = button("stopbtn");
    pausebtn->setEnabled(false);
    stopbtn->setEnabled(false);
    Label44 = new QLabel(box);
    Label44->setObjectName(QStringLiteral("Label44"));
    Label44->setAlignment(Qt::AlignCenter);
    Label44->setWordWrap(true);
    Label44->hide();
    calp = new QProgressBar(box);
    calp->setObjectName(QStringLiteral("calp"));
    calp->setRange(0, kProgressRange);
    calp->setValue(0);
    calp->setTextVisible(false);

    connect(startbtn, &QPushButton::clicked, this, &CalibrationPage::startbtnClick);
    connect(pausebtn, &QPushButton::clicked, this, &CalibrationPage::pausebtnClick);
    connect(stopbtn, &QPushButton::clicked, this, &CalibrationPage::stopbtnClick);

    auto* layout = new QGridLayout(box);
    layout->addWidget(startbtn, 0, 0);
    layout->addWidget(pausebtn, 0, 1);
    layout->addWidget(stopbtn, 0, 2);
    layout->addWidget(calp, 1, 0, 1, 3);
    layout->addWidget(Label44, 2, 0, 1, 3);
    // The info line comes and goes (and blinks) without the page moving.
    Label44->setFixedHeight(2 * Label44->fontMetrics().height() + 4);
    layout->setRowMinimumHeight(2, Label44->height());
    return box;
}

void CalibrationPage::InitMapSeries() {
    mapPointLabels.clear();
    for (int i = 1; i <= Tecu::kMapPoints; ++i)
        mapPointLabels << (i % 2 ? QStringLiteral("-") : QString::number(i * EngineMapEditor::kRpmPerPoint));
    GroupBox1->SetPointLabels(mapPointLabels);
}

QList<QAction*> CalibrationPage::MapActions() const {
    return {GroupBox1->yukari, GroupBox1->asagi};
}

void CalibrationPage::startbtnClick() {
    Tecu* ecu = ctx.ecu;
    if (!ecu)
        return;
    Timer1.stop();
    ecu->SetCalibrationActive(true);
    ecu->calibrationPaused = true;
    calp->setValue(0);
    Label44->show();
    startbtn->setEnabled(false);
    pausebtn->setEnabled(true);
    stopbtn->setEnabled(true);
    ecu->SetCalibrationSensitivity(
        static_cast<uint32_t>(CalSens ? CalSens() : ProgramSettings::kDefaultCalSens));
    if (ecu->reducerTemperature > kWarmReducer) {
        Label44->setText(ctx.LangText(TextKeepIdle));
        ecu->calibrationPaused = false;
    } else {
        // Stays paused: the fitter continues by hand once the reducer is warm.
        Label44->setText(ctx.LangText(TextWaitReducer));
        Timer1.start();
    }
}

void CalibrationPage::pausebtnClick() {
    Tecu* ecu = ctx.ecu;
    if (!ecu)
        return;
    ecu->calibrationPaused = !ecu->calibrationPaused;
    if (!ecu->calibrationPaused) {
        Timer1.stop();
        Label44->show();
    }
}

void CalibrationPage::stopbtnClick() {
    if (Tecu* ecu = ctx.ecu) {
        ecu->SetCalibrationActive(false);
        ecu->calibrationPaused = false;
    }
    Label44->setText(QString());
    Label44->hide();
    calp->setValue(0);
    Timer1.stop();
    startbtn->setEnabled(true);
    pausebtn->setEnabled(false);
    stopbtn->setEnabled(false);
}

void CalibrationPage::Timer1Timer() {
    Label44->setVisible(!Label44->isVisible());
}

void CalibrationPage::ShowLinkLost() {
    stopbtnClick();
}

// The strip's injection-time labels, which only this display writes while a calibration runs.
void CalibrationPage::SetTimeLabel(const char* name, const QString& text) {
    if (auto* label = window()->findChild<QLabel*>(QString::fromLatin1(name)))
        label->setText(text);
}

void CalibrationPage::ShowCalibrationProgress(int32_t /*step*/, int32_t count, int32_t code) {
    Tecu* ecu = ctx.ecu;
    if (!ecu)
        return;
    pausebtn->setText(ctx.LangText(ecu->calibrationPaused ? TextContinue : TextPause));
    const QString reset = QString::fromLatin1(kResetTime);
    switch (code) {
    case 0:
        calp->setValue(0);
        SetTimeLabel("Label12", reset);
        SetTimeLabel("Label13", reset);
        break;
    case 1:
        calp->setValue(count);
        SetTimeLabel("Label12", LiveValues::InjectionTimeWithUnit(ecu->injectionTime[0]));
        SetTimeLabel("Label13", reset);
        Label44->setText(ctx.LangText(TextKeepIdle));
        break;
    case 3:
        SetTimeLabel("Label12", LiveValues::InjectionTimeWithUnit(ecu->petrolAverage));
        break;
    case 5:
        calp->setValue(calp->value() + 1 > kGasCycleWrapAbove ? kGasCycleRestart : calp->value() + 1);
        SetTimeLabel("Label13", LiveValues::InjectionTimeWithUnit(ecu->gasAverage));
        break;
    case 6:
        Label44->setText(ctx.LangText(TextInjectorsSmall));
        break;
    case 10:
        Label44->setText(ctx.LangText(TextInjectorsBig));
        break;
    case 14:
        Label44->setText(ctx.LangText(TextCompleted));
        pausebtn->setEnabled(false);
        stopbtn->setEnabled(false);
        startbtn->setEnabled(true);
        pausebtn->setText(ctx.LangText(TextPause));
        calp->setValue(0);
        break;
    default:
        break;
    }
}

void CalibrationPage::ShowBaseCorrection(int32_t x) {
    GroupBox2->ShowBaseCorrection(x);
}

void CalibrationPage::ShowEngineMap() {
    GroupBox1->ShowEngineMap();
}

void CalibrationPage::ShowRpm(int32_t /*rpm*/) {
    if (isVisible())
        GroupBox1->Redraw();
}
