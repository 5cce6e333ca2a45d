#include "files/drive_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using drive_log::Line;
using drive_log::Problem;

struct LineCase {
    const char* name;
    const char* text;
    bool good;
    Line expected;
};

class DriveLogLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(DriveLogLines, ParsesTheRecordedFormatAndRefusesAnythingElse) {
    const LineCase& c = GetParam();
    Line line;
    EXPECT_EQ(drive_log::ParseLine(c.text, line), c.good);
    if (c.good) {
        EXPECT_EQ(line, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveLogLines,
    ::testing::Values(
        LineCase{"OnGas", "850;245;312;450;G;", true, {850, 245, 312, 450, true}},
        LineCase{"OnPetrol", "0;0;0;0;B;", true, {0, 0, 0, 0, false}},
        LineCase{"LargestValues", "3000000;26214;65535;65535;G;", true, {3000000, 26214, 65535, 65535, true}},
        LineCase{"RpmBeyondThePeriod", "3000001;245;312;450;G;", false, {}},
        LineCase{"InjectionBeyondTheWord", "850;26215;312;450;G;", false, {}},
        LineCase{"PressureBeyondSixteenBits", "850;245;65536;450;G;", false, {}},
        LineCase{"LambdaBeyondSixteenBits", "850;245;312;65536;G;", false, {}},
        LineCase{"HugeNumber", "99999999999;245;312;450;G;", false, {}},
        LineCase{"TooFewFields", "850;245;312;G;", false, {}},
        LineCase{"TooManyFields", "850;245;312;450;1;G;", false, {}},
        LineCase{"NoClosingSemicolon", "850;245;312;450;G", false, {}},
        LineCase{"LowerCaseMode", "850;245;312;450;g;", false, {}},
        LineCase{"OtherModeLetter", "850;245;312;450;P;", false, {}},
        LineCase{"ModeOfTwoLetters", "850;245;312;450;GB;", false, {}},
        LineCase{"NegativeNumber", "-850;245;312;450;G;", false, {}},
        LineCase{"PlusSign", "+850;245;312;450;G;", false, {}},
        LineCase{"Space", "850; 245;312;450;G;", false, {}},
        LineCase{"Decimal", "850;2.45;312;450;G;", false, {}},
        LineCase{"EmptyField", "850;;312;450;G;", false, {}}, LineCase{"Empty", "", false, {}}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(DriveLog, SkipsAndCountsMalformedLinesAndKeepsTheirNumbers) {
    const drive_log::ReadResult read = drive_log::Parse("RPM;inj;map;v;mode;\r\n"
                                                        "850;245;312;450;G;\r\n"
                                                        "850;245;312;450;X;\r\n"
                                                        "\r\n"
                                                        "900;250;313;460;B;\n" // a line break of its own
                                                        "910;251;314;461;B;"); // cut after its semicolon
    ASSERT_EQ(read.problem, Problem::None);
    EXPECT_EQ(read.log.dataLines, 5u);
    EXPECT_EQ(read.log.malformed, (std::vector<std::size_t>{3, 4}));
    ASSERT_EQ(read.log.lines.size(), 3u);
    EXPECT_EQ(read.log.lines[0].number, 2u);
    EXPECT_EQ(read.log.lines[1].number, 5u);
    EXPECT_EQ(read.log.lines[2].rpm, 910u);
}

TEST(DriveLog, RefusesFilesThatCannotServe) {
    struct Case {
        const char* what;
        const char* text;
        Problem problem;
    };
    const Case cases[] = {
        {"empty", "", Problem::WrongHeader},
        {"another header", "RPM;inj;map;v;\r\n850;245;312;450;G;\r\n", Problem::WrongHeader},
        {"a settings file", "Zorvi Ecu Settings File", Problem::WrongHeader},
        {"header only", "RPM;inj;map;v;mode;\r\n", Problem::NoGoodLine},
        {"only bad lines", "RPM;inj;map;v;mode;\r\nx\r\n1;2;3;\r\n", Problem::NoGoodLine},
    };
    for (const Case& c : cases) {
        const drive_log::ReadResult read = drive_log::Parse(c.text);
        EXPECT_EQ(read.problem, c.problem) << c.what;
        EXPECT_FALSE(read.message.empty()) << c.what;
        EXPECT_EQ(read.message.find('\n'), std::string::npos) << c.what;
    }
}

TEST(DriveLog, ReadsAFileAsThePageWritesItAndTellsWhenItCannot) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path path = folder / "drive_log_test.log";
    const Line line{850, 245, 312, 450, true};
    {
        std::ofstream file(path, std::ios::binary);
        file << drive_log::kHeader << "\r\n" << drive_log::FormatLine(line);
    }
    const drive_log::ReadResult read = drive_log::Read(path.string());
    ASSERT_EQ(read.problem, Problem::None) << read.message;
    ASSERT_EQ(read.log.lines.size(), 1u);
    EXPECT_EQ(drive_log::FormatLine(read.log.lines[0]), "850;245;312;450;G;\r\n");
    std::filesystem::remove(path);

    EXPECT_EQ(drive_log::Read((folder / "no such drive.log").string()).problem, Problem::CannotRead);
    EXPECT_EQ(drive_log::Read(folder.string()).problem, Problem::CannotRead) << "a folder";
}

} // namespace
