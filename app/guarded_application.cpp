#include "app/guarded_application.h"

#include <QMessageBox>

#include <exception>

namespace {
GuardedApplication::ErrorDisplay& ErrorDisplaySlot() {
    static GuardedApplication::ErrorDisplay display;
    return display;
}
} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowError(QString());
    }
    return false;
}

void GuardedApplication::ShowError(const QString& message) {
    if (ErrorDisplaySlot())
        ErrorDisplaySlot()(message);
    else
        QMessageBox::critical(nullptr, QApplication::applicationName(), message);
}

void GuardedApplication::SetErrorDisplay(ErrorDisplay display) {
    ErrorDisplaySlot() = std::move(display);
}
