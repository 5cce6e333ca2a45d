#pragma once

#include "pages/ecu_page.h"

#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class StatusLight;
class TankPicture;
class UpDown;

// The Sensors page: RPM input, MAP sensor and the tank sensor with its picture and level lights.
// Every control shows the ECU's setting as last reported and sends one command when operated.
class SensorsPage : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kTrackMin = 10;
    static constexpr int kTrackMax = 1014;
    static constexpr int kLevelBlinkMs = 500;

    SensorsPage(PageContext& context, QWidget* parent = nullptr);

    void ShowRpmDivider(int32_t n) override;
    void ShowRpmPin(int32_t on) override;
    void ShowMapSensor(int32_t on) override;
    void ShowTankSensor(int32_t s) override;
    void ShowTankMax(int32_t v) override;
    void ShowTankMin(int32_t v) override;

    void UpDown1Click();
    void Button6Click();
    void Button5Click();
    void TrackBar1Change();
    void TrackBar2Change();
    void leveltimerTimer();
    void DrawTankLevel();

    QGroupBox* GroupBox6;
    UpDown* UpDown1;
    QLabel* Label21;
    QPushButton* Button6;
    QLabel* Label17;
    QGroupBox* GroupBox7;
    QPushButton* Button5;
    QLabel* Label16;
    QGroupBox* GroupBox8;
    QSlider* TrackBar1;
    QFrame* p;
    TankPicture* im;
    QSlider* TrackBar2;
    QLabel* Label27;
    QLabel* Label18;
    QLabel* Label48;
    QLabel* Label46;
    QLabel* Label40;
    QLabel* Label26;
    QLabel* Label47;
    QFrame* Panel13;
    StatusLight* led1;
    StatusLight* led2;
    StatusLight* led3;
    StatusLight* led4;
    QTimer* leveltimer;

private:
    void BuildRpmGroup();
    void BuildMapGroup();
    void BuildTankGroup();
    QWidget* BuildLevelLights();
    // A tank point as the ECU holds it (1023 minus the reading) into its voltage label and track bar.
    void ShowTankPoint(int32_t v, QLabel* voltage, QSlider* track);
};
