#include "widgets/thermo_meter.h"

#include "widgets/assign_if_changed.h"
#include "widgets/instrument_font.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

double SnapToPixel(double y, double penWidth) {
    // Lines of odd pixel width sit on pixel centres, even ones on pixel edges, so they stay sharp.
    const bool odd = static_cast<int>(std::lround(penWidth)) % 2 == 1;
    return odd ? std::floor(y) + 0.5 : std::round(y);
}

double CheckedStep(double step) {
    return std::isfinite(step) && step > 0 ? step : 0.0;
}

} // namespace

struct ThermoMeter::Layout {
    double cx = 0;      // axis of tube and bulb
    double tubeW = 0;   // outer width of the glass tube
    double bulbD = 0;   // bulb diameter
    double bulbCy = 0;  // bulb centre
    double yTop = 0;    // scale maximum
    double yBottom = 0; // scale minimum
    double gap = 0;
    double fontPx = 0;
    double labelW = 0;
};

ThermoMeter::ThermoMeter(QWidget* parent) : QWidget(parent) {}

void ThermoMeter::SetRange(double minimum, double maximum) {
    if (range.Reset(minimum, maximum, value, setPoint)) {
        update();
    }
}

void ThermoMeter::SetValue(double v) {
    if (AssignIfChanged(value, range.Clamp(v))) {
        update();
    }
}

void ThermoMeter::SetSetPoint(double v) {
    if (AssignIfChanged(setPoint, range.Clamp(v)) && setPointVisible) {
        update();
    }
}

void ThermoMeter::SetSetPointVisible(bool visible) {
    if (AssignIfChanged(setPointVisible, visible)) {
        update();
    }
}

void ThermoMeter::SetMajorStep(double step) {
    if (AssignIfChanged(majorStep, CheckedStep(step))) {
        update();
    }
}

void ThermoMeter::SetMinorStep(double step) {
    if (AssignIfChanged(minorStep, CheckedStep(step))) {
        update();
    }
}

void ThermoMeter::SetColumnColor(const QColor& color) {
    if (AssignIfChanged(columnColor, color)) {
        update();
    }
}

void ThermoMeter::SetTubeColor(const QColor& color) {
    if (AssignIfChanged(tubeColor, color)) {
        update();
    }
}

void ThermoMeter::SetSetPointColor(const QColor& color) {
    if (AssignIfChanged(setPointColor, color) && setPointVisible) {
        update();
    }
}

void ThermoMeter::SetScaleColor(const QColor& color) {
    if (AssignIfChanged(scaleColor, color)) {
        update();
    }
}

int ThermoMeter::LabelDecimals() const {
    const bool whole = majorStep == std::floor(majorStep) && range.low == std::floor(range.low);
    return whole ? 0 : 1;
}

ThermoMeter::Layout ThermoMeter::ComputeLayout() const {
    const double w = width();
    const double h = height();
    const QLocale locale;
    const QString widest = std::max(locale.toString(range.low, 'f', LabelDecimals()),
                                    locale.toString(range.high, 'f', LabelDecimals()),
                                    [](const QString& a, const QString& b) { return a.size() < b.size(); });

    // Everything follows the tube width; shrink it until scale, tube and marker fit side by side.
    Layout l;
    l.tubeW = std::max(4.0, std::min(w * 0.2, h * 0.075));
    for (int pass = 0; pass < 3; ++pass) {
        l.bulbD = l.tubeW * 2.0;
        l.gap = l.tubeW * 0.3;
        l.fontPx = std::max(7.0, std::min(h * 0.065, l.tubeW * 1.35));
        l.labelW = QFontMetricsF(InstrumentFont(font(), l.fontPx)).horizontalAdvance(widest);
        const double left = l.labelW + l.gap + l.tubeW + l.gap + l.tubeW / 2;
        const double right = std::max(l.bulbD / 2, l.tubeW / 2 + l.gap + l.tubeW * 1.1);
        const double needed = left + right + 2;
        if (needed <= w || l.tubeW <= 4.0) {
            l.cx = std::round((w - needed) / 2 + 1 + left) + 0.5 * (static_cast<int>(l.tubeW) % 2);
            break;
        }
        l.tubeW = std::max(4.0, l.tubeW * w / needed);
    }
    l.bulbCy = h - 2 - l.bulbD / 2;
    l.yTop = std::max(l.fontPx / 2, l.tubeW * 0.9) + 2;
    l.yBottom = l.bulbCy - l.bulbD / 2 - l.tubeW * 0.5;
    return l;
}

double ThermoMeter::YFor(const Layout& l, double v) const {
    return l.yBottom - range.Fraction(v) * (l.yBottom - l.yTop);
}

