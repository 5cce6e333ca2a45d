#include "widgets/angular_meter.h"

#include "widgets/assign_if_changed.h"
#include "widgets/instrument_font.h"

#include <QEvent>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Radii as shares of the dial radius, from the rim inwards.
constexpr double kRim = 1.0;
constexpr double kTickOuter = 0.90;
constexpr double kLongTick = 0.17;
constexpr double kShortTick = 0.08;
constexpr double kZoneOuter = 0.90;
constexpr double kZoneWidth = 0.08;
constexpr double kLabelRadius = 0.61;
constexpr double kNeedleLength = 0.86;
constexpr double kHubRadius = 0.075;
constexpr double kUnseenTipTravel = 0.25; // pixels
// A sector dial reaches this far past both ends of its arc and round its centre, so that the end
// marks and the hub stand on the face rather than on its edge.
constexpr double kSectorPad = 9.0;
constexpr double kSectorBack = 0.14;

QPointF Polar(double degrees, double radius) {
    const double a = degrees * kPi / 180.0;
    return {radius * std::sin(a), -radius * std::cos(a)};
}

// QPainter counts angles anticlockwise from 3 o'clock in sixteenths of a degree.
int QtAngle16(double degrees) {
    return static_cast<int>(std::lround((90.0 - degrees) * 16.0));
}

} // namespace

struct AngularMeter::Layout {
    QPointF centre;
    double radius = 0.0;
    QPainterPath face; // outline of the dial in widget coordinates
};

AngularMeter::AngularMeter(QWidget* parent) : QWidget(parent) {}

void AngularMeter::DropFace() {
    shownPosition = position;
    faceCache = QPixmap();
    update();
}

void AngularMeter::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        DropFace();
    QWidget::changeEvent(event);
}

void AngularMeter::SetRange(double minimum, double maximum) {
    if (range.Reset(minimum, maximum, position)) {
        DropFace();
    }
}

void AngularMeter::SetPosition(double value) {
    if (!AssignIfChanged(position, range.Clamp(value)))
        return;
    if (!FaceIsCurrent()) {
        shownPosition = position;
        update();
        return;
    }
    if (TipTravel(shownPosition, position) < kUnseenTipTravel)
        return;
    const double before = shownPosition;
    shownPosition = position;
    update(NeedleRect(before) | NeedleRect(shownPosition));
}

double AngularMeter::TipTravel(double from, double to) const {
    return std::abs(AngleFor(to) - AngleFor(from)) * kPi / 180.0 * faceRadius * kNeedleLength;
}

void AngularMeter::SetStartAngle(double degrees) {
    if (std::isfinite(degrees) && AssignIfChanged(startAngle, degrees)) {
        DropFace();
    }
}

void AngularMeter::SetArcAngle(double degrees) {
    if (std::isfinite(degrees) && AssignIfChanged(arcAngle, std::clamp(degrees, 0.0, 360.0))) {
        DropFace();
    }
}

double AngularMeter::AngleFor(double value) const {
    return startAngle + arcAngle * range.Fraction(value);
}

QPointF AngularMeter::ScalePoint(double value, double radiusShare) const {
    const Layout l = ComputeLayout();
    return l.centre + Polar(AngleFor(value), l.radius * radiusShare);
}

void AngularMeter::SetTickCount(int divisions) {
    if (AssignIfChanged(tickCount, std::clamp(divisions, 0, kMaxTickCount))) {
        DropFace();
    }
}

void AngularMeter::SetLongTickInterval(int n) {
    if (AssignIfChanged(longTickInterval, std::max(n, 0))) {
        DropFace();
    }
}

void AngularMeter::SetZones(const QList<Zone>& z) {
    if (AssignIfChanged(zones, z)) {
        DropFace();
    }
}

void AngularMeter::SetCaption(const QString& text) {
    if (AssignIfChanged(caption, text)) {
        DropFace();
    }
}

void AngularMeter::SetScaleLabels(ScaleLabels kind) {
    if (AssignIfChanged(labels, kind)) {
        DropFace();
    }
}

void AngularMeter::SetLabelTexts(const QStringList& texts) {
    if (AssignIfChanged(labelTexts, texts)) {
        DropFace();
    }
}

void AngularMeter::SetLabelDecimals(int decimals) {
    if (AssignIfChanged(labelDecimals, std::clamp(decimals, 0, 6))) {
        DropFace();
    }
}

void AngularMeter::SetFaceColor(const QColor& color) {
    if (AssignIfChanged(faceColor, color)) {
        DropFace();
    }
}

void AngularMeter::SetScaleColor(const QColor& color) {
    if (AssignIfChanged(scaleColor, color)) {
        DropFace();
    }
}

void AngularMeter::SetNeedleColor(const QColor& color) {
    // The needle is not part of the kept face.
    if (AssignIfChanged(needleColor, color)) {
        shownPosition = position;
        update();
    }
}

