#include "tests/sim/ecusim_process.h"

#include "ecu/com_port_names.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

bool WaitFor(const std::function<bool()>& done, int deadlineMs) {
    QTimer wake;
    wake.start(20);
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

namespace {

int FreeComNumber(const QDir& ports) {
    for (int n = 200; n <= 255; ++n)
        if (!QFileInfo(ports.filePath(ComPortNames::PortText(n))).isSymLink())
            return n;
    return 0;
}

} // namespace

EcusimProcess::EcusimProcess() : ports(ComPortNames::DefaultPortsFolder()), number(FreeComNumber(ports)) {}

EcusimProcess::~EcusimProcess() {
    if (program.state() != QProcess::NotRunning)
        stop();
}

QString EcusimProcess::linkPath() const {
    return ports.filePath(ComPortNames::PortText(number));
}

bool EcusimProcess::start(const QStringList& options) {
    if (number == 0) {
        why = QStringLiteral("no free COM number");
        return false;
    }
    program.start(QStringLiteral(ECUSIM_PATH),
                  QStringList{"--com", QString::number(number), "--ports-dir", ports.path(), "--quiet"} +
                      options);
    if (!program.waitForStarted(5000)) {
        why = program.errorString();
        return false;
    }
    WaitFor([&] { return QFileInfo(linkPath()).isSymLink() || program.state() == QProcess::NotRunning; },
            5000);
    if (!QFileInfo(linkPath()).isSymLink()) {
        why = QString::fromLocal8Bit(program.readAllStandardError());
        return false;
    }
    return true;
}

bool EcusimProcess::stop() {
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
        return false;
    }
    return program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
}
