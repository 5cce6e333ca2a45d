#pragma once

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <memory>

// Runs the event loop until done() holds or the deadline passes. A short timer only makes sure the loop
// wakes up to look; the waiting itself is for the serial port and the link timer.
bool WaitFor(const std::function<bool()>& done, int deadlineMs);

// The real ecusim program on a pseudo-terminal, linked as ports/COMn beside the test programs, on a COM
// number above the ones mapped to devices and unused by any other run.
class EcusimProcess {
public:
    EcusimProcess();
    ~EcusimProcess();

    int com() const { return number; }
    QString linkPath() const;
    // Starts ecusim with the options and waits for its link; false with the reason in error().
    bool start(const QStringList& options = {});
    // Ends it as Ctrl+C would; true when it ended cleanly.
    bool stop();
    QString error() const { return why; }
    QProcess& process() { return program; }

private:
    QDir ports;
    // Held while this run owns the number, so test programs running side by side never share one.
    std::unique_ptr<QLockFile> claim;
    int number = 0;
    QProcess program;
    QString why;
};
