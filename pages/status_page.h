#pragma once

#include "pages/ecu_page.h"

#include <QStringList>

class QGroupBox;
class QLabel;
class AngularMeter;
class ThermoMeter;
class EngineSketch;
class ScaledCanvas;

// The Status page: tachometer, pressure and injection dials, reducer thermometer. Its instruments
// are written only while the page is open; opening it refreshes everything.
class StatusPage : public EcuPage {
    Q_OBJECT

public:
    static constexpr double kRpmFull = 8000;
    static constexpr double kPressureFull = 4;     // bar
    static constexpr double kInjectionFull = 2500; // 25 ms in 0.01 ms

    StatusPage(PageContext& context, QWidget* parent = nullptr);

    void ShowRpm(int32_t r) override;
    void ShowInjectionTime(int cylinder, int32_t t) override;
    void ShowFuelMode(int32_t gas) override;
    void ShowReducerTemperature(int32_t v) override;
    void ShowGasPressure(int32_t v) override;
    void ShowSwitchTemperature(int32_t t) override;

    QGroupBox* GroupBox10;
    AngularMeter* devir1;
    QLabel* Label70;
    QGroupBox* GroupBox11;
    AngularMeter* press1;
    AngularMeter* enj1;
    QLabel* Label57; // gas pressure
    QLabel* Label59; // injection time of cylinder 1
    QGroupBox* GroupBox12;
    ThermoMeter* vrThermoMeter1;
    QGroupBox* GroupBox13;
    EngineSketch* Image1;

private:
    QGroupBox* AddGroup(const char* name);
    QWidget* BuildTachometer();
    QWidget* BuildPressureAndInjection();
    QWidget* BuildThermometer();
    QWidget* BuildPicture();
    // Fixed captions round a dial, one per long mark from the start of its scale.
    void PlaceScaleTexts(ScaledCanvas* canvas, AngularMeter* meter, const char* const names[],
                         const QStringList& texts, double step);
    QLabel* AddFixedLabel(QWidget* parent, const char* name, const QString& text);
};
