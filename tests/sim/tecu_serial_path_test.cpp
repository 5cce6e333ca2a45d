#include "ecu/tecu.h"
#include "sim/pseudo_terminal.h"
#include "tests/sim/ecusim_process.h"

#include <QFileInfo>

#include <gtest/gtest.h>

// The whole way a fitter's setup takes: ecusim on a pseudo-terminal, the ports/COMn link beside the
// program, and the link's default Qt serial port.
TEST(TecuOnEcusim, ConnectsThroughThePortsLinkAndReceivesLiveValues) {
    std::string why;
    if (!ecusim::PseudoTerminal::Open(why))
        GTEST_SKIP() << "no pseudo-terminals here: " << why;
    EcusimProcess ecusim;
    ASSERT_TRUE(ecusim.start({"--start-temp", "75"})) << ecusim.error().toStdString();
    const int com = ecusim.com();

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

    EXPECT_TRUE(ecusim.stop()) << ecusim.process().readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo(ecusim.linkPath()).isSymLink()) << "ecusim removes its link when it ends";
}
