#include "tests/tools/settings_test_files.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace {

// The files every case may name; a case names them by these short names.
class EcusettingsProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        EcuSettingsRecord other = KnownRecord();
        other.rpmDivider = 3;
        QByteArray wrongHeader = FileBytes(KnownRecord());
        wrongHeader[0] = 'z';
        QByteArray badChecksum = FileBytes(KnownRecord());
        badChecksum[60] = 9;
        WriteFile(dir_, "good.ECU", FileBytes(KnownRecord()));
        WriteFile(dir_, "other.ECU", FileBytes(other));
        WriteFile(dir_, "wrong.ECU", wrongHeader);
        WriteFile(dir_, "bad.ECU", badChecksum);
        WriteFile(dir_, "short.ECU", FileBytes(KnownRecord()).left(120));
        WriteFile(dir_, "tiny.ECU", "Zorvi");
        WriteFile(dir_, "long.ECU", FileBytes(KnownRecord()) + QByteArray(40, 'x'));
    }

    struct Run {
        int exitCode = -1;
        QString out;
        QStringList errLines;
    };

    // Arguments that end in ".ECU" are files of the folder.
    Run Start(const QStringList& arguments) {
        QStringList full;
        for (const QString& argument : arguments)
            full.append(argument.endsWith(".ECU") ? dir_.filePath(argument) : argument);
        QProcess process;
        process.start(QStringLiteral(ECUSETTINGS_PATH), full);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        Run run;
        run.exitCode = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.errLines = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return run;
    }

    QTemporaryDir dir_;
};

struct VerbCase {
    QStringList arguments;
    int exitCode;
    QString outContains; // empty: nothing on stdout
    QString errContains; // empty: nothing on stderr
    bool oneErrLine;
};

const VerbCase kCases[] = {
    {{"show", "good.ECU"}, 0, "RPM Divider: 4\nRPM Pin: Active\n", {}, false},
    {{"show", "long.ECU"},
     0,
     "Engine Map 6000 rpm: step 8, 0.256 ms\n",
     "200 bytes, only the first 160",
     true},
    {{"show", "short.ECU"}, 5, {}, "cut short: 120 of 160 bytes", true},
    {{"show", "absent.ECU"}, 3, {}, "cannot read the file", true},
    {{"check", "good.ECU"}, 0, "a good settings file\n", {}, false},
    {{"check", "long.ECU"}, 0, "a good settings file\n", "the rest is ignored", true},
    {{"check", "absent.ECU"}, 3, {}, "absent.ECU: cannot read the file", true},
    {{"check", "wrong.ECU"}, 4, {}, "wrong.ECU: not a settings file", true},
    {{"check", "tiny.ECU"}, 4, {}, "only 5 bytes, a settings file has 160", true},
    {{"check", "bad.ECU"}, 5, {}, "bad.ECU: damaged settings file (the checksum does not match)", true},
    {{"check", "short.ECU"}, 5, {}, "short.ECU: damaged settings file (cut short", true},
    {{"diff", "good.ECU", "good.ECU"}, 0, {}, {}, false},
    {{"diff", "good.ECU", "long.ECU"}, 0, {}, "the rest is ignored", true},
    {{"diff", "good.ECU", "other.ECU"}, 1, "RPM Divider: 4 -> 3\n", {}, false},
    {{"diff", "good.ECU", "bad.ECU"}, 2, {}, "bad.ECU: damaged settings file", true},
    {{"diff", "absent.ECU", "good.ECU"}, 2, {}, "cannot read the file", true},
    {{"--help"}, 0, "Usage: ecusettings show FILE", {}, false},
    {{}, 2, {}, "ecusettings: no command given", false},
    {{"frob", "good.ECU"}, 2, {}, "ecusettings: unknown command \"frob\"", false},
    {{"show"}, 2, {}, "wrong number of files for show", false},
    {{"check", "good.ECU", "bad.ECU"}, 2, {}, "wrong number of files for check", false},
    {{"diff", "good.ECU"}, 2, {}, "wrong number of files for diff", false},
};

TEST_F(EcusettingsProgram, EveryVerbWithItsExitCodeAndMessages) {
    for (const VerbCase& c : kCases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Run run = Start(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.outContains.isEmpty()) {
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        } else {
            EXPECT_TRUE(run.out.contains(c.outContains)) << run.out.toStdString();
        }
        const QString err = run.errLines.join('\n');
        if (c.errContains.isEmpty()) {
            EXPECT_TRUE(err.isEmpty()) << err.toStdString();
        } else {
            EXPECT_TRUE(err.contains(c.errContains)) << err.toStdString();
        }
        if (c.oneErrLine) {
            EXPECT_EQ(run.errLines.size(), 1) << err.toStdString();
        }
    }
}

TEST_F(EcusettingsProgram, ShowPrintsEveryLineOfTheReport) {
    const Run run = Start({"show", "good.ECU"});
    EXPECT_EQ(run.out.count('\n'), 31);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Switching To Gas Temperature °C: 45\n")));
}

} // namespace
