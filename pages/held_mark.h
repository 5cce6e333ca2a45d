#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

// Watches a control for mouse presses and releases of any button: the "held" mark of a track bar.
class HeldMark : public QObject {
public:
    HeldMark(QObject* control, std::function<void()> onDown, std::function<void()> onUp)
        : QObject(control), down(std::move(onDown)), up(std::move(onUp)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            down();
        else if (event->type() == QEvent::MouseButtonRelease)
            up();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> down;
    std::function<void()> up;
};
