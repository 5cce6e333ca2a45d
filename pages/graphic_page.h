#pragma once

#include "pages/ecu_page.h"
#include "pages/graph_series.h"
#include "pages/log_recorder.h"

#include <array>
#include <cstddef>
#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class QGraphicsLineItem;
class QChartView;
class QLineSeries;
class QValueAxis;

// The Graphic page: engine speed, injection time of cylinder 1, lambda and gas pressure plotted ten
// times a second in pages of 300 points, a crosshair read-out, and the log recorder on the same tick.
// The recorder's state (`recording`, `logFile`) and its timer `logt` live here rather than on the
// window: nothing else in the program looks at them.
class GraphicPage : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kCurves = 4;
    static constexpr int kTickMs = 100;

    GraphicPage(PageContext& context, QWidget* parent = nullptr);
    ~GraphicPage() override;

    void chClick(int curve); // ch1Click .. ch4Click: curve 0..3
    void logtTimer();
    // The pointer's row in chart coordinates.
    void Chart1MouseMove(int row);
    void Chart1AfterDraw();
    void Button18Click();
    void Button19Click();
    void Button22Click();
    void WriteLogLine();
    // The four read-outs for one left-axis value.
    void ShowReadouts(double value);

    // One tick's points in series order (Series1 .. Series4), already scaled.
    void AddPoints(const std::array<double, kCurves>& values);
    std::size_t ShownPage() const { return shownPage; }
    const GraphSeries& History(int curve) const { return curves[curve].history; }
    QLineSeries* Line(int curve) const { return curves[curve].line; }

    QCheckBox* ch1;
    QCheckBox* ch2;
    QCheckBox* ch3;
    QCheckBox* ch4;
    QLabel* Label42;
    QLabel* Label68;
    QLabel* Label43;
    QLabel* Label69;
    QPushButton* Button19;
    QPushButton* Button22;
    QPushButton* Button18;
    QChartView* Chart1;
    QLineSeries* Series1;
    QLineSeries* Series2;
    QLineSeries* Series3;
    QLineSeries* Series4;
    QValueAxis* bottomAxis;
    QValueAxis* leftAxis;
    QGraphicsLineItem* crosshair;
    QTimer* logt;

    uint32_t logRpm = 0;
    uint32_t logInjection = 0;
    uint32_t logGasPressure = 0;
    uint32_t logLambda = 0;
    char logMode = 'B';
    bool recording = false;
    LogRecorder logFile;
    int cursorY = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Curve {
        QCheckBox* check = nullptr;
        QLabel* readout = nullptr;
        QLineSeries* line = nullptr;
        GraphSeries history;
        // The page the chart's line holds now; it is refilled when this differs from the page shown.
        std::size_t linePage = 0;
    };

    QWidget* BuildPanel();
    void BuildChart();
    void TakeSamples();
    std::size_t VisiblePages() const;
    void RefreshChart();
    void SyncLine(Curve& curve);
    void SetAxes();
    void EndRecording();
    void ShowFileError();

    std::array<Curve, kCurves> curves;
    std::size_t shownPage = 0;
};
