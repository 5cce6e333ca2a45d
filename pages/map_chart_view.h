#pragma once

#include <QChartView>

#include <functional>

// The map chart's view: reports the mouse and the end of every drawing to the editor.
class MapChartView : public QChartView {
    Q_OBJECT

public:
    explicit MapChartView(QChart* chart, QWidget* parent = nullptr);

    std::function<void(QPainter&)> afterDraw;
    std::function<void(int y, Qt::KeyboardModifiers)> mouseMove; // y in the chart's coordinates
    std::function<void(Qt::MouseButton)> mouseUp;
    // The button of the press in progress, for the series' press signal, which does not carry it.
    Qt::MouseButton PressedButton() const { return pressedButton; }

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Qt::MouseButton pressedButton = Qt::NoButton;
};
