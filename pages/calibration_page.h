#pragma once

#include "pages/ecu_page.h"

#include <QList>
#include <QStringList>
#include <QTimer>

#include <functional>

class BaseCorrectionBox;
class EngineMapEditor;
class QAction;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The Calibration page: automatic calibration, base correction and the engine map editor.
class CalibrationPage : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kWarmReducer = 6000; // 60.00 °C, in 0.01 °C
    static constexpr int kProgressRange = 200;

    CalibrationPage(PageContext& context, QWidget* parent = nullptr);

    // Twelve points of value 0 before any map arrives; even positions labelled with their speed.
    void InitMapSeries();
    const QStringList& MapPointLabels() const { return mapPointLabels; }
    bool MapSendPending() const { return tt.isActive(); }
    // The map editor's F8 and F7 actions, for the window, which triggers them on every page.
    QList<QAction*> MapActions() const;

    void startbtnClick();
    void pausebtnClick();
    void stopbtnClick();
    void Timer1Timer();

    void ShowCalibrationProgress(int32_t step, int32_t count, int32_t code) override;
    void ShowLinkLost() override;
    void ShowBaseCorrection(int32_t x) override;
    void ShowEngineMap() override;
    void ShowRpm(int32_t rpm) override;

    // The window's calibration sensitivity setting (calSens), read at every Start.
    std::function<int()> CalSens;

    QTimer Timer1; // blinks the calibration information line
    QTimer tt;     // one-shot: sends the edited map a second after the last change

    QGroupBox* GroupBox3;
    QPushButton* startbtn;
    QPushButton* pausebtn;
    QPushButton* stopbtn;
    QLabel* Label44;
    QProgressBar* calp;
    BaseCorrectionBox* GroupBox2;
    EngineMapEditor* GroupBox1;

private:
    QGroupBox* BuildAutomaticCalibration();
    void SetTimeLabel(const char* name, const QString& text);

    QStringList mapPointLabels;
};