AngularMeter::Layout AngularMeter::ComputeLayout() const {
    // The dial's outline on a unit circle round the origin, then fitted into the widget.
    QPainterPath unit;
    if (FullFace()) {
        unit.addEllipse(QPointF(0, 0), kRim, kRim);
    } else {
        const double from = startAngle - kSectorPad;
        const double span = arcAngle + 2 * kSectorPad;
        const QRectF box(-kRim, -kRim, 2 * kRim, 2 * kRim);
        unit.moveTo(0, 0);
        unit.arcTo(box, 90.0 - from, -span);
        unit.closeSubpath();
        QPainterPath back;
        back.addEllipse(QPointF(0, 0), kSectorBack, kSectorBack);
        unit = unit.united(back);
    }
    const QRectF bounds = unit.boundingRect();
    const QRectF area = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);

    Layout l;
    l.radius = std::max(0.0, std::min(area.width() / bounds.width(), area.height() / bounds.height()));
    l.centre = area.center() - bounds.center() * l.radius;
    QTransform toWidget;
    toWidget.translate(l.centre.x(), l.centre.y());
    toWidget.scale(l.radius, l.radius);
    l.face = toWidget.map(unit);
    return l;
}

void AngularMeter::PaintFace(QPainter& p, const Layout& l) const {
    QRadialGradient fill(l.centre - QPointF(0, l.radius * 0.3), l.radius * 1.3);
    fill.setColorAt(0.0, faceColor.lighter(104));
    fill.setColorAt(1.0, faceColor.darker(112));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(l.face);

    // A bezel darker at the bottom, as if lit from above.
    const double w = std::max(1.0, l.radius * 0.045);
    QLinearGradient bezel(l.centre - QPointF(0, l.radius), l.centre + QPointF(0, l.radius));
    bezel.setColorAt(0.0, QColor(150, 150, 150));
    bezel.setColorAt(1.0, QColor(50, 50, 50));
    p.setPen(QPen(QBrush(bezel), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(l.face);
}

void AngularMeter::PaintZones(QPainter& p, const Layout& l) const {
    const double r = l.radius * (kZoneOuter - kZoneWidth / 2);
    const QRectF box(l.centre.x() - r, l.centre.y() - r, 2 * r, 2 * r);
    for (const Zone& zone : zones) {
        const double a = AngleFor(std::min(zone.from, zone.to));
        const double b = AngleFor(std::max(zone.from, zone.to));
        if (b <= a) {
            continue;
        }
        p.setPen(QPen(zone.color, l.radius * kZoneWidth, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(box, QtAngle16(a), QtAngle16(b) - QtAngle16(a));
    }
}

void AngularMeter::PaintTicks(QPainter& p, const Layout& l) const {
    if (tickCount == 0) {
        return;
    }
    const int marks = arcAngle >= 360.0 ? tickCount : tickCount + 1;
    const QPen longPen(scaleColor, std::max(1.2, l.radius * 0.022), Qt::SolidLine, Qt::FlatCap);
    const QPen shortPen(scaleColor, std::max(1.0, l.radius * 0.011), Qt::SolidLine, Qt::FlatCap);
    for (int i = 0; i < marks; ++i) {
        const bool isLong = longTickInterval > 0 && i % longTickInterval == 0;
        const double angle = startAngle + arcAngle * i / tickCount;
        const double inner = kTickOuter - (isLong ? kLongTick : kShortTick);
        p.setPen(isLong ? longPen : shortPen);
        p.drawLine(l.centre + Polar(angle, l.radius * kTickOuter), l.centre + Polar(angle, l.radius * inner));
    }
}

QList<AngularMeter::Label> AngularMeter::LabelPlaces() const {
    QList<double> ticks; // fractions of the long ticks, or of every tick when none is long
    if (tickCount == 0) {
        ticks = {0.0, 1.0};
    } else {
        const int marks = arcAngle >= 360.0 ? tickCount : tickCount + 1;
        const int step = longTickInterval > 0 ? longTickInterval : 1;
        for (int i = 0; i < marks; i += step) {
            ticks.append(static_cast<double>(i) / tickCount);
        }
    }

    QList<Label> places;
    if (labels == ScaleLabels::Numbers) {
        const QLocale locale;
        for (double f : ticks) {
            places.append({f, locale.toString(range.ValueAt(f), 'f', labelDecimals)});
        }
    } else if (labels == ScaleLabels::Texts) {
        const qsizetype n = labelTexts.size();
        for (qsizetype i = 0; i < n; ++i) {
            const double f = n == ticks.size() ? ticks[i] : (n > 1 ? static_cast<double>(i) / (n - 1) : 0.0);
            places.append({f, labelTexts[i]});
        }
    }
    return places;
}

void AngularMeter::PaintLabels(QPainter& p, const Layout& l) const {
    const QList<Label> places = LabelPlaces();
    if (places.isEmpty()) {
        return;
    }
    p.setFont(InstrumentFont(font(), l.radius * 0.13, true));
    p.setPen(scaleColor);
    const double box = l.radius * 0.5;
    for (const Label& label : places) {
        const QPointF at = l.centre + Polar(startAngle + arcAngle * label.fraction, l.radius * kLabelRadius);
        p.drawText(QRectF(at.x() - box / 2, at.y() - box / 2, box, box), Qt::AlignCenter, label.text);
    }
}

void AngularMeter::PaintCaption(QPainter& p, const Layout& l) const {
    if (caption.isEmpty()) {
        return;
    }
    // A round dial has room in the gap of its arc; a sector dial only between hub and labels.
    const double middle = startAngle + arcAngle / 2;
    const QPointF at = FullFace() ? l.centre + Polar(middle + 180.0, l.radius * 0.42)
                                  : l.centre + Polar(middle, l.radius * 0.33);
    p.setFont(InstrumentFont(font(), l.radius * 0.11, true));
    p.setPen(scaleColor);
    const double w = l.radius * 0.9;
    const double h = l.radius * 0.25;
    p.drawText(QRectF(at.x() - w / 2, at.y() - h / 2, w, h), Qt::AlignCenter, caption);
}

// The needle pointing up from the centre, for a dial of radius r.
QPolygonF AngularMeter::NeedleShape(double r) const {
    const double tail = FullFace() ? r * 0.16 : 0.0;
    QPolygonF needle;
    needle << QPointF(-r * 0.032, tail) << QPointF(-r * 0.009, -r * kNeedleLength)
           << QPointF(0, -r * (kNeedleLength + 0.015)) << QPointF(r * 0.009, -r * kNeedleLength)
           << QPointF(r * 0.032, tail);
    return needle;
}

// What the needle covers at a value, outline and hub included, with a pixel to spare for
// antialiasing: a moving needle repaints only where it was and where it goes.
QRect AngularMeter::NeedleRect(double value) const {
    const double r = faceRadius;
    QTransform turn;
    turn.translate(faceCentre.x(), faceCentre.y());
    turn.rotate(AngleFor(value));
    const QRectF needle = turn.map(NeedleShape(r)).boundingRect();
    const int spare = 2 + static_cast<int>(std::ceil(r * 0.005));
    return (needle | HubRect(faceCentre, r)).toAlignedRect().adjusted(-spare, -spare, spare, spare);
}

// No shadow under the needle: a translucent polygon fill on every move cost more than the whole rest
// of a live repaint.
void AngularMeter::PaintNeedle(QPainter& p) const {
    const double r = faceRadius;
    p.save();
    p.translate(faceCentre);
    p.rotate(NeedleAngle());
    p.setBrush(needleColor);
    p.setPen(QPen(needleColor.darker(140), std::max(0.6, r * 0.005)));
    p.drawPolygon(NeedleShape(r));
    p.restore();
    p.drawPixmap(hubAt, hubCache);
}

QRectF AngularMeter::HubRect(QPointF centre, double r) {
    const double hubRadius = r * kHubRadius + 1.0; // a pixel round it for antialiasing
    return {centre - QPointF(hubRadius, hubRadius), QSizeF(2 * hubRadius, 2 * hubRadius)};
}

// A transparent picture of a size in widget pixels, sharp on the widget's screen.
QPixmap AngularMeter::BlankPicture(QSize pixels) const {
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(pixels * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    return picture;
}

// Whole-pixel placement, so the picture is copied rather than resampled.
void AngularMeter::PaintHub(QPointF centre, double r) {
    const QRect area = HubRect(centre, r).toAlignedRect();
    hubAt = area.topLeft();
    hubCache = BlankPicture(area.size());
    QPainter p(&hubCache);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-QPointF(hubAt));
    QRadialGradient hub(centre - QPointF(r * 0.025, r * 0.025), r * kHubRadius * 1.4);
    hub.setColorAt(0.0, QColor(120, 120, 120));
    hub.setColorAt(1.0, QColor(20, 20, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(hub);
    p.drawEllipse(centre, r * kHubRadius, r * kHubRadius);
}

// Only the needle moves with the value: the face, scale and texts are drawn once per look and size
// and kept, so a dial that follows a live value costs one picture copy and the needle.
void AngularMeter::PaintStill(const Layout& l) {
    faceCache = BlankPicture(size());
    QPainter p(&faceCache);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintFace(p, l);
    PaintZones(p, l);
    PaintTicks(p, l);
    PaintLabels(p, l);
    PaintCaption(p, l);
    faceCentre = l.centre;
    faceRadius = l.radius;
    PaintHub(l.centre, l.radius);
}

bool AngularMeter::FaceIsCurrent() const {
    return !faceCache.isNull() && faceCache.deviceIndependentSize() == QSizeF(size()) &&
           faceCache.devicePixelRatio() == devicePixelRatioF();
}

void AngularMeter::paintEvent(QPaintEvent*) {
    if (!FaceIsCurrent()) {
        const Layout l = ComputeLayout();
        if (l.radius < 4.0)
            return;
        PaintStill(l);
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(0, 0, faceCache);
    PaintNeedle(p);
}
