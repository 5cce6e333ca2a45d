#include "pages/map_chart_view.h"

#include <QMouseEvent>

MapChartView::MapChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);
    setRenderHint(QPainter::Antialiasing);
}

void MapChartView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    if (afterDraw) {
        painter->save();
        afterDraw(*painter);
        painter->restore();
    }
}

void MapChartView::mousePressEvent(QMouseEvent* event) {
    pressedButton = event->button();
    QChartView::mousePressEvent(event);
}

void MapChartView::mouseMoveEvent(QMouseEvent* event) {
    if (mouseMove)
        mouseMove(static_cast<int>(chart()->mapFromScene(mapToScene(event->position().toPoint())).y()),
                  event->modifiers());
    QChartView::mouseMoveEvent(event);
}

void MapChartView::mouseReleaseEvent(QMouseEvent* event) {
    QChartView::mouseReleaseEvent(event);
    if (mouseUp)
        mouseUp(event->button());
    pressedButton = Qt::NoButton;
}
