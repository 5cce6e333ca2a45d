// The program's own start-up, as main() runs it, ending as soon as the window has been painted for the
// first time: it prints the monotonic clock at that moment, in seconds, for startup_bench.
#include "app/guarded_application.h"
#include "app/tform1.h"
#include "bench/child_process.h"

#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace {

// Catches the window's first paint and ends the program once that paint has been handed on.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            QTimer::singleShot(0, [] {
                std::printf("%.6f\n", MonotonicSeconds());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen = false;
};

} // namespace

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    TForm1 window;
    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    app.exec();
    return 0;
}
