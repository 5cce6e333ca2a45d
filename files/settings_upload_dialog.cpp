#include "files/settings_upload_dialog.h"

#include "app/message_presenter.h"
#include "ecu/tecu.h"
#include "files/file_copy_animation.h"
#include "files/upload_readback.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <array>

namespace {
constexpr int kHoldOnText = 47;
constexpr int kCancelText = 48;
constexpr int kCommunicationErrorText = 49;
constexpr int kFinishText = 70;

// One step of the upload: what it sends, and whether the ECU is given time to take it.
struct UploadStep {
    std::function<void()> action;
    bool waitAfter;
};
} // namespace

TForm7::TForm7(Tecu& link, MessagePresenter& messagePresenter, std::function<QString(int)> langText,
               QWidget* parent, UploadDialogSeams dialogSeams)
    : QDialog(parent), ecu(link), messages(messagePresenter), LangText(std::move(langText)),
      seams(std::move(dialogSeams)) {
    setObjectName(QStringLiteral("Form7"));
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Animate1 = new FileCopyAnimation(this);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setGeometry(65, 16, 300, 72);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 104, kClientWidth - 16, 24);
    Label1->setAlignment(Qt::AlignCenter);
    pr = new QProgressBar(this);
    pr->setObjectName(QStringLiteral("pr"));
    pr->setGeometry(24, 140, kClientWidth - 48, 20);
    pr->setRange(0, kBarMax);
    pr->setValue(0);
    pr->setTextVisible(false);
    Btn1 = new QPushButton(this);
    Btn1->setObjectName(QStringLiteral("Btn1"));
    Btn1->setGeometry((kClientWidth - 120) / 2, 184, 120, 33);
    connect(Btn1, &QPushButton::clicked, this, &TForm7::reject);

    tt.setInterval(kFirstTickMs);
    connect(&tt, &QTimer::timeout, this, &TForm7::ttTimer);
    FormCreate();
}

void TForm7::FormCreate() {
    setWindowTitle(QString::fromLatin1(kCaption));
    Label1->setText(LangText(kHoldOnText));
    Btn1->setText(LangText(kCancelText));
}

void TForm7::UploadSettings(const EcuSettingsRecord& record) {
    settings = &record;
    lineFaultsAtOpen = ecu.lineFaults;
    tt.start();
    if (seams.runModal)
        seams.runModal(*this);
    else
        exec();
    tt.stop();
    settings = nullptr;
}

void TForm7::reject() {
    if (running)
        return;
    tt.stop();
    QDialog::reject();
}

void TForm7::ttTimer() {
    // A tick after Cancel, or a second one, has nothing to do.
    if (!tt.isActive() || !settings)
        return;
    tt.stop();
    running = true;
    const bool sent = RunSequence();
    running = false;
    if (!sent)
        messages.ShowModalMessage(LangText(kCommunicationErrorText), LangText(kFinishText));
    done(sent ? QDialog::Accepted : QDialog::Rejected);
}

bool TForm7::RunSequence() {
    // A link lost while the file was chosen or the dialog waited gets nothing.
    if (!ecu.IsConnected() || LineFailed())
        return false;
    const EcuSettingsRecord& r = *settings;
    Tecu& link = ecu;
    const std::array<int32_t, Tecu::kMapPoints> reportedMap = link.engineMap;
    bool mapSent = false;
    const UploadStep steps[] = {
        {[&] { link.StopStreaming(); }, true},
        {[&] { link.SetBaseCorrection(r.baseCorrection); }, true},
        {[&] { link.SetBaseCorrection(r.baseCorrection); }, true},
        {[&] { link.SetGasInjectors(r.gasInjectorMask); }, true},
        {[&] { link.SetRpmPin(r.rpmPin); }, true},
        {[&] { link.SetInjectorProtection(r.injectorProtection); }, true},
        {[&] { link.SetRpmDivider(r.rpmDivider); }, true},
        {[&] { link.SetSwitchTemperature(r.switchTemperature); }, true},
        {[&] { link.SetSwitchRpm(r.switchRpmIndex); }, true},
        {[&] { link.SetMinGasPressure(r.minGasPressure); }, true},
        {[&] { link.SetTankMax(r.tankMax); }, true},
        {[&] { link.SetTankMin(r.tankMin); }, true},
        {[&] { link.SetMapSensor(r.mapSensor); }, true},
        {[&] { link.SetFastChange(r.fastChange); }, true},
        {[&] { CopyMap(); }, true},
        {[&] {
             link.SendMap();
             mapSent = !LineFailed();
         },
         true},
        {[&] { StepBar(); }, false},
        {[&] { link.StartStreaming(); }, true},
    };
    for (const UploadStep& step : steps) {
        step.action();
        if (LineFailed() || (step.waitAfter && !WaitForEcu())) {
            // The editor must not show a map that never reached the ECU.
            if (!mapSent)
                link.engineMap = reportedMap;
            return false;
        }
    }
    return EcuHoldsTheFile();
}

bool TForm7::LineFailed() const {
    return ecu.lineFaults != lineFaultsAtOpen;
}

// Asks the ECU for its settings and map and compares them with the file, so that a completed upload
// always means the ECU holds the file.
bool TForm7::EcuHoldsTheFile() {
    const uint32_t statusBefore = ecu.statusReports;
    const uint32_t mapsBefore = ecu.mapReports;
    const uint32_t ticksBefore = ecu.linkTicks;
    ecu.RequestStatusReport();
    ecu.RequestMap();
    for (int polls = 0; ecu.statusReports == statusBefore || ecu.mapReports == mapsBefore;) {
        // Once the link is lost no status report is taken any more.
        if (LineFailed() || !ecu.IsConnected())
            return false;
        // The poll count only guards against a link timer that does not run at all.
        if (ecu.linkTicks - ticksBefore > kReadbackTicks || ++polls > kBusyPollLimit)
            return false;
        ProcessEvents();
        Sleep(kPollMs);
    }
    return !LineFailed() && UploadReadback::EcuHolds(*settings, ecu);
}

// The map goes into the link's state first, so that SendMap carries it and the editor shows it.
void TForm7::CopyMap() {
    for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i) {
        ecu.engineMap[i] = UploadReadback::MapPointAsSent(settings->engineMap[i]);
        StepBar();
        Sleep(kMapByteMs);
    }
}

bool TForm7::WaitForEcu() {
    StepBar();
    for (int round = 0; round < kSettleRounds; ++round) {
        Sleep(kPollMs);
        ProcessEvents();
        if (LineFailed())
            return false;
    }
    for (int polls = 0; ecu.ecuBusy;) {
        ProcessEvents();
        if (LineFailed())
            return false;
        Sleep(kPollMs);
        if (++polls > kBusyPollLimit)
            return false;
    }
    return true;
}

// The upload advances the bar 30 times over its 29 steps; the last advance leaves it full.
void TForm7::StepBar() {
    pr->setValue(std::min(pr->value() + 1, pr->maximum()));
}

void TForm7::Sleep(int ms) {
    if (seams.sleepMs)
        seams.sleepMs(ms);
    else
        QThread::msleep(static_cast<unsigned long>(ms));
}

void TForm7::ProcessEvents() {
    if (seams.processEvents)
        seams.processEvents();
    else
        QCoreApplication::processEvents();
}
