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

// A number whose link is missing and which no other run has claimed; a claim left by a killed run
// counts as stale and is taken over.
int ClaimFreeComNumber(const QDir& ports, std::unique_ptr<QLockFile>& claim) {
    ports.mkpath(QStringLiteral("."));
    for (int n = 200; n <= 255; ++n) {
        const QString name = ComPortNames::PortText(n);
        auto lock = std::make_unique<QLockFile>(ports.filePath(name + QStringLiteral(".claim")));
        if (!lock->tryLock(0))
            continue;
        if (QFileInfo(ports.filePath(name)).isSymLink())
            continue;
        claim = std::move(lock);
        return n;
    }
    return 0;
}

} // namespace

EcusimProcess::EcusimProcess()
    : ports(ComPortNames::DefaultPortsFolder()), number(ClaimFreeComNumber(ports, claim)) {}

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
