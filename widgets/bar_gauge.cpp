#include "widgets/bar_gauge.h"

#include "widgets/assign_if_changed.h"

#include <QPainter>

#include <cmath>

BarGauge::BarGauge(QWidget* parent) : QWidget(parent), emptyColor(palette().color(QPalette::Button)) {}

void BarGauge::SetOrientation(Qt::Orientation o) {
    if (AssignIfChanged(orientation, o)) {
        updateGeometry();
        update();
    }
}

void BarGauge::SetRange(double minimum, double maximum) {
    if (range.Reset(minimum, maximum, position)) {
        update();
    }
}

void BarGauge::SetPosition(double value) {
    if (AssignIfChanged(position, range.Clamp(value))) {
        update();
    }
}

void BarGauge::SetFilledColor(const QColor& color) {
    if (AssignIfChanged(filledColor, color)) {
        update();
    }
}

void BarGauge::SetEmptyColor(const QColor& color) {
    if (AssignIfChanged(emptyColor, color)) {
        update();
    }
}

QSize BarGauge::sizeHint() const {
    return orientation == Qt::Horizontal ? QSize(120, 16) : QSize(16, 120);
}

void BarGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);

    // A one-pixel sunken frame: shadow on top and left, light on bottom and right.
    const QRect outer = rect();
    p.fillRect(outer, palette().color(QPalette::Mid));
    p.fillRect(outer.adjusted(1, 1, 0, 0), palette().color(QPalette::Light));
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    if (inner.isEmpty()) {
        return;
    }
    p.fillRect(inner, emptyColor);

    // Whole pixels, so the bar edge stays sharp and a full bar fills exactly.
    const bool horizontal = orientation == Qt::Horizontal;
    const int length = horizontal ? inner.width() : inner.height();
    const int filled = static_cast<int>(std::lround(FilledFraction() * length));
    if (filled <= 0) {
        return;
    }
    const QRect bar = horizontal ? QRect(inner.left(), inner.top(), filled, inner.height())
                                 : QRect(inner.left(), inner.bottom() - filled + 1, inner.width(), filled);
    p.fillRect(bar, filledColor);
}
