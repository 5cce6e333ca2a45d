#include "sim/ecusim_options.h"

#include <gtest/gtest.h>

using ecusim::ParseOptions;

TEST(EcusimOptions, DefaultsServeCom40WithEveryFaultOff) {
    const auto parsed = ParseOptions({});
    ASSERT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.com, 40);
    EXPECT_TRUE(parsed.options.portsDir.empty());
    EXPECT_TRUE(parsed.options.config.slavePresent);
    EXPECT_EQ(parsed.options.config.bytesPerSecond, 1920);
    EXPECT_FALSE(parsed.options.faults.silent);
    EXPECT_EQ(parsed.options.faults.corruptRate, 0.0);
}

TEST(EcusimOptions, TakesEveryKnob) {
    const auto parsed = ParseOptions({"--com",
                                      "12",
                                      "--ports-dir",
                                      "/tmp/p",
                                      "--no-slave",
                                      "--start-temp",
                                      "65.5",
                                      "--version",
                                      "3.14",
                                      "--tank",
                                      "700",
                                      "--seed",
                                      "99",
                                      "--silent",
                                      "--corrupt",
                                      "0.1",
                                      "--drop",
                                      "0.01",
                                      "--noise",
                                      "0.2",
                                      "--busy-forever",
                                      "--no-line-limit",
                                      "--quiet",
                                      "--live-interval",
                                      "5",
                                      "--replay",
                                      "drive.log",
                                      "--replay-speed",
                                      "0.25",
                                      "--loop"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    const auto& o = parsed.options;
    EXPECT_EQ(o.com, 12);
    EXPECT_EQ(o.portsDir, "/tmp/p");
    EXPECT_FALSE(o.config.slavePresent);
    EXPECT_DOUBLE_EQ(o.config.startTemperatureC, 65.5);
    EXPECT_EQ(o.config.versionMajor, 3);
    EXPECT_EQ(o.config.versionMinor, 14);
    EXPECT_EQ(o.config.tankReading, 700);
    EXPECT_EQ(o.config.seed, 99u);
    EXPECT_TRUE(o.faults.silent);
    EXPECT_DOUBLE_EQ(o.faults.corruptRate, 0.1);
    EXPECT_DOUBLE_EQ(o.faults.dropRate, 0.01);
    EXPECT_DOUBLE_EQ(o.faults.noiseRate, 0.2);
    EXPECT_TRUE(o.faults.busyForever);
    EXPECT_EQ(o.config.bytesPerSecond, 0);
    EXPECT_FALSE(o.statusLine);
    EXPECT_EQ(o.config.liveIntervalMs, 5);
    EXPECT_EQ(o.replayFile, "drive.log");
    EXPECT_DOUBLE_EQ(o.replaySpeed, 0.25);
    EXPECT_TRUE(o.replayLoop);
}

TEST(EcusimOptions, RefusesBadValuesWithAMessage) {
    const std::vector<std::vector<std::string>> bad{
        {"--com"},
        {"--com", "0"},
        {"--com", "256"},
        {"--com", "4x"},
        {"--com", ""},
        {"--corrupt", "1.5"},
        {"--drop", "-0.1"},
        {"--noise", "lots"},
        {"--version", "2"},
        {"--version", "2.300"},
        {"--version", "a.b"},
        {"--start-temp", "200"},
        {"--tank", "1024"},
        {"--seed", "-1"},
        {"--ports-dir", ""},
        {"--frobnicate"},
        {"--live-interval", "0"},
        {"--live-interval", "1001"},
        {"--replay"},
        {"--replay", ""},
        {"--replay-speed", "0.2"},
        {"--replay-speed", "8.5"},
        {"--replay-speed", "fast"},
    };
    for (const auto& args : bad) {
        const auto parsed = ParseOptions(args);
        EXPECT_FALSE(parsed.error.empty()) << args[0] << (args.size() > 1 ? " " + args[1] : "");
    }
}

TEST(EcusimOptions, HelpNamesEveryOption) {
    const std::string help = ecusim::HelpText();
    for (const char* name :
         {"--com", "--ports-dir", "--no-slave", "--start-temp", "--version", "--tank", "--seed", "--silent",
          "--corrupt", "--drop", "--noise", "--busy-forever", "--no-line-limit", "--live-interval", "--quiet",
          "--help", "--replay", "--replay-speed", "--loop"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
    EXPECT_TRUE(ParseOptions({"--help"}).options.help);
}
