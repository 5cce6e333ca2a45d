#include "tests/tools/settings_test_files.h"
#include "tools/settings_file_reader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

using SettingsFileReader::Outcome;

QByteArray Good() {
    return FileBytes(KnownRecord());
}

QByteArray WithByte(int offset, char value) {
    QByteArray bytes = Good();
    bytes[offset] = value;
    return bytes;
}

struct FileCase {
    const char* name;
    QByteArray bytes;
    Outcome outcome;
    QString description; // after "<path>: "
    QString note;        // after "<path>: ", empty for none
};

class SettingsFileReaderCases : public testing::TestWithParam<FileCase> {};

TEST_P(SettingsFileReaderCases, OutcomeAndPlainWords) {
    const FileCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("s.ECU"), c.bytes);
    const SettingsFileReader::Result result = SettingsFileReader::Read(path);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.path, path);
    EXPECT_EQ(SettingsFileReader::Describe(result), path + ": " + c.description);
    EXPECT_EQ(SettingsFileReader::ExtraBytesNote(result),
              c.note.isEmpty() ? QString() : path + ": " + c.note);
    if (c.outcome == Outcome::Good) {
        EXPECT_EQ(result.record, KnownRecord());
    }
}

const QString kGood = QStringLiteral("a good settings file");
const QString kNotSettings =
    QStringLiteral("not a settings file (it does not begin with \"Zorvi Ecu Settings File\")");
const QString kChecksum = QStringLiteral("damaged settings file (the checksum does not match)");

const FileCase kFiles[] = {
    {"Good", Good(), Outcome::Good, kGood, {}},
    {"LongerThanTheRecord", Good() + "trailing", Outcome::Good, kGood,
     "note: 168 bytes, only the first 160 are the settings; the rest is ignored"},
    {"Empty",
     QByteArray(),
     Outcome::WrongHeader,
     "not a settings file (only 0 bytes, a settings file has 160)",
     {}},
    {"ShorterThanTheHeader",
     Good().left(10),
     Outcome::WrongHeader,
     "not a settings file (only 10 bytes, a settings file has 160)",
     {}},
    {"HeaderInOtherLetterCase", WithByte(0, 'z'), Outcome::WrongHeader, kNotSettings, {}},
    {"HeaderWithoutItsZero", WithByte(23, ' '), Outcome::WrongHeader, kNotSettings, {}},
    {"CutShortAfterTheHeader",
     Good().left(100),
     Outcome::BadChecksum,
     "damaged settings file (cut short: 100 of 160 bytes)",
     {}},
    {"OneByteShort",
     Good().left(159),
     Outcome::BadChecksum,
     "damaged settings file (cut short: 159 of 160 bytes)",
     {}},
    {"ReservedByteChanged", WithByte(50, 1), Outcome::BadChecksum, kChecksum, {}},
    {"SettingChanged", WithByte(120, 7), Outcome::BadChecksum, kChecksum, {}},
    {"ChecksumChanged", WithByte(101, 0x7F), Outcome::BadChecksum, kChecksum, {}},
};

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileReaderCases, testing::ValuesIn(kFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileReader, MissingFileAndFolderCannotBeRead) {
    QTemporaryDir dir;
    // The folder's name has an extension: a bare name would mean "name.DEF".
    const QString folder = dir.filePath(QStringLiteral("saved.ECU"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& path : {dir.filePath(QStringLiteral("absent.ECU")), folder}) {
        const SettingsFileReader::Result result = SettingsFileReader::Read(path);
        EXPECT_EQ(result.outcome, Outcome::CannotRead);
        EXPECT_TRUE(SettingsFileReader::Describe(result).startsWith(path + ": cannot read the file ("));
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_TRUE(SettingsFileReader::ExtraBytesNote(result).isEmpty());
    }
}

TEST(SettingsFileReader, NameWithoutExtensionFindsTheDefFileAsTheProgramDoes) {
    QTemporaryDir dir;
    const QString saved = WriteFile(dir, QStringLiteral("car.DEF"), Good());
    const SettingsFileReader::Result result = SettingsFileReader::Read(dir.filePath(QStringLiteral("car")));
    EXPECT_EQ(result.outcome, Outcome::Good);
    EXPECT_EQ(result.path, saved);
}

TEST(SettingsFileReader, ABareNameMeansTheDefFileEvenWhenTheBareFileExists) {
    QTemporaryDir dir;
    const QString plain = WriteFile(dir, QStringLiteral("car"), Good());
    const QString def = WriteFile(dir, QStringLiteral("car.DEF"), QByteArray("other"));
    const SettingsFileReader::Result result = SettingsFileReader::Read(plain);
    EXPECT_EQ(result.path, def);
    EXPECT_EQ(result.outcome, Outcome::WrongHeader);

    // Without the .DEF file the bare one is not read either: the program could not load it.
    ASSERT_TRUE(QFile::remove(def));
    const SettingsFileReader::Result missing = SettingsFileReader::Read(plain);
    EXPECT_EQ(missing.path, def);
    EXPECT_EQ(missing.outcome, Outcome::CannotRead);
}

} // namespace
