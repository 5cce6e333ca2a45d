#include "sim/drive_replay.h"
#include "sim/virtual_ecu.h"
#include "tests/sim/report_reader.h"
#include "tests/support/ecu_frames.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;
using drive_log::Line;
using ecusim::DriveReplay;
using ecusim::VirtualEcu;

namespace {

constexpr double kBarPerCount = 0.0044803225806451605;

Line At(uint32_t rpm, bool gas = true) {
    return Line{rpm, 245, 312, 450, gas};
}

std::vector<Line> Numbered(std::size_t count) {
    std::vector<Line> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(At(static_cast<uint32_t>(1000 + i)));
    return lines;
}

void Send(VirtualEcu& ecu, uint8_t letter) {
    ecu.receive(EcuFrames::FromHost({letter}));
}

// One speed of the period field at an engine speed as the host reads it: the rpm between two
// neighbouring tenths of a period, at least 1.
int PeriodStep(int rpm) {
    const int tenths = 3'000'000 / std::max(rpm, 1);
    return std::max(1, 3'000'000 / std::max(tenths, 1) - 3'000'000 / (tenths + 1));
}

TEST(DriveReplayPace, OneLineEveryHundredMillisecondsOfRecordedTime) {
    struct Case {
        double speed;
        int64_t lineUs;
    };
    for (const Case c : {Case{1.0, 100'000}, Case{0.25, 400'000}, Case{8.0, 12'500}, Case{20.0, 12'500}}) {
        DriveReplay replay(Numbered(3), c.speed, false);
        replay.advance(c.lineUs - 1);
        EXPECT_EQ(replay.index(), 0u) << c.speed;
        EXPECT_EQ(replay.untilNextLineUs(), 1) << c.speed;
        replay.advance(1);
        EXPECT_EQ(replay.index(), 1u) << c.speed;
        replay.advance(10 * c.lineUs);
        EXPECT_EQ(replay.index(), 2u) << c.speed << ": the last line holds";
        EXPECT_TRUE(replay.atEnd());
        EXPECT_EQ(replay.untilNextLineUs(), INT64_MAX);
    }
}

TEST(DriveReplayPace, LoopsPausesAndSteps) {
    DriveReplay looping(Numbered(3), 1.0, true);
    looping.advance(350'000);
    EXPECT_EQ(looping.index(), 0u) << "three lines on: round to the first again";
    EXPECT_EQ(looping.moves(), 3u);

    DriveReplay replay(Numbered(3), 1.0, false);
    replay.togglePause();
    replay.advance(1'000'000);
    EXPECT_EQ(replay.index(), 0u) << "paused";
    replay.step();
    EXPECT_EQ(replay.index(), 1u);
    EXPECT_TRUE(replay.isPaused()) << "a step pauses";
    replay.togglePause();
    replay.advance(99'999);
    EXPECT_EQ(replay.index(), 1u) << "a stepped line gets its whole time";
    replay.advance(1);
    EXPECT_EQ(replay.index(), 2u);
    replay.step();
    EXPECT_EQ(replay.index(), 2u) << "no step beyond the end";
}

struct WireCase {
    const char* name;
    Line line;
    int divider;
};

class ReplayOnTheWire : public ::testing::TestWithParam<WireCase> {};

// The host reads the recorded values back: exactly where a word carries them, and the speed within one
// step of the period field where the field is coarser than one rpm (above about 1730 rpm).
TEST_P(ReplayOnTheWire, LiveReportsCarryTheRecordedValuesAsTheHostShowsThem) {
    const WireCase& c = GetParam();
    VirtualEcu ecu;
    ecu.settings().rpmDivider = static_cast<uint8_t>(c.divider);
    ecu.startReplay(DriveReplay({c.line}, 1.0, false));
    Send(ecu, '*');
    const auto lives = RunFor(ecu, 300ms).ofType('1');
    ASSERT_FALSE(lives.empty());
    const LiveView shown(lives.back(), c.divider);
    const int rpm = static_cast<int>(c.line.rpm);
    if (rpm * c.divider < 1732) {
        EXPECT_EQ(shown.rpm, rpm);
    } else {
        EXPECT_LE(std::abs(shown.rpm - rpm), PeriodStep(rpm * c.divider) / c.divider + 1) << shown.rpm;
    }
    EXPECT_EQ(shown.injection[0], static_cast<int>(c.line.injection));
    EXPECT_EQ(shown.lambda, static_cast<int>(c.line.lambda));
    EXPECT_EQ(std::lround(shown.pressureBar / kBarPerCount), static_cast<long>(c.line.gasPressure));
    for (int n = 1; n < 8; ++n)
        EXPECT_NEAR(shown.injection[n], shown.injection[0], shown.injection[0] * 0.02 + 1)
            << "cylinder " << n + 1;
}

INSTANTIATE_TEST_SUITE_P(Lines, ReplayOnTheWire,
                         ::testing::Values(WireCase{"Idle", {850, 245, 312, 450, true}, 1},
                                           WireCase{"Stopped", {0, 0, 0, 0, false}, 1},
                                           WireCase{"SlowestTheHostShows", {458, 1, 1, 1, false}, 1},
                                           WireCase{"OddInjectionTime", {1200, 333, 0, 1023, true}, 1},
                                           WireCase{"LastExactSpeed", {1731, 26214, 65535, 65535, true}, 1},
                                           WireCase{"FirstCoarseSpeed", {1733, 500, 300, 400, true}, 1},
                                           WireCase{"Cruising", {2500, 410, 300, 400, true}, 1},
                                           WireCase{"RedLine", {6000, 900, 280, 500, false}, 1},
                                           WireCase{"IdleWithDividerTwo", {850, 245, 312, 450, true}, 2},
                                           WireCase{"HighWithDividerTwo", {4000, 600, 312, 450, true}, 2}),
                         [](const ::testing::TestParamInfo<WireCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ReplayOnTheWire, ANewLineGoesOutAtOnceAndOnlyWhileStreaming) {
    VirtualEcu ecu;
    ecu.startReplay(DriveReplay({At(900), At(1500)}, 1.0, false));
    RunFor(ecu, 1s);
    EXPECT_EQ(ecu.replay()->index(), 0u) << "nothing moves before the host starts the stream";
    Send(ecu, '*');
    const int64_t startUs = ecu.now().count();
    const ReportReader reader = RunFor(ecu, 300ms, 1ms);
    int64_t firstOfLineTwoUs = -1;
    for (const auto& report : reader.reports) {
        if (report.payload.at(0) == '1' && LiveView(report.payload).rpm == 1500) {
            firstOfLineTwoUs = report.atUs - startUs;
            break;
        }
    }
    ASSERT_GE(firstOfLineTwoUs, 100'000);
    EXPECT_LT(firstOfLineTwoUs, 100'000 + 30'000) << "not held back until the next live interval";

    Send(ecu, 'x');
    ecu.startReplay(DriveReplay({At(900), At(1500)}, 1.0, false));
    RunFor(ecu, 1s);
    EXPECT_EQ(ecu.replay()->index(), 0u) << "a stopped stream holds the replay";
}

TEST(ReplayOnTheWire, TheFuelFollowsTheRecordingWhereItSwitchesAndTheHostBetween) {
    VirtualEcu ecu;
    ecu.startReplay(DriveReplay({At(900, false), At(900, true), At(900, true), At(900, true)}, 1.0, false));
    Send(ecu, '*');
    const auto gasAfter = [&ecu](std::chrono::milliseconds span) {
        const auto statuses = RunFor(ecu, span).ofType('2');
        return !statuses.empty() && StatusView(statuses.back()).gasMode;
    };
    EXPECT_FALSE(gasAfter(90ms)) << "line 1 runs on petrol";
    EXPECT_TRUE(gasAfter(100ms)) << "line 2 switches to gas";
    EXPECT_EQ(ecu.fuel().injectorTestMask, 0) << "every cylinder with a gas injector runs on gas";
    Send(ecu, 's'); // the fitter's F2: petrol
    EXPECT_FALSE(gasAfter(100ms)) << "the host's choice holds while the recording stays on gas";
    EXPECT_FALSE(gasAfter(100ms));
}

} // namespace
