#include "pages/calibration_page.h"

#include "ecu/tecu.h"

namespace {
constexpr int kBlinkMs = 500;
constexpr int kMapSendDelayMs = 1000;
constexpr int kRpmPerMapPoint = 500;
} // namespace

CalibrationPage::CalibrationPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts3"), parent) {
    Timer1.setInterval(kBlinkMs);
    tt.setSingleShot(true);
    tt.setInterval(kMapSendDelayMs);
}

void CalibrationPage::InitMapSeries() {
    mapPointLabels.clear();
    for (int i = 1; i <= Tecu::kMapPoints; ++i)
        mapPointLabels << (i % 2 ? QStringLiteral("-") : QString::number(i * kRpmPerMapPoint));
}
