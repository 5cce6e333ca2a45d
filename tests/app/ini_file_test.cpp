#include "app/ini_file.h"
#include "app/program_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return folder.filePath(name); }
    void WriteBytes(const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Bytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("ecusetup.ini"));
};

TEST_F(IniFileTest, ReadsKeysOfTheirSectionOnly) {
    WriteBytes("[Other]\r\nComport=COM9\r\n[ main ]\r\n  comport =  COM4  \nCalSens=\r\n");
    const IniFile ini(path);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Main", "Comport", "COM4"}, // case and blanks do not matter, LF alone ends a line too
        {"MAIN", "COMPORT", "COM4"},     {"Other", "Comport", "COM9"},
        {"Main", "CalSens", ""},        // present but empty
        {"Main", "Language", "<none>"}, // missing key
        {"Absent", "Comport", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<none>"), QString::fromLatin1(c.expected));
    }
}

TEST_F(IniFileTest, EachWriteReachesTheFileAtOnceKeepingTheOtherLines) {
    WriteBytes("; note\r\n[Main]\r\nLanguage=DE\r\nFoo=bar\r\n\r\n[Other]\r\nx=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("Main", "Language", "TR"));
    EXPECT_EQ(Bytes(), QByteArray("; note\r\n[Main]\r\nLanguage=TR\r\nFoo=bar\r\n\r\n[Other]\r\nx=1\r\n"));
    ASSERT_TRUE(ini.WriteString("Main", "Comport", "COM3"));
    EXPECT_EQ(
        Bytes(),
        QByteArray("; note\r\n[Main]\r\nLanguage=TR\r\nFoo=bar\r\nComport=COM3\r\n\r\n[Other]\r\nx=1\r\n"));
    ASSERT_TRUE(ini.WriteString("New", "k", "v"));
    EXPECT_TRUE(Bytes().endsWith("[Other]\r\nx=1\r\n[New]\r\nk=v\r\n"));
    EXPECT_EQ(IniFile(path).ReadString("Main", "Comport", {}), QStringLiteral("COM3"));
}

TEST_F(IniFileTest, WritingAKeyAgainReplacesItsLine) {
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("Main", "CalSens", "3"));
    ASSERT_TRUE(ini.WriteString("Main", "CalSens", "8"));
    EXPECT_EQ(Bytes(), QByteArray("[Main]\r\nCalSens=8\r\n"));
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenIsReported) {
    struct Case {
        const char* name;
        QString path;
        bool makeFolder;
    } cases[] = {
        {"folder in place of the file", PathOf("asfolder.ini"), true},
        {"missing folder", PathOf("gone/ecusetup.ini"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.makeFolder) {
            ASSERT_TRUE(QDir().mkpath(c.path));
        }
        IniFile ini(c.path);
        EXPECT_FALSE(ini.WriteString("Main", "Comport", "COM1"));
        EXPECT_FALSE(ini.Flush());
        EXPECT_EQ(ini.Path(), c.path);
        EXPECT_EQ(QFileInfo(c.path).isDir(), c.makeFolder);
    }
}

TEST(ProgramSettingsFile, CalSensIsDecimalOrHexWithPrefix) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"7", 7}, {"0", 0},   {"20", 20}, {"-3", -3}, {"0x0A", 10}, {"0XA", 10},        {" 4 ", 4},
        {"", 5},  {"abc", 5}, {"3.5", 5}, {"0x", 5},  {"0xZZ", 5},  {"99999999999", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ProgramSettings::ParseCalSens(QString::fromLatin1(c.text)), c.expected);
    }
}

TEST(ProgramSettingsFile, IniPathIsTheExecutablesWithIni) {
    EXPECT_EQ(ProgramSettings::IniPathFor("/opt/ecu/ecusetup"), QStringLiteral("/opt/ecu/ecusetup.ini"));
    EXPECT_EQ(ProgramSettings::IniPathFor("C:/ecu/Setup.exe"), QStringLiteral("C:/ecu/Setup.ini"));
}

TEST(ProgramSettingsFile, WriteStopsAtTheFirstFailure) {
    QTemporaryDir folder;
    const QString path = folder.filePath("gone/ecusetup.ini");
    IniFile ini(path);
    ProgramSettings::Values values;
    EXPECT_FALSE(ProgramSettings::Write(ini, values));
    EXPECT_FALSE(QFile::exists(path));

    const QString good = folder.filePath("ecusetup.ini");
    IniFile written(good);
    values.comport = "COM12";
    values.calSens = 0;
    values.language = "DE";
    ASSERT_TRUE(ProgramSettings::Write(written, values));
    const ProgramSettings::Values read = ProgramSettings::Read(good);
    EXPECT_EQ(read.comport, QStringLiteral("COM12"));
    EXPECT_EQ(read.calSens, 0);
    EXPECT_EQ(read.language, QStringLiteral("DE"));
}

} // namespace
