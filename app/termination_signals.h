#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in the terminal) end the program the way its
// window's close does, so the ECU still gets its stop and the port is closed in order. The signal
// handler only writes a byte to a socket; the close runs later on the GUI thread.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void takeSignal();

    std::function<void()> handler;
    QSocketNotifier* notifier = nullptr;
};
