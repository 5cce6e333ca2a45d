#include "widgets/status_light.h"

#include "widgets/assign_if_changed.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

StatusLight::StatusLight(QWidget* parent) : QWidget(parent), notLitColor(palette().color(QPalette::Button)) {}

void StatusLight::SetLit(bool on) {
    if (AssignIfChanged(lit, on)) {
        update();
    }
}

void StatusLight::SetLitColor(const QColor& color) {
    if (AssignIfChanged(litColor, color) && lit) {
        update();
    }
}

void StatusLight::SetNotLitColor(const QColor& color) {
    if (AssignIfChanged(notLitColor, color) && !lit) {
        update();
    }
}

namespace {

// Up to this aspect ratio the lamp is drawn as a circle.
constexpr double kRoundAspect = 1.3;

QPainterPath LampShape(const QRectF& area) {
    QPainterPath path;
    const double w = area.width();
    const double h = area.height();
    if (std::max(w, h) <= kRoundAspect * std::min(w, h)) {
        const double d = std::min(w, h);
        path.addEllipse(QRectF(area.center().x() - d / 2, area.center().y() - d / 2, d, d));
    } else {
        const double r = std::min(w, h) * 0.3;
        path.addRoundedRect(area, r, r);
    }
    return path;
}

} // namespace

void StatusLight::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = LampShape(area);
    const QRectF box = shape.boundingRect();
    const QColor base = CurrentColor();

    // Light falls from the upper left: brighter there, darker towards the lower right rim.
    QRadialGradient body(box.left() + box.width() * 0.35, box.top() + box.height() * 0.3,
                         std::max(box.width(), box.height()) * 0.8);
    body.setColorAt(0.0, base.lighter(lit ? 125 : 112));
    body.setColorAt(0.6, base);
    body.setColorAt(1.0, base.darker(lit ? 125 : 140));
    p.setPen(QPen(base.darker(220), 1.0));
    p.setBrush(body);
    p.drawPath(shape);

    // A soft reflection in the upper part; fainter on an unlit lamp.
    const QRectF glint(box.left() + box.width() * 0.18, box.top() + box.height() * 0.1, box.width() * 0.45,
                       box.height() * 0.35);
    QRadialGradient shine(glint.center(), std::max(glint.width(), glint.height()) * 0.6);
    shine.setColorAt(0.0, QColor(255, 255, 255, lit ? 170 : 90));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(glint);
}
