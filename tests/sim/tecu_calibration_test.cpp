#include "ecu/tecu.h"
#include "tests/support/simulated_bench.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;

// The automatic calibration against the engine model: with the default sensitivity it has to find the base
// correction at which gas and petrol agree, from either end of the range, within three simulated minutes.
TEST(TecuCalibrationAgainstVirtualEcu, ConvergesFromAnyBaseCorrection) {
    for (int start : {0, 40, 127}) {
        ecusim::EcuConfig config;
        config.startTemperatureC = 75.0;
        SimulatedBench bench(config);
        bench.actLikeTheWindow();
        ASSERT_TRUE(bench.open());
        ASSERT_TRUE(bench.runUntil([&] { return bench.tecu().IsConnected(); }, 15s));
        Tecu& tecu = bench.tecu();
        tecu.SetBaseCorrection(start);
        ASSERT_TRUE(bench.runUntil([&] { return tecu.baseCorrection == start; }, 1s));

        bool completed = false;
        tecu.OnCalibrationProgress.bind(
            [&](int32_t, int32_t, int32_t code) { completed = completed || code == 14; });
        tecu.SetCalibrationSensitivity(5);
        tecu.SetCalibrationActive(true);

        const auto started = bench.now();
        EXPECT_TRUE(bench.runUntil([&] { return !tecu.calibrationActive; }, 180s)) << "from " << start;
        EXPECT_TRUE(completed) << "from " << start;
        EXPECT_LT(bench.now() - started, 180s);
        ecusim::EngineModel& engine = bench.ecu().engine();
        const double gap = engine.gasMs(0, bench.ecu().settings(), 850) - engine.petrolMs(0);
        EXPECT_LT(std::abs(gap), 0.06) << "from " << start << " to " << bench.ecu().settings().baseCorrection;
    }
}
