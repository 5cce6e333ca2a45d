#include "ecu/tecu.h"
#include "sim/pseudo_terminal.h"
#include "tests/sim/ecusim_process.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

struct LineFault {
    const char* name;
    QStringList options;
};

class LineFaultsOnEcusim : public ::testing::TestWithParam<LineFault> {};

// A poor line on the real serial path: the link connects, stays up and keeps the values coming.
TEST_P(LineFaultsOnEcusim, LinkStaysUpAndValuesKeepComing) {
    std::string why;
    if (!ecusim::PseudoTerminal::Open(why))
        GTEST_SKIP() << "no pseudo-terminals here: " << why;
    EcusimProcess ecusim;
    ASSERT_TRUE(ecusim.start(GetParam().options)) << ecusim.error().toStdString();

    Tecu tecu;
    int linkLost = 0, rpmReports = 0;
    tecu.OnConnected.bind([&] {
        tecu.eventsEnabled = true;
        tecu.RefreshAll();
    });
    tecu.OnRpm.bind([&](int32_t) { ++rpmReports; });
    tecu.SetPort(ecusim.com());
    ASSERT_TRUE(tecu.OpenPort()) << tecu.Port().lastError();
    ASSERT_TRUE(WaitFor([&] { return tecu.IsConnected(); }, 20000)) << "link state " << tecu.linkState;
    tecu.OnLinkLost.bind([&] { ++linkLost; });

    QElapsedTimer clock;
    clock.start();
    int connectedTicks = 0, ticks = 0;
    WaitFor(
        [&] {
            ++ticks;
            connectedTicks += tecu.IsConnected() ? 1 : 0;
            return clock.elapsed() > 4000;
        },
        6000);
    EXPECT_EQ(linkLost, 0);
    EXPECT_GT(connectedTicks, ticks * 9 / 10);
    EXPECT_GT(rpmReports, 0);
    tecu.Disconnect();
}

INSTANTIATE_TEST_SUITE_P(Faults, LineFaultsOnEcusim,
                         ::testing::Values(LineFault{"Corrupt5Percent", {"--corrupt", "0.05"}},
                                           LineFault{"Drop5Percent", {"--drop", "0.05"}},
                                           LineFault{"NoiseBetweenFrames", {"--noise", "0.05"}}),
                         [](const ::testing::TestParamInfo<LineFault>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