void ThermoMeter::PaintMarks(QPainter& p, const Layout& l, double step, double length, double width) const {
    if (step <= 0 || (range.high - range.low) / step + 1 > kMaxScaleMarks) {
        return;
    }
    const double right = l.cx - l.tubeW / 2 - l.gap;
    p.setPen(QPen(scaleColor, width, Qt::SolidLine, Qt::FlatCap));
    const int count = static_cast<int>(std::floor((range.high - range.low) / step + 1e-9));
    for (int k = 0; k <= count; ++k) {
        const double y = SnapToPixel(YFor(l, range.low + k * step), width);
        p.drawLine(QPointF(right - length, y), QPointF(right, y));
    }
}

void ThermoMeter::PaintScale(QPainter& p, const Layout& l) const {
    PaintMarks(p, l, minorStep, l.tubeW * 0.5, 1.0);
    PaintMarks(p, l, majorStep, l.tubeW, std::max(1.0, std::round(l.tubeW * 0.15)));

    if (majorStep <= 0 || (range.high - range.low) / majorStep + 1 > kMaxScaleMarks) {
        return;
    }
    const QLocale locale;
    p.setFont(InstrumentFont(font(), l.fontPx));
    p.setPen(scaleColor);
    const double right = l.cx - l.tubeW / 2 - l.gap - l.tubeW - l.gap * 0.6;
    const int count = static_cast<int>(std::floor((range.high - range.low) / majorStep + 1e-9));
    for (int k = 0; k <= count; ++k) {
        const double v = range.low + k * majorStep;
        const double y = YFor(l, v);
        const QRectF box(right - l.labelW - l.fontPx, y - l.fontPx, l.labelW + l.fontPx, 2 * l.fontPx);
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, locale.toString(v, 'f', LabelDecimals()));
    }
}

void ThermoMeter::PaintTube(QPainter& p, const Layout& l) const {
    const double half = l.tubeW / 2;
    const QColor glassEdge(120, 120, 120);
    const double tubeTop = l.yTop - l.tubeW * 0.8;

    // Glass: tube and bulb as one outline, so no seam shows where they meet.
    QPainterPath glass;
    glass.addRoundedRect(QRectF(l.cx - half, tubeTop, l.tubeW, l.bulbCy - tubeTop), half, half);
    glass.addEllipse(QPointF(l.cx, l.bulbCy), l.bulbD / 2, l.bulbD / 2);
    glass.setFillRule(Qt::WindingFill);
    glass = glass.simplified();
    QLinearGradient tube(l.cx - half, 0, l.cx + half, 0);
    tube.setColorAt(0.0, tubeColor.darker(112));
    tube.setColorAt(0.35, tubeColor);
    tube.setColorAt(1.0, tubeColor.darker(125));
    p.setPen(QPen(glassEdge, 1.0));
    p.setBrush(tube);
    p.drawPath(glass);

    // The column, inset in the tube, from the bulb up to the reading.
    const double inset = std::max(1.0, l.tubeW * 0.22);
    const double colHalf = half - inset;
    const double top = YFor(l, value);
    QLinearGradient liquid(l.cx - colHalf, 0, l.cx + colHalf, 0);
    liquid.setColorAt(0.0, columnColor.darker(115));
    liquid.setColorAt(0.4, columnColor.lighter(120));
    liquid.setColorAt(1.0, columnColor.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(liquid);
    p.drawRect(QRectF(l.cx - colHalf, top, 2 * colHalf, l.bulbCy - top));

    const double bulbR = l.bulbD / 2 - inset;
    QRadialGradient drop(l.cx - bulbR * 0.35, l.bulbCy - bulbR * 0.35, bulbR * 1.2);
    drop.setColorAt(0.0, columnColor.lighter(150));
    drop.setColorAt(0.5, columnColor);
    drop.setColorAt(1.0, columnColor.darker(140));
    p.setBrush(drop);
    p.drawEllipse(QPointF(l.cx, l.bulbCy), bulbR, bulbR);

    // A streak of reflected light along the glass.
    p.setPen(QPen(QColor(255, 255, 255, 150), std::max(1.0, l.tubeW * 0.12), Qt::SolidLine, Qt::RoundCap));
    const double x = l.cx - half + l.tubeW * 0.28;
    p.drawLine(QPointF(x, tubeTop + half), QPointF(x, l.yBottom));
}

void ThermoMeter::PaintSetPoint(QPainter& p, const Layout& l) const {
    if (!setPointVisible) {
        return;
    }
    const double y = YFor(l, setPoint);
    const double tip = l.cx + l.tubeW / 2 + l.gap * 0.5;
    const double size = l.tubeW * 1.1;
    QPolygonF marker;
    marker << QPointF(tip, y) << QPointF(tip + size, y - size * 0.55) << QPointF(tip + size, y + size * 0.55);
    p.setPen(QPen(setPointColor.darker(150), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(setPointColor);
    p.drawPolygon(marker);
}

void ThermoMeter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Layout l = ComputeLayout();
    if (l.yBottom <= l.yTop) {
        return;
    }
    PaintScale(p, l);
    PaintTube(p, l);
    PaintSetPoint(p, l);
}
