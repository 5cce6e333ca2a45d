#include "tests/ecu/link_fixture.h"

#include "sim/ecu_side_codec.h"

#include <algorithm>
#include <functional>

using namespace EcuFrames;

namespace {

using Codes = std::vector<int32_t>;

// The link's calibration against a scripted engine: every pass delivers a live report with the injection
// time of cylinder 1 the script gives, runs one worker pass, and answers the commands it wrote the way
// an ECU does, with a status report of its fuel and base correction.
class CalibrationTest : public LinkFixture {
public:
    struct Engine {
        bool gas = false;
        int baseCorrection = 50;
        int reducer = 7000;
        bool takesGas = true;
        bool takesPetrol = true;
        // t1 in 0.01 ms; the pass number counts from 0
        std::function<uint32_t(const Engine&, int pass)> t1 = [](const Engine&, int) { return 250u; };
    };

protected:
    void SetUp() override {
        Connect();
        ecu.OnCalibrationProgress.bind([this](int32_t step, int32_t count, int32_t code) {
            codes.push_back(code);
            steps.push_back(step);
            counts.push_back(count);
        });
        ReportStatus();
    }

    void Start(uint32_t sensitivity) {
        ecu.SetCalibrationSensitivity(sensitivity);
        ecu.SetCalibrationActive(true);
    }

    void ReportStatus() {
        Status s;
        s.baseCorrectionByte = static_cast<uint8_t>(127 - engine.baseCorrection);
        s.reducerTemperature = static_cast<int16_t>(engine.reducer);
        s.statusBits = static_cast<uint8_t>(0x10 | (engine.gas ? 1 : 0));
        Deliver(s.Frame());
    }

    void Pass() {
        Live live;
        const uint32_t t1 = engine.t1(engine, pass++);
        live.injectionRaw[0] = static_cast<uint16_t>((t1 * 5 + 1) / 2); // the link keeps raw * 2 / 5
        Deliver(live.Frame());
        ecu.WorkerPass();
        Answer();
    }

    void Passes(int n) {
        for (int i = 0; i < n; ++i)
            Pass();
    }

    // Takes what the link wrote, frame by frame as the ECU reads it, and answers it.
    void Answer() {
        bool report = false;
        for (uint8_t b : Written()) {
            if (!hostFrames.feed(b, 0))
                continue;
            Handle(hostFrames.payload());
            report = true;
        }
        if (report)
            ReportStatus();
    }
    void Handle(const std::vector<uint8_t>& payload) {
        sent.push_back(payload);
        switch (payload[0]) {
        case 'r':
            engine.gas = engine.gas || engine.takesGas;
            break;
        case 's':
            engine.gas = engine.gas && !engine.takesPetrol;
            break;
        case 'n':
            engine.baseCorrection = 127 - payload[1];
            break;
        default:
            break;
        }
    }

    int Count(const std::vector<uint8_t>& payload) const {
        return static_cast<int>(std::count(sent.begin(), sent.end(), payload));
    }
    int CountCode(int32_t code) const {
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }
    void ClearRecords() {
        codes.clear();
        steps.clear();
        counts.clear();
        sent.clear();
    }

    // Runs until the given code has been reported n times (or the pass limit is reached).
    bool RunUntilCode(int32_t code, int n, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (CountCode(code) >= n)
                return true;
            Pass();
        }
        return CountCode(code) >= n;
    }

    static constexpr int kPetrolPasses = 1 + 101 * 5; // step 0, then a sample every fifth pass
    static constexpr int kSettlePasses = 1 + 300;     // step 3, then the wait up to its last pass

    Engine engine;
    int pass = 0;
    Codes codes;
    std::vector<int32_t> steps;
    std::vector<int32_t> counts;
    std::vector<std::vector<uint8_t>> sent;
    ecusim::HostFrameReceiver hostFrames;
};

