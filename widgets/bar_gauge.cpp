#include "widgets/bar_gauge.h"

#include "widgets/assign_if_changed.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

BarGauge::BarGauge(QWidget* parent) : QWidget(parent), emptyColor(palette().color(QPalette::Button)) {
    // The frame and the bar cover every pixel: nothing behind needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

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
    const int lengthBefore = FilledLength();
    // A move within the same whole pixel leaves the picture as it is.
    if (AssignIfChanged(position, range.Clamp(value)) && FilledLength() != lengthBefore) {
        update();
    }
}

QRect BarGauge::Inner() const {
    return rect().adjusted(1, 1, -1, -1);
}

int BarGauge::FilledLength() const {
    const QRect inner = Inner();
    const int length = orientation == Qt::Horizontal ? inner.width() : inner.height();
    return static_cast<int>(std::lround(FilledFraction() * std::max(length, 0)));
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
    const QRect inner = Inner();
    if (inner.isEmpty()) {
        return;
    }
    p.fillRect(inner, emptyColor);

    // Whole pixels, so the bar edge stays sharp and a full bar fills exactly.
    const int filled = FilledLength();
    if (filled <= 0) {
        return;
    }
    const QRect bar = orientation == Qt::Horizontal
                          ? QRect(inner.left(), inner.top(), filled, inner.height())
                          : QRect(inner.left(), inner.bottom() - filled + 1, inner.width(), filled);
    p.fillRect(bar, filledColor);
}
