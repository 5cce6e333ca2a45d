#include "tools/ecuslog_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// Worked out by hand: speeds 850, 900, 1200 (mean 983.33); injection 245, 250, 280 x 0.01 ms (mean
// 2.5833); pressure 312, 313, 320 x 0.0044803 bar = 1.3979, 1.4024, 1.4337 (mean 315: 1.4113); lambda
// 450, 460, 470 x 5 / 1023 V = 2.1994, 2.2483, 2.2972 (mean 460: 2.2483). Four data lines of 100 ms, one
// malformed; two on gas, one on petrol, one switch.
const char kDrive[] = "RPM;inj;map;v;mode;\r\n"
                      "850;245;312;450;G;\r\n"
                      "900;250;313;460;G;\r\n"
                      "850;245;312;450;G\r\n"
                      "1200;280;320;470;B;\r\n";

const char kSummary[] = "lines               4 (1 malformed, skipped)\n"
                        "duration            0.4 s\n"
                        "on gas              0.2 s\n"
                        "on petrol           0.1 s\n"
                        "switches            1\n"
                        "value                      min      mean       max\n"
                        "speed (rpm)                850     983.3      1200\n"
                        "injection (ms)            2.45     2.583      2.80\n"
                        "gas pressure (bar)       1.398    1.4113     1.434\n"
                        "lambda (V)               2.199    2.2483     2.297\n";

const char kCsv[] = "time_s,speed_rpm,injection_ms,gas_pressure_bar,lambda_V,fuel\n"
                    "0.0,850,2.45,1.398,2.199,gas\n"
                    "0.1,900,2.50,1.402,2.248,gas\n"
                    "0.3,1200,2.80,1.434,2.297,petrol\n";

class Ecuslog : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    int Run(const std::vector<std::string>& arguments) {
        out.str({});
        err.str({});
        return EcuslogCli::Run(arguments, out, err);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("ecuslog_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Ecuslog, SummaryAndCsvInRealUnits) {
    const std::string drive = Write("drive.log", kDrive);
    EXPECT_EQ(Run({"summary", drive}), EcuslogCli::kOk);
    EXPECT_EQ(out.str(), kSummary);
    EXPECT_EQ(err.str(), "ecuslog: " + drive + ": 1 malformed line skipped (line 4)\n");
    EXPECT_EQ(Run({"csv", drive}), EcuslogCli::kOk);
    EXPECT_EQ(out.str(), kCsv);
}

TEST_F(Ecuslog, EachProblemIsOneLineAndItsExitCode) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        int code;
    };
    const std::string good = Write("good.log", kDrive);
    const std::string settings = Write("car.ECU", std::string("Zorvi Ecu Settings File") + '\0');
    const std::string empty = Write("empty.log", "");
    const std::string damaged = Write("damaged.log", "RPM;inj;map;v;mode;\r\n850;245;31");
    const Case cases[] = {
        {"no command", {}, EcuslogCli::kError},
        {"unknown command", {"plot", good}, EcuslogCli::kError},
        {"no file", {"summary"}, EcuslogCli::kError},
        {"two files", {"csv", good, good}, EcuslogCli::kError},
        {"missing file", {"summary", (folder / "none.log").string()}, EcuslogCli::kCannotRead},
        {"a folder", {"csv", folder.string()}, EcuslogCli::kCannotRead},
        {"a settings file", {"summary", settings}, EcuslogCli::kNotALog},
        {"an empty file", {"csv", empty}, EcuslogCli::kNotALog},
        {"no usable line", {"summary", damaged}, EcuslogCli::kNoGoodLine},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.arguments), c.code) << c.what;
        EXPECT_TRUE(out.str().empty()) << c.what;
        EXPECT_EQ(err.str().rfind("ecuslog: ", 0), 0u) << c.what;
        if (c.code != EcuslogCli::kError) {
            const std::string problem = err.str();
            EXPECT_EQ(std::count(problem.begin(), problem.end(), '\n'), 1) << c.what;
        }
    }
    EXPECT_EQ(Run({"--help"}), EcuslogCli::kOk);
    EXPECT_NE(out.str().find("Usage: ecuslog summary FILE"), std::string::npos);
}

} // namespace
