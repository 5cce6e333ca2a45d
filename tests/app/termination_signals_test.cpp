#include "app/termination_signals.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class TerminationSignalTable : public ::testing::TestWithParam<int> {};

// The handler runs on the GUI thread from the event loop, never inside the signal handler.
TEST_P(TerminationSignalTable, ReachesTheHandlerThroughTheEventLoop) {
    int calls = 0;
    {
        TerminationSignals endOnSignal([&calls] { ++calls; });
        ASSERT_EQ(std::raise(GetParam()), 0);
        EXPECT_EQ(calls, 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, 1);
    }
    // Once the object is gone the signal has its default meaning again.
    struct sigaction now = {};
    ASSERT_EQ(::sigaction(GetParam(), nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignalTable, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

} // namespace
