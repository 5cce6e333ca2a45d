#pragma once

#include "widgets/value_range.h"

#include <QColor>
#include <QWidget>

class QPainter;

// A vertical thermometer: scale on the left, glass tube with bulb, the column rising from the bulb,
// and a triangle to the right of the tube marking a set point.
class ThermoMeter : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxScaleMarks = 400;

    explicit ThermoMeter(QWidget* parent = nullptr);

    // The ends may come in either order; a range with an end that is not finite is ignored. Value
    // and set point are held inside the new range.
    void SetRange(double minimum, double maximum);
    double Minimum() const { return range.low; }
    double Maximum() const { return range.high; }
    // Both held inside the range: a reading beyond either end is shown at that end.
    void SetValue(double value);
    double Value() const { return value; }
    void SetSetPoint(double value);
    double SetPoint() const { return setPoint; }
    void SetSetPointVisible(bool visible);
    bool SetPointVisible() const { return setPointVisible; }

    // Scale steps in scale units, counted from the minimum: numbered long marks every major step,
    // short marks every minor step. 0 (or a step giving more than kMaxScaleMarks marks) draws none.
    void SetMajorStep(double step);
    double MajorStep() const { return majorStep; }
    void SetMinorStep(double step);
    double MinorStep() const { return minorStep; }

    void SetColumnColor(const QColor& color);
    QColor ColumnColor() const { return columnColor; }
    void SetTubeColor(const QColor& color);
    QColor TubeColor() const { return tubeColor; }
    void SetSetPointColor(const QColor& color);
    QColor SetPointColor() const { return setPointColor; }
    // Marks and numbers.
    void SetScaleColor(const QColor& color);
    QColor ScaleColor() const { return scaleColor; }

    QSize sizeHint() const override { return {70, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout;
    Layout ComputeLayout() const;
    double YFor(const Layout& l, double v) const;
    int LabelDecimals() const;
    void PaintScale(QPainter& p, const Layout& l) const;
    void PaintMarks(QPainter& p, const Layout& l, double step, double length, double width) const;
    void PaintTube(QPainter& p, const Layout& l) const;
    void PaintSetPoint(QPainter& p, const Layout& l) const;

    ValueRange range{0.0, 100.0};
    double value = 0.0;
    double setPoint = 0.0;
    bool setPointVisible = true;
    double majorStep = 20.0;
    double minorStep = 4.0;
    QColor columnColor{210, 20, 20};
    QColor tubeColor{250, 250, 250};
    QColor setPointColor{0, 0, 255};
    QColor scaleColor{20, 20, 20};
};
