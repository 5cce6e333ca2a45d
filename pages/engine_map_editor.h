#pragma once

#include "ecu/tecu.h"
#include "pages/page_context.h"

#include <QGroupBox>
#include <QStringList>

#include <cstdint>

class MapChartView;
class QAction;
class QChart;
class QLineSeries;
class QPainter;
class QPushButton;
class QSlider;
class QTableWidget;
class QTimer;
class TwoButtonSpinner;

// The engine map editor: the 12-point correction map over engine speed as a chart with a row of steps
// under it, edited by dragging, by stepping selected points, by a sine-shaped bend and by flattening.
// Every change ends in the ECU; step operations go out through the page's one-shot timer `tt`.
class EngineMapEditor : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kPoints = Tecu::kMapPoints;
    static constexpr int kRpmPerPoint = 500;
    static constexpr int kShapeLimit = 70;
    static constexpr int kBallRadius = 10;
    static constexpr int kFixedColumnWidth = 30;
    static constexpr int kLastColumnWidth = 35;

    // Where chAfterDraw puts the speed line and the ball, in chart coordinates.
    struct SpeedMarks {
        int lineX = 0;
        int ballIndex = 0;
    };

    EngineMapEditor(PageContext& context, QTimer& sendTimer, QWidget* parent = nullptr);

    void SetPointLabels(const QStringList& labels);
    void ShowEngineMap();
    void SendMapFromChart();
    void StepSelectedPoints(bool up);
    void Redraw();

    void chClickSeries(Qt::MouseButton button, int index);
    void chMouseMove(int y, Qt::KeyboardModifiers modifiers);
    void chMouseUp(Qt::MouseButton button);
    void chAfterDraw(QPainter& painter);
    // True when the press was on the fixed cell and is used up.
    bool gMouseDown(Qt::MouseButton button, int row, int column);
    void bbChange(int position);
    void bbMouseDown();
    void bbMouseUp();
    void VrSpinner1UpClick();
    void VrSpinner1DownClick();
    void yukariExecute();
    void asagiExecute();
    void Button16Click();
    void ttTimer();

    SpeedMarks SpeedMarksFor(int32_t rpm) const;
    double PointValue(int i) const;
    // The pixel column of an x position on the top axis, in chart coordinates.
    double PixelOf(double xPosition) const;
    bool Dragging() const { return dragging; }
    // Edits go to the ECU only once its own map is shown; before that every edit path does nothing.
    bool MapArrived() const;

    MapChartView* ch;
    QChart* chart;
    QLineSeries* x;
    QTableWidget* g;
    QWidget* gridRow;
    QSlider* bb;
    TwoButtonSpinner* VrSpinner1;
    QAction* yukari;
    QAction* asagi;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* Button16;
    QTimer& tt;

private:
    void BuildChart();
    void BuildGrid();
    void BuildControls();
    QPushButton* ActionButton(QAction* action, const QString& name);
    void SetPoint(int i, double value);
    void SetCell(int i, int step);
    bool CellStep(int i, int& step) const;
    void FollowPointColumns();
    void DrawSpeedMarks(QPainter& painter);

    PageContext& ctx;
    bool dragging = false;
    int dragIndex = 0;
    double lastP0 = 0;
    double lastP11 = 0;
    bool bbHeld = false;
};
