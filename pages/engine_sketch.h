#pragma once

#include <QWidget>

class QPainter;

// The Status page's decoration: a gas installation in outline, tank, reducer and the injector rail on
// the engine, stretched to the widget. Shows nothing of the ECU.
class EngineSketch : public QWidget {
    Q_OBJECT

public:
    explicit EngineSketch(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {300, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static void PaintTank(QPainter& p);
    static void PaintReducer(QPainter& p);
    static void PaintEngine(QPainter& p);
    static void PaintPipes(QPainter& p);
};
