#include "app/guarded_application.h"
#include "app/termination_signals.h"
#include "app/tform1.h"

#include <QApplication>
#include <QTimer>

#include <exception>

namespace {

constexpr int kModalRetryMs = 200;

// A modal dialog (an upload, a message) still uses the link: the window closes once it is gone.
void CloseWhenNoDialogIsOpen(QWidget* window) {
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kModalRetryMs, window, [window] { CloseWhenNoDialogIsOpen(window); });
        return;
    }
    window->close();
}

} // namespace

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    // An exception escaping start-up or the message loop is shown and ends the program.
    try {
        // Taken before the window exists, so a signal during start-up still ends the program in order.
        TForm1* window = nullptr;
        bool endAsked = false;
        TerminationSignals endOnSignal([&] {
            endAsked = true;
            if (window)
                CloseWhenNoDialogIsOpen(window);
        });
        TForm1 mainWindow;
        window = &mainWindow;
        mainWindow.show();
        if (endAsked)
            QTimer::singleShot(0, &mainWindow, [&mainWindow] { CloseWhenNoDialogIsOpen(&mainWindow); });
        app.exec();
    } catch (const std::exception& e) {
        GuardedApplication::ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        GuardedApplication::ShowError(QString());
    }
    return 0;
}