// Gas follows the base correction: 2 ms + 0.02 ms per unit away from the matching value.
uint32_t GasAgainst(const CalibrationTest::Engine& e, int match) {
    return e.gas ? static_cast<uint32_t>(std::max(0, 250 + 2 * (match - e.baseCorrection))) : 250u;
}

TEST_F(CalibrationTest, AFullRunFindsTheMatchingBaseCorrectionAndCompletes) {
    engine.baseCorrection = 30;
    engine.t1 = [](const Engine& e, int) { return GasAgainst(e, 40); };
    Start(1);

    Passes(kPetrolPasses);
    // A cycle begins, then 101 samples counted 0 to 100, each with step 1.
    ASSERT_EQ(codes.size(), 102u);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(steps[0], 0);
    for (int i = 0; i < 101; ++i) {
        EXPECT_EQ(codes[1 + i], 1);
        EXPECT_EQ(counts[1 + i], i);
        EXPECT_EQ(steps[1 + i], 1);
    }
    EXPECT_EQ(ecu.calibrationStep, 2);

    ClearRecords();
    Pass(); // statistics: stable, gas requested
    EXPECT_EQ(ecu.petrolAverage, 250u);
    EXPECT_EQ(ecu.calibrationStep, 3);
    EXPECT_EQ(sent, (std::vector<std::vector<uint8_t>>{{'r'}}));
    Pass();
    EXPECT_EQ(codes, (Codes{3}));
    EXPECT_EQ(steps, (std::vector<int32_t>{4}));

    ASSERT_TRUE(RunUntilCode(14, 1, 2000));
    EXPECT_FALSE(ecu.calibrationActive);
    EXPECT_EQ(engine.baseCorrection, 40);
    EXPECT_EQ(ecu.gasAverage, 250u);
    // One raise per gas cycle from 30 to 40, each after a fresh status report was asked for.
    EXPECT_EQ(CountCode(9), 10);
    EXPECT_EQ(CountCode(8), 10);
    EXPECT_EQ(CountCode(5), 11);
    EXPECT_EQ(Count({'2'}), 11);
    EXPECT_EQ(Count({'n', 127 - 31}), 1);
    EXPECT_EQ(Count({'n', 127 - 40}), 1);
    EXPECT_EQ(codes.back(), 14);
    EXPECT_EQ(steps.back(), 7);
}

TEST_F(CalibrationTest, EqualResultsCompleteOnTheNinthPassWithoutMeasuringAgain) {
    engine.gas = true;
    ecu.gasMode = true;
    ecu.calibrationActive = true;
    ecu.calibrationStep = 7;
    ecu.petrolAverage = 300;
    ecu.gasAverage = 304; // 60 = 60 at a tolerance of 5
    ecu.calibrationSensitivity = 5;
    Passes(8);
    EXPECT_TRUE(ecu.calibrationActive);
    EXPECT_TRUE(codes.empty());
    Pass();
    EXPECT_EQ(codes, (Codes{14}));
    EXPECT_FALSE(ecu.calibrationActive);
    EXPECT_TRUE(sent.empty());
}

