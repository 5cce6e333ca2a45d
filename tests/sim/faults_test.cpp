#include "sim/virtual_ecu.h"
#include "tests/sim/report_reader.h"
#include "tests/support/ecu_frames.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using ecusim::Bytes;
using ecusim::VirtualEcu;

namespace {

void Send(VirtualEcu& ecu, const Bytes& payload) {
    ecu.receive(EcuFrames::FromHost(payload));
}

struct Sent {
    std::size_t bytes = 0;
    std::size_t reports = 0;
    int bad = 0;
};

Sent StreamFor(VirtualEcu& ecu, std::chrono::milliseconds span) {
    Send(ecu, {'*'});
    Sent sent;
    ReportReader reader;
    for (auto t = 0ms; t < span; t += 25ms) {
        const Bytes out = ecu.advance(25ms);
        sent.bytes += out.size();
        reader.feed(out);
    }
    sent.reports = reader.reports.size();
    sent.bad = reader.badFrames;
    return sent;
}

} // namespace

TEST(VirtualEcuFaults, EachKnobSpoilsWhatItSays) {
    struct Case {
        const char* what;
        ecusim::Faults faults;
        double minShare, maxShare; // reports received compared with a clean run
        bool expectBad;
    };
    const Sent clean = [] {
        VirtualEcu ecu;
        return StreamFor(ecu, 10s);
    }();
    ASSERT_GT(clean.reports, 200u);
    const Case cases[] = {
        {"silent", {.silent = true}, 0, 0, false},
        {"unplugged", {.unplugged = true}, 0, 0, false},
        {"corrupt 20 %", {.corruptRate = 0.2}, 0.7, 0.9, true},
        {"drop 1 %", {.dropRate = 0.01}, 0.4, 0.9, false}, // a lost byte often costs the next frame too
        {"noise 30 %", {.noiseRate = 0.3}, 0.85, 1.0, false},
    };
    for (const Case& c : cases) {
        VirtualEcu ecu;
        ecu.faults() = c.faults;
        const Sent sent = StreamFor(ecu, 10s);
        const double share = static_cast<double>(sent.reports) / static_cast<double>(clean.reports);
        EXPECT_GE(share, c.minShare) << c.what;
        EXPECT_LE(share, c.maxShare) << c.what;
        if (c.expectBad) {
            EXPECT_GT(sent.bad, 0) << c.what;
        }
    }
}

TEST(VirtualEcuFaults, NoiseAddsBytesBetweenFrames) {
    VirtualEcu clean;
    VirtualEcu noisy;
    noisy.faults().noiseRate = 1.0;
    const Sent a = StreamFor(clean, 2s);
    const Sent b = StreamFor(noisy, 2s);
    EXPECT_GE(b.bytes, a.bytes + b.reports) << "at least one noise byte per report";
}

TEST(VirtualEcuFaults, ASilentEcuStillObeysAndSpeaksAgainWhenAsked) {
    VirtualEcu ecu;
    ecu.faults().silent = true;
    Send(ecu, {'d', 5});
    Send(ecu, {'*'});
    EXPECT_TRUE(ecu.advance(1s).empty());
    ecu.faults().silent = false;
    const ReportReader reader = RunFor(ecu, 500ms);
    ASSERT_FALSE(reader.ofType('2').empty());
    EXPECT_EQ(StatusView(reader.ofType('2').back()).rpmDivider, 5);
}

TEST(VirtualEcuFaults, AnUnpluggedEcuHearsNothing) {
    VirtualEcu ecu;
    ecu.faults().unplugged = true;
    Send(ecu, {'*'});
    ecu.advance(1s);
    ecu.faults().unplugged = false;
    EXPECT_TRUE(ecu.advance(1s).empty());
    EXPECT_FALSE(ecu.streaming());
}

TEST(VirtualEcuFaults, BusyForeverRepeatsTheBusyReportUntilReleased) {
    VirtualEcu ecu;
    ecu.faults().busyForever = true;
    Send(ecu, {'d', 2});
    const ReportReader busy = RunFor(ecu, 12s);
    EXPECT_TRUE(busy.ofType('2').empty());
    EXPECT_GE(busy.ofType('b').size(), 40u) << "often enough to keep the link up";
    EXPECT_TRUE(ecu.busy());
    ecu.faults().busyForever = false;
    const ReportReader done = RunFor(ecu, 100ms);
    ASSERT_FALSE(done.reports.empty());
    EXPECT_EQ(done.letters().back(), '2') << "the report that ends the work";
    EXPECT_FALSE(ecu.busy());
    EXPECT_TRUE(RunFor(ecu, 1s).reports.empty());
}

TEST(VirtualEcuFaults, TheSameSeedReplaysTheSameBytesHoweverTimeIsCut) {
    const auto run = [](uint64_t seed, std::chrono::microseconds step) {
        ecusim::EcuConfig config;
        config.seed = seed;
        VirtualEcu ecu(config);
        ecu.faults().corruptRate = 0.1;
        ecu.faults().noiseRate = 0.1;
        ecu.faults().dropRate = 0.001;
        Send(ecu, {'*'});
        Bytes all;
        while (ecu.now() < 3s)
            ecu.advance(step, all);
        return all;
    };
    const Bytes reference = run(1, 25ms);
    EXPECT_GT(reference.size(), 2000u);
    EXPECT_EQ(run(1, 25ms), reference);
    EXPECT_EQ(run(1, 1ms), reference);
    EXPECT_EQ(run(1, 7ms + 500us), reference);
    EXPECT_NE(run(2, 25ms), reference);
}
