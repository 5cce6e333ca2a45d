#pragma once

#include "pages/live_values.h"
#include "pages/page_context.h"

#include <QGroupBox>

#include <cstdint>

class QLabel;
class QSlider;
class TwoButtonSpinner;

// The base correction by hand: its value in ms, a track bar that sends every position, and a spinner
// that steps from the value the ECU last reported.
class BaseCorrectionBox : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kMax = 127;
    static constexpr double kMsPerUnit = LiveValues::kMsPerBaseCorrectionStep;

    BaseCorrectionBox(PageContext& context, QWidget* parent = nullptr);

    void ShowBaseCorrection(int32_t x);
    void VrTrackBar13Change(int position);
    void VrTrackBar13MouseDown();
    void VrTrackBar13MouseUp();
    void tabanspinUpClick();
    void tabanspinDownClick();
    bool TrackBarHeld() const { return held; }

    QLabel* Label45;
    QSlider* VrTrackBar13;
    TwoButtonSpinner* tabanspin;

private:
    void Send(int x);

    PageContext& ctx;
    bool held = false;
};
