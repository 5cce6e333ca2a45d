#include "ecu/tecu.h"
#include "sim/pseudo_terminal.h"
#include "tests/sim/ecusim_process.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

// The adapter pulled and put back: ecusim ends and starts again on the same COM number while the link
// is connected through the real Qt serial port.
TEST(TecuOnEcusim, PulledAdapterLosesTheLinkIdlesAndReconnectsByItself) {
    std::string why;
    if (!ecusim::PseudoTerminal::Open(why))
        GTEST_SKIP() << "no pseudo-terminals here: " << why;
    EcusimProcess ecusim;
    ASSERT_TRUE(ecusim.start()) << ecusim.error().toStdString();

    Tecu tecu;
    int connected = 0, linkLost = 0, portLost = 0, portBack = 0;
    tecu.OnConnected.bind([&] {
        ++connected;
        tecu.eventsEnabled = true;
        tecu.RefreshAll();
    });
    tecu.OnLinkLost.bind([&] { ++linkLost; });
    tecu.OnPortLost.bind([&] { ++portLost; });
    tecu.OnPortReopened.bind([&] { ++portBack; });
    tecu.SetPort(ecusim.com());
    ASSERT_TRUE(tecu.OpenPort()) << tecu.Port().lastError();
    ASSERT_TRUE(WaitFor([&] { return tecu.IsConnected(); }, 15000));
    linkLost = 0;

    ecusim.stop();
    EXPECT_TRUE(WaitFor([&] { return portLost > 0; }, 3000))
        << "the loss is seen at once, not after the timeout";
    EXPECT_FALSE(tecu.IsPortOpen());
    EXPECT_FALSE(tecu.IsConnected());
    EXPECT_EQ(linkLost, 1);

    // While the adapter is away the program idles.
    QElapsedTimer away;
    away.start();
    const double cpuBefore = CpuSeconds();
    WaitFor([] { return false; }, 2000);
    const double cpuShare = (CpuSeconds() - cpuBefore) / (static_cast<double>(away.elapsed()) / 1000.0);
    EXPECT_LT(cpuShare, 0.05);
    EXPECT_EQ(portLost, 1);

    ASSERT_TRUE(ecusim.start()) << ecusim.error().toStdString();
    QElapsedTimer replug;
    replug.start();
    EXPECT_TRUE(WaitFor([&] { return tecu.IsConnected(); }, 15000)) << "link state " << tecu.linkState;
    const double reconnectSeconds = static_cast<double>(replug.elapsed()) / 1000.0;
    EXPECT_EQ(portBack, 1);
    EXPECT_EQ(connected, 2);
    std::printf("reconnect after replug: %.2f s; CPU while away: %.2f %% of one core\n", reconnectSeconds,
                cpuShare * 100);
    RecordProperty("reconnect_ms", static_cast<int>(replug.elapsed()));
    tecu.Disconnect();
}
