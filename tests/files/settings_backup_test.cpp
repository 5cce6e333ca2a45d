#include "files/settings_backup.h"

#include "tests/support/file_bytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QDateTime kFirst(QDate(2026, 12, 11), QTime(9, 30, 0));

EcuSettingsRecord RecordNumber(int n) {
    EcuSettingsRecord r;
    r.tankMax = n;
    return r;
}

TEST(SettingsBackup, KeepsTheMostRecentFiftyAndNothingElseIsTouched) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("backups"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(WriteFileBytes(QDir(folder).filePath(QStringLiteral("customer.ECU")), "the fitter's own"));
    for (int n = 0; n < SettingsBackup::kKept + 1; ++n) {
        const QString path = SettingsBackup::Write(folder, RecordNumber(n), kFirst.addSecs(60 * n));
        ASSERT_FALSE(path.isEmpty()) << n;
        EXPECT_EQ(ReadFileBytes(path), FileBytes(RecordNumber(n))) << n;
    }
    const QStringList names = SettingsBackup::Names(folder);
    ASSERT_EQ(names.size(), SettingsBackup::kKept);
    EXPECT_EQ(names.front(), QStringLiteral("2026-12-11_09-31-00.ECU")) << "the oldest went";
    EXPECT_EQ(names.back(), QStringLiteral("2026-12-11_10-20-00.ECU"));
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("customer.ECU"))));
}

TEST(SettingsBackup, BackupsWithinOneSecondKeepTheirOrder) {
    QTemporaryDir dir;
    for (int n = 0; n < 11; ++n)
        ASSERT_FALSE(SettingsBackup::Write(dir.path(), RecordNumber(n), kFirst).isEmpty());
    const QStringList names = SettingsBackup::Names(dir.path());
    ASSERT_EQ(names.size(), 11);
    EXPECT_EQ(names[0], QStringLiteral("2026-12-11_09-30-00.ECU"));
    EXPECT_EQ(names[1], QStringLiteral("2026-12-11_09-30-00_2.ECU"));
    EXPECT_EQ(names[10], QStringLiteral("2026-12-11_09-30-00_11.ECU")) << "_11 after _9";
    EXPECT_EQ(ReadFileBytes(QDir(dir.path()).filePath(names[10])), FileBytes(RecordNumber(10)));
}

TEST(SettingsBackup, AFolderThatCannotBeMadeWritesNothing) {
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("backups"));
    ASSERT_TRUE(WriteFileBytes(blocked, "a file where the folder should be"));
    EXPECT_TRUE(SettingsBackup::Write(blocked, RecordNumber(1), kFirst).isEmpty());
    EXPECT_EQ(ReadFileBytes(blocked), QByteArray("a file where the folder should be"));
}

} // namespace
