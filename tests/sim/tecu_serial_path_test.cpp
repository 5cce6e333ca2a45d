#include "ecu/com_port_names.h"
#include "ecu/tecu.h"
#include "sim/pseudo_terminal.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the event loop until done() holds or the deadline passes. The timer only makes sure the loop wakes
// up to look; the waiting itself is for the serial port and the link timer.
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

// A number above the ones mapped to devices, so only the link can answer for it, and one no other run uses.
int FreeComNumber(const QDir& ports) {
    for (int n = 200; n <= 255; ++n)
        if (!QFileInfo(ports.filePath(ComPortNames::PortText(n))).isSymLink())
            return n;
    return 0;
}

} // namespace

// The whole way a fitter's setup takes: ecusim on a pseudo-terminal, the ports/COMn link beside the
// program, and the link's default Qt serial port.
TEST(TecuOnEcusim, ConnectsThroughThePortsLinkAndReceivesLiveValues) {
    std::string why;
    if (!ecusim::PseudoTerminal::Open(why))
        GTEST_SKIP() << "no pseudo-terminals here: " << why;
    const QDir ports(ComPortNames::DefaultPortsFolder());
    const int com = FreeComNumber(ports);
    ASSERT_NE(com, 0);
    const QString link = ports.filePath(ComPortNames::PortText(com));

    QProcess ecusim;
    ecusim.start(QStringLiteral(ECUSIM_PATH), {"--com", QString::number(com), "--ports-dir", ports.path(),
                                               "--quiet", "--start-temp", "75"});
    ASSERT_TRUE(ecusim.waitForStarted(5000)) << ecusim.errorString().toStdString();
    ASSERT_TRUE(
        WaitFor([&] { return QFileInfo(link).isSymLink() || ecusim.state() == QProcess::NotRunning; }, 5000));
    ASSERT_TRUE(QFileInfo(link).isSymLink()) << ecusim.readAllStandardError().toStdString();

    {
        Tecu tecu;
        int connected = 0;
        int32_t rpm = 0;
        tecu.OnConnected.bind([&] {
            ++connected;
            tecu.eventsEnabled = true;
            tecu.RefreshAll();
            tecu.RequestMap();
        });
        tecu.OnRpm.bind([&](int32_t v) { rpm = v; });
        tecu.SetPort(com);
        ASSERT_TRUE(tecu.OpenPort()) << tecu.Port().lastError();
        EXPECT_TRUE(WaitFor([&] { return tecu.IsConnected(); }, 15000)) << "link state " << tecu.linkState;
        EXPECT_TRUE(WaitFor(
            [&] { return rpm > 0 && tecu.injectionTime[0] > 0 && tecu.reducerTemperature > 0; }, 5000));
        EXPECT_EQ(connected, 1);
        EXPECT_NEAR(rpm, 850, 30);
        EXPECT_NEAR(tecu.injectionTime[0], 250, 3);
        EXPECT_EQ(tecu.ecuVersionMajor, 2);
        EXPECT_EQ(tecu.ecuVersionMinor, 7);
        EXPECT_EQ(tecu.reducerTemperature / 100, 75);
        tecu.Disconnect();
    }

    ecusim.terminate();
    ASSERT_TRUE(ecusim.waitForFinished(5000));
    EXPECT_EQ(ecusim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ecusim.exitCode(), 0) << ecusim.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "ecusim removes its link when it ends";
}