TEST_F(CalibrationTest, TheComparisonUsesIntegerDivisionsByTheTolerance) {
    struct Case {
        uint32_t petrol, gas, s;
        int32_t baseCorrection;
        Codes codes;
        int sentBaseCorrection; // -1: nothing sent
    };
    const Case cases[] = {
        {300, 304, 5, 50, {}, -1},          // 60 and 60
        {300, 305, 5, 50, {8, 9}, 51},      // 61 above 60: raise
        {300, 295, 5, 50, {12, 13}, 49},    // 59 below 60: lower
        {300, 301, 1, 81, {6, 9}, 82},      // small injectors
        {300, 301, 1, 80, {8, 9}, 81},      //
        {300, 301, 1, 127, {6, 7, 9}, 127}, // at the top the raise sends 127 again
        {300, 299, 1, 4, {10, 13}, 3},      // big injectors
        {300, 299, 1, 5, {12, 13}, 4},      //
        {300, 299, 1, 0, {10, 11, 13}, 0},  // at the bottom the lowering sends 0 again
        {0, 14, 15, 50, {}, -1},            // both 0 at the loosest tolerance
        {300, 304, 0, 50, {8, 9}, 51},      // a tolerance of 0 compares as 1, without dividing by it
    };
    for (const Case& c : cases) {
        engine.baseCorrection = c.baseCorrection;
        ReportStatus();
        ClearRecords();
        ecu.calibrationActive = true;
        ecu.calibrationStep = 7;
        ecu.matchCounter = 0;
        ecu.petrolAverage = c.petrol;
        ecu.gasAverage = c.gas;
        ecu.calibrationSensitivity = c.s;
        Pass();
        EXPECT_EQ(codes, c.codes) << c.petrol << " " << c.gas << " " << c.s << " at " << c.baseCorrection;
        if (c.sentBaseCorrection < 0) {
            EXPECT_TRUE(sent.empty());
            EXPECT_EQ(ecu.calibrationStep, 7);
        } else {
            EXPECT_EQ(sent, (std::vector<std::vector<uint8_t>>{{'n', uint8_t(127 - c.sentBaseCorrection)}}));
            EXPECT_EQ(ecu.calibrationStep, 5);
        }
    }
}

TEST_F(CalibrationTest, AtTheBoundsTheCyclesGoOnAndNeverComplete) {
    struct Case {
        int baseCorrection;
        int match; // where gas would meet petrol: out of reach
        Codes perCycle;
    };
    const Case cases[] = {
        {127, 200, {5, 6, 7, 9}},
        {0, -100, {5, 10, 11, 13}},
    };
    for (const Case& c : cases) {
        engine.baseCorrection = c.baseCorrection;
        engine.gas = true;
        ReportStatus();
        const int match = c.match;
        engine.t1 = [match](const Engine& e, int) { return GasAgainst(e, match); };
        ecu.calibrationActive = true;
        ecu.calibrationStep = 5;
        ecu.settleCounter = 0;
        ecu.petrolAverage = 250;
        ecu.calibrationSensitivity = 1;
        ClearRecords();
        Passes(10 * 20);
        EXPECT_TRUE(ecu.calibrationActive) << c.baseCorrection;
        EXPECT_EQ(engine.baseCorrection, c.baseCorrection);
        ASSERT_EQ(codes.size(), 20 * c.perCycle.size()) << c.baseCorrection;
        for (size_t i = 0; i < codes.size(); ++i)
            EXPECT_EQ(codes[i], c.perCycle[i % c.perCycle.size()]) << c.baseCorrection << " report " << i;
        EXPECT_EQ(Count({'n', uint8_t(127 - c.baseCorrection)}), 20);
    }
}

TEST_F(CalibrationTest, AnUnstablePetrolWindowLoosensTheToleranceUpTo15) {
    engine.t1 = [](const Engine&, int p) { return (p / 5) % 2 ? 400u : 100u; }; // alternate samples
    Start(5);
    for (int cycle = 1; cycle <= 12; ++cycle) {
        Passes(kPetrolPasses + 1);
        EXPECT_EQ(ecu.calibrationStep, 0) << "cycle " << cycle;
        EXPECT_EQ(ecu.calibrationSensitivity, std::min(5u + cycle, 15u)) << "cycle " << cycle;
        EXPECT_EQ(CountCode(2), std::max(0, cycle - 10)) << "cycle " << cycle;
    }
    EXPECT_EQ(Count({'r'}), 0);
}

