#include "pages/log_recorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A device that takes a fixed number of bytes and then fails, as a disk that fills up does.
class FillingDevice : public QIODevice {
public:
    FillingDevice(QByteArray& store, qint64 room) : store(store), room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        const qint64 taken = std::min(length, room);
        if (taken <= 0)
            return -1;
        store.append(data, taken);
        room -= taken;
        return taken;
    }

private:
    QByteArray& store;
    qint64 room;
};

struct LineCase {
    const char* name;
    LogSample sample;
    QByteArray line;
};

class LogLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(LogLine, IsSemicolonSeparatedWithCrLf) {
    EXPECT_EQ(LogRecorder::Line(GetParam().sample), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LogLine,
    ::testing::Values(
        LineCase{"IdleOnGas", {850, 245, 312, 450, 'G'}, "850;245;312;450;G;\r\n"},
        LineCase{"Zeros", {0, 0, 0, 0, 'B'}, "0;0;0;0;B;\r\n"},
        LineCase{"Widest", {4294967295u, 26214, 65535, 65535, 'B'}, "4294967295;26214;65535;65535;B;\r\n"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

class LogRecorderFile : public ::testing::Test {
protected:
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QTemporaryDir folder;
    LogRecorder recorder;
};

TEST_F(LogRecorderFile, EmptiesAnExistingFileAndWritesEachLineAtOnce) {
    const QString path = Path("old.log");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older and much longer recording\r\n");
    }
    ASSERT_TRUE(recorder.Start(path));
    EXPECT_EQ(Content(path), "RPM;inj;map;v;mode;\r\n");
    ASSERT_TRUE(recorder.Write({850, 245, 312, 450, 'G'}));
    // Read while still open: nothing waits in a buffer.
    EXPECT_EQ(Content(path), "RPM;inj;map;v;mode;\r\n850;245;312;450;G;\r\n");
    recorder.Stop();
    EXPECT_FALSE(recorder.IsOpen());
    EXPECT_FALSE(recorder.Write({1, 2, 3, 4, 'B'}));
}

TEST_F(LogRecorderFile, FilesThatCannotTakeTheHeaderDoNotStart) {
    for (const QString& path : {Path("no-such-folder/x.log"), QStringLiteral("/dev/full"), folder.path()}) {
        EXPECT_FALSE(recorder.Start(path)) << path.toStdString();
        EXPECT_FALSE(recorder.IsOpen()) << path.toStdString();
    }
}

TEST_F(LogRecorderFile, ALineThatDoesNotFitClosesTheFileAndKeepsWhatWasWritten) {
    QByteArray store;
    const qint64 room = LogRecorder::Header().size() + 10; // the header and part of a line
    recorder.SetOpener([&](const QString&) { return std::make_unique<FillingDevice>(store, room); });
    ASSERT_TRUE(recorder.Start(QStringLiteral("stick.log")));
    EXPECT_FALSE(recorder.Write({850, 245, 312, 450, 'G'}));
    EXPECT_FALSE(recorder.IsOpen());
    EXPECT_TRUE(store.startsWith(LogRecorder::Header()));
}

} // namespace
