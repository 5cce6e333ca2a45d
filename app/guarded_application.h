#pragma once

#include <QApplication>

#include <functional>

// The application object: an exception escaping an event handler is shown by the standard error
// box and the program goes on.
class GuardedApplication : public QApplication {
public:
    using ErrorDisplay = std::function<void(const QString& message)>;

    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The standard error box; tests replace it.
    static void ShowError(const QString& message);
    static void SetErrorDisplay(ErrorDisplay display);
};
