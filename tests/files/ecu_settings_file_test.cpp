#include "files/ecu_settings_file.h"
#include "files/ecu_settings_record.h"
#include "tests/support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Check = EcuSettingsRecord::Check;

EcuSettingsRecord SampleRecord() {
    EcuSettingsRecord r;
    r.baseCorrection = 0x41;
    r.gasInjectorMask = 0x0B;
    r.rpmPin = 1;
    r.mapSensor = 1;
    r.fastChange = 1;
    r.injectorProtection = 30;
    r.rpmDivider = 4;
    r.switchTemperature = 0x0123;
    r.switchRpmIndex = 5;
    r.minGasPressure = 0x0302;
    r.tankMax = 0x03E7;
    r.tankMin = 0x0011;
    for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
        r.engineMap[i] = static_cast<uint8_t>(20 + 9 * i);
    return r;
}

Bytes ToBytes(const EcuSettingsRecord& record) {
    const EcuSettingsRecord::Bytes b = record.Serialise();
    return {b.begin(), b.end()};
}

uint32_t Word(const Bytes& b, int offset) {
    return b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 | static_cast<uint32_t>(b[offset + 3]) << 24;
}

// Writes a new checksum the way the file format defines it, independently of the record code.
void FixChecksum(Bytes& b) {
    uint32_t sum = 0;
    for (std::size_t i = 0; i < 160 && i < b.size(); ++i)
        sum += (i >= 100 && i < 104) ? 0u : b[i];
    for (int i = 0; i < 4; ++i)
        b[100 + i] = static_cast<uint8_t>(sum >> (8 * i));
}

TEST(EcuSettingsRecord, FieldsLieAtTheirOffsetsLittleEndian) {
    const Bytes b = ToBytes(SampleRecord());
    ASSERT_EQ(b.size(), 160u);
    EXPECT_EQ(0, std::memcmp(b.data(), "Zorvi Ecu Settings File\0", 24));
    struct Field {
        int offset;
        int size;
        uint32_t value;
    };
    const Field fields[] = {
        {104, 4, 0x41},   {108, 4, 0x0B},   {112, 1, 1},      {113, 1, 1}, {114, 1, 1},
        {116, 4, 30},     {120, 4, 4},      {124, 4, 0x0123}, {128, 4, 5}, {132, 4, 0x0302},
        {136, 4, 0x03E7}, {140, 4, 0x0011}, {144, 4, 4},      {115, 1, 0},
    };
    for (const Field& f : fields)
        EXPECT_EQ(f.size == 4 ? Word(b, f.offset) : b[f.offset], f.value) << "offset " << f.offset;
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(b[148 + i], 20 + 9 * i) << "map point " << i;
    for (int i = 24; i < 100; ++i)
        EXPECT_EQ(b[i], 0) << "reserved byte " << i;
    uint32_t sumWithoutTheField = 0; // the byte sum with the checksum field taken as zero
    for (std::size_t i = 0; i < b.size(); ++i)
        sumWithoutTheField += (i >= 100 && i < 104) ? 0u : b[i];
    EXPECT_EQ(Word(b, 100), sumWithoutTheField);
}

TEST(EcuSettingsRecord, ParseGivesBackTheSerialisedRecord) {
    const EcuSettingsRecord saved = SampleRecord();
    EcuSettingsRecord loaded;
    ASSERT_EQ(EcuSettingsRecord::Parse(ToBytes(saved), loaded), Check::Passed);
    EXPECT_EQ(loaded, saved);
}

TEST(EcuSettingsRecord, ValuesOutsideTheirRangesTravelUnchanged) {
    EcuSettingsRecord saved = SampleRecord();
    saved.baseCorrection = -1;
    saved.rpmDivider = 200000;
    saved.tankMin = -5;
    EcuSettingsRecord loaded;
    ASSERT_EQ(EcuSettingsRecord::Parse(ToBytes(saved), loaded), Check::Passed);
    EXPECT_EQ(loaded, saved);
}

TEST(EcuSettingsRecord, HeaderMustMatchToTheLetterEvenWithAGoodChecksum) {
    struct Case {
        int offset;
        uint8_t value;
    };
    const Case cases[] = {{0, 'z'}, {6, 'e'}, {10, 's'}, {22, 'E'}, {23, ' '}, {5, '_'}};
    for (const Case& c : cases) {
        Bytes b = ToBytes(SampleRecord());
        b[c.offset] = c.value;
        FixChecksum(b);
        EcuSettingsRecord untouched;
        EXPECT_EQ(EcuSettingsRecord::Parse(b, untouched), Check::WrongHeader) << "offset " << c.offset;
        EXPECT_EQ(untouched, EcuSettingsRecord{});
    }
}

TEST(EcuSettingsRecord, AnyChangedByteIsCaught) {
    const Bytes good = ToBytes(SampleRecord());
    for (int offset = 0; offset < 160; ++offset) {
        Bytes b = good;
        b[offset] ^= 0x01;
        const Check expected = offset < 24 ? Check::WrongHeader : Check::BadChecksum;
        EXPECT_EQ(EcuSettingsRecord::Verify(b), expected) << "offset " << offset;
    }
}

TEST(EcuSettingsRecord, ReservedContentCountsInTheChecksumOnly) {
    Bytes b = ToBytes(SampleRecord());
    for (int i = 24; i < 100; ++i)
        b[i] = static_cast<uint8_t>(i);
    b[115] = 0xEE;
    FixChecksum(b);
    EcuSettingsRecord loaded;
    ASSERT_EQ(EcuSettingsRecord::Parse(b, loaded), Check::Passed);
    EXPECT_EQ(loaded, SampleRecord());
}

