#include "pages/log_recorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A real filesystem that fills up: a file-size limit in a child process, whose write past it is short and
// then fails, as on a full stick. The child writes until the recorder gives up; the file must hold whole
// lines only.
TEST_F(LogRecorderFile, AFullDiskLeavesOnlyWholeLines) {
    constexpr qint64 kRoom = 4096; // a 4 KB filesystem: the header, 203 lines and 15 bytes of the next
    constexpr int kMaxLines = 1000;
    const QString path = Path("full.log");
    const QByteArray line = LogRecorder::Line({850, 245, 312, 450, 'G'});
    ASSERT_NE((kRoom - LogRecorder::Header().size()) % line.size(), 0) << "the limit must cut a line";

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(kRoom), static_cast<rlim_t>(kRoom)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(10);
        LogRecorder inChild;
        if (!inChild.Start(path))
            _exit(11);
        for (int i = 0; i < kMaxLines; ++i) {
            if (!inChild.Write({850, 245, 312, 450, 'G'}))
                _exit(inChild.IsOpen() ? 12 : 0);
        }
        _exit(13); // the limit never struck
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    const QByteArray content = Content(path);
    const qint64 lines = (kRoom - LogRecorder::Header().size()) / line.size();
    EXPECT_EQ(content.size(), LogRecorder::Header().size() + lines * line.size());
    EXPECT_TRUE(content.startsWith(LogRecorder::Header()));
    EXPECT_TRUE(content.endsWith(line));
    EXPECT_EQ(content.count("\r\n"), lines + 1);
}

} // namespace
