#include "pages/engine_sketch.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
// Drawn on a 300 x 160 board, then stretched to the widget.
constexpr QSizeF kBoard{300, 160};
constexpr int kInjectors = 4;
const QColor kOutline{40, 40, 48};
const QColor kPipe{230, 150, 20};
} // namespace

EngineSketch::EngineSketch(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void EngineSketch::PaintTank(QPainter& p) {
    const QRectF body(12, 92, 96, 46);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0.0, QColor(190, 230, 190));
    shade.setColorAt(0.5, QColor(60, 150, 70));
    shade.setColorAt(1.0, QColor(25, 80, 35));
    p.setBrush(shade);
    p.setPen(QPen(kOutline, 1.5));
    p.drawRoundedRect(body, 22, 22);
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(54, 84, 14, 8)); // valve
}

void EngineSketch::PaintReducer(QPainter& p) {
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(175, 180, 190));
    p.drawEllipse(QRectF(126, 96, 40, 40));
    p.setBrush(QColor(120, 125, 135));
    p.drawEllipse(QRectF(138, 108, 16, 16));
}

void EngineSketch::PaintEngine(QPainter& p) {
    QPainterPath block;
    block.addRoundedRect(QRectF(186, 70, 102, 72), 8, 8);
    QLinearGradient shade(QPointF(186, 70), QPointF(186, 142));
    shade.setColorAt(0.0, QColor(150, 155, 165));
    shade.setColorAt(1.0, QColor(80, 84, 92));
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(shade);
    p.drawPath(block);
    // The injector rail with one injector per cylinder.
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(192, 30, 90, 12), 4, 4);
    for (int i = 0; i < kInjectors; ++i) {
        const double x = 200 + i * 22;
        p.setBrush(QColor(30, 120, 200));
        p.drawRoundedRect(QRectF(x, 42, 10, 20), 3, 3);
        p.setPen(QPen(kOutline, 2));
        p.drawLine(QPointF(x + 5, 62), QPointF(x + 5, 72));
        p.setPen(QPen(kOutline, 1.5));
    }
}

void EngineSketch::PaintPipes(QPainter& p) {
    p.setPen(QPen(kPipe, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath feed(QPointF(61, 84));
    feed.cubicTo(QPointF(61, 60), QPointF(146, 70), QPointF(146, 96));
    p.drawPath(feed);
    QPainterPath rail(QPointF(166, 116));
    rail.cubicTo(QPointF(180, 116), QPointF(172, 36), QPointF(192, 36));
    p.drawPath(rail);
}

void EngineSketch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width() / kBoard.width(), height() / kBoard.height());
    PaintPipes(p);
    PaintTank(p);
    PaintReducer(p);
    PaintEngine(p);
}