TEST_F(CalibrationTest, TheStabilityTestOfThePetrolWindow) {
    struct Case {
        const char* name;
        uint32_t s;
        std::function<uint32_t(int sample)> sample;
        bool stable;
    };
    const Case cases[] = {
        {"steady", 1, [](int) { return 250u; }, true},
        {"all zero", 1, [](int) { return 0u; }, false},
        {"maximum below the tolerance", 5, [](int) { return 4u; }, false},
        {"the 101st sample is not looked at", 1, [](int i) { return i == 100 ? 0u : 250u; }, true},
        {"one low sample", 1, [](int i) { return i == 50 ? 200u : 250u; }, false},
        {"low within the tolerance", 15, [](int i) { return i == 50 ? 212u : 250u; }, true},
        {"one high sample", 1, [](int i) { return i == 7 ? 300u : 250u; }, false},
        {"high within the tolerance", 15, [](int i) { return i == 7 ? 288u : 250u; }, true},
    };
    for (const Case& c : cases) {
        ecu.calibrationActive = true;
        ecu.calibrationStep = 2;
        ecu.calibrationSensitivity = c.s;
        for (int i = 0; i < Tecu::kCalibrationSamples; ++i)
            ecu.calibrationSamples[i] = c.sample(i);
        ClearRecords();
        Pass();
        EXPECT_EQ(ecu.calibrationStep, c.stable ? 3 : 0) << c.name;
        EXPECT_EQ(Count({'r'}), c.stable ? 1 : 0) << c.name;
    }
}

TEST_F(CalibrationTest, GasNeverTakenIsAskedForAgainAfterEachSettleWait) {
    engine.takesGas = false;
    Start(1);
    Passes(kPetrolPasses + 1 + kSettlePasses);
    EXPECT_EQ(Count({'r'}), 1);
    EXPECT_EQ(ecu.calibrationStep, 4);
    EXPECT_EQ(CountCode(4), 0);
    Pass(); // the 301st pass of the wait
    EXPECT_EQ(codes.back(), 4);
    EXPECT_EQ(Count({'r'}), 2);
    Passes(300);
    EXPECT_EQ(CountCode(4), 1);
    Pass();
    EXPECT_EQ(CountCode(4), 2);
    EXPECT_EQ(Count({'r'}), 3);
    EXPECT_EQ(ecu.calibrationStep, 4);
}

TEST_F(CalibrationTest, StartedOnGasAsksForPetrolOnEveryPassUntilTheEcuReportsIt) {
    engine.gas = true;
    engine.takesPetrol = false; // slow to change
    ReportStatus();
    Start(1);
    Passes(1 + 40);
    EXPECT_EQ(Count({'s'}), 40);
    EXPECT_EQ(CountCode(1), 8) << "samples are taken meanwhile";
    engine.takesPetrol = true;
    Pass();
    ClearRecords();
    Passes(20);
    EXPECT_EQ(Count({'s'}), 0);
    EXPECT_EQ(CountCode(1), 4);
}

TEST_F(CalibrationTest, PausedPassesOnlyReport99) {
    Start(1);
    ecu.calibrationPaused = true;
    Passes(40);
    EXPECT_EQ(codes, Codes(40, 99));
    EXPECT_EQ(ecu.calibrationStep, 0);
    EXPECT_TRUE(sent.empty());
    ecu.calibrationPaused = false;
    Pass();
    EXPECT_EQ(codes.back(), 0);
}

TEST_F(CalibrationTest, StartKeepsTheSampleDividerSoTheFirstSampleMayComeSooner) {
    Start(1);
    Passes(1 + 3); // step 0, then three passes towards the first sample
    EXPECT_EQ(CountCode(1), 0);
    ecu.SetCalibrationActive(false);
    Start(1);
    ClearRecords();
    Passes(1 + 2);
    EXPECT_EQ(codes, (Codes{0, 1}));
}

TEST_F(CalibrationTest, NothingAdvancesWhileTheLinkIsDownOrEventsAreOff) {
    Start(1);
    ecu.eventsEnabled = false;
    Passes(20);
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(ecu.calibrationStep, 0);
}

} // namespace