// Missing bytes must not count as zeros: a record whose tail is zero would pass if they did.
TEST(EcuSettingsRecord, ShortInputNeverPasses) {
    EcuSettingsRecord zeroTail = SampleRecord();
    zeroTail.engineMap.fill(0);
    const Bytes full = ToBytes(zeroTail);
    struct Case {
        std::size_t size;
        Check expected;
    };
    const Case cases[] = {{0, Check::WrongHeader},   {10, Check::WrongHeader},  {23, Check::WrongHeader},
                          {24, Check::BadChecksum},  {100, Check::BadChecksum}, {148, Check::BadChecksum},
                          {159, Check::BadChecksum}, {160, Check::Passed}};
    for (const Case& c : cases) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(c.size));
        EXPECT_EQ(EcuSettingsRecord::Verify(cut), c.expected) << c.size << " bytes";
    }
}

TEST(EcuSettingsRecord, BytesAfterTheRecordAreNotPartOfIt) {
    Bytes b = ToBytes(SampleRecord());
    b.insert(b.end(), {1, 2, 3, 4, 5});
    EcuSettingsRecord loaded;
    ASSERT_EQ(EcuSettingsRecord::Parse(b, loaded), Check::Passed);
    EXPECT_EQ(loaded, SampleRecord());
}

TEST(EcuSettingsFileName, DefExtensionOnlyForNamesWithoutOne) {
    struct Case {
        const char* given;
        const char* used;
    };
    const Case cases[] = {
        {"/tmp/car", "/tmp/car.DEF"},
        {"/tmp/car.ECU", "/tmp/car.ECU"},
        {"/tmp/car.ecu", "/tmp/car.ecu"},
        {"/tmp/my.dir/car", "/tmp/my.dir/car.DEF"},
        {"car", "car.DEF"},
        {"/tmp/car.old.x", "/tmp/car.old.x"},
        {"", ""},
        {"/tmp/", "/tmp/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EcuSettingsFile::WithDefaultExtension(QString::fromUtf8(c.given)),
                  QString::fromUtf8(c.used))
            << c.given;
}

class EcuSettingsFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    static void Write(const QString& path, const QByteArray& content) {
        ASSERT_TRUE(WriteFileBytes(path, content));
    }

    QTemporaryDir dir;
};

TEST_F(EcuSettingsFileTest, SaveThenLoadGivesTheSameRecord) {
    ASSERT_TRUE(EcuSettingsFile::Save(Path("car.ECU"), SampleRecord()));
    EXPECT_EQ(ReadFileBytes(Path("car.ECU")).size(), 160);
    const EcuSettingsFile::LoadResult loaded = EcuSettingsFile::Load(Path("car.ECU"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.record, SampleRecord());
}

TEST_F(EcuSettingsFileTest, NamesWithoutExtensionGetDefOnSaveAndLoad) {
    ASSERT_TRUE(EcuSettingsFile::Save(Path("car"), SampleRecord()));
    EXPECT_TRUE(QFile::exists(Path("car.DEF")));
    EXPECT_FALSE(QFile::exists(Path("car")));

    Write(Path("other.DEF"), FileBytes(SampleRecord()));
    Write(Path("other"), "not a settings file");
    const EcuSettingsFile::LoadResult loaded = EcuSettingsFile::Load(Path("other"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.record, SampleRecord());
}

TEST_F(EcuSettingsFileTest, SavingReplacesTheOldFileAndLeavesNothingBesideIt) {
    Write(Path("car.ECU"), QByteArray(500, 'x'));
    ASSERT_TRUE(EcuSettingsFile::Save(Path("car.ECU"), SampleRecord()));
    EXPECT_EQ(ReadFileBytes(Path("car.ECU")), FileBytes(SampleRecord()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"car.ECU"});
}

// The record is written beside the target first; when that cannot be done, the old file stays.
TEST_F(EcuSettingsFileTest, FailedSaveKeepsTheOldFile) {
    // So long a name that no temporary name beside it fits into the folder: the save fails even for root.
    const QString target = Path(QString(250, u'n') + QStringLiteral(".ECU"));
    const QByteArray old = "the old settings";
    Write(target, old);
    EXPECT_FALSE(EcuSettingsFile::Save(target, SampleRecord()));
    EXPECT_EQ(ReadFileBytes(target), old);
}

TEST_F(EcuSettingsFileTest, LoadFailuresNameTheirTexts) {
    Bytes wrongCase = ToBytes(SampleRecord());
    wrongCase[0] = 'z';
    FixChecksum(wrongCase);
    Bytes damaged = ToBytes(SampleRecord());
    damaged[60] = 7;
    const Bytes full = ToBytes(SampleRecord());
    struct Case {
        const char* what;
        QByteArray content; // empty: no file at all
        int text;
    };
    const Case cases[] = {
        {"missing", {}, 20},
        {"header case", AsFileBytes(wrongCase), 21},
        {"reserved byte changed", AsFileBytes(damaged), 22},
        {"shorter than the header", AsFileBytes(full).left(12), 21},
        {"cut short after the header", AsFileBytes(full).left(159), 22},
        {"empty", QByteArray(""), 21},
    };
    for (const Case& c : cases) {
        const QString path = Path(QString::fromUtf8(c.what) + QStringLiteral(".ECU"));
        if (!c.content.isNull())
            Write(path, c.content);
        const EcuSettingsFile::LoadResult loaded = EcuSettingsFile::Load(path);
        EXPECT_FALSE(loaded.ok()) << c.what;
        EXPECT_EQ(EcuSettingsFile::LoadFailureText(loaded.failure), c.text) << c.what;
    }
}

} // namespace
