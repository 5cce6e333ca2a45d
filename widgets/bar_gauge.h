#pragma once

#include "widgets/value_range.h"

#include <QColor>
#include <QWidget>

// A solid bar over a range: horizontal bars fill from the left, vertical ones from the bottom.
class BarGauge : public QWidget {
    Q_OBJECT

public:
    explicit BarGauge(QWidget* parent = nullptr);

    void SetOrientation(Qt::Orientation orientation);
    Qt::Orientation Orientation() const { return orientation; }
    // The ends may come in either order; a range with an end that is not finite is ignored. The
    // position is held inside the new range.
    void SetRange(double minimum, double maximum);
    double Minimum() const { return range.low; }
    double Maximum() const { return range.high; }
    // Held inside the range: a value beyond either end is shown at that end.
    void SetPosition(double value);
    double Position() const { return position; }
    void SetFilledColor(const QColor& color);
    QColor FilledColor() const { return filledColor; }
    void SetEmptyColor(const QColor& color);
    QColor EmptyColor() const { return emptyColor; }

    // Share of the bar that is filled, 0 to 1.
    double FilledFraction() const { return range.Fraction(position); }
    // Pixels of the bar drawn filled at the present size.
    int FilledLength() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Inner() const; // inside the frame

    Qt::Orientation orientation = Qt::Horizontal;
    ValueRange range{0.0, 100.0};
    double position = 0.0;
    QColor filledColor{0, 0, 128};
    QColor emptyColor;
};
