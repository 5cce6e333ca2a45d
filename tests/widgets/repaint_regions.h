#pragma once

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

// Collects the regions a widget is asked to repaint.
class RepaintRegions : public QObject {
public:
    explicit RepaintRegions(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            asked += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion asked;
};
