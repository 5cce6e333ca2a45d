#include "tests/support/window_fixture.h"

#include "app/status_panels.h"
#include "ecu/qt_serial_port.h"
#include "pages/cylinder_strip.h"
#include "sim/ecu_side_codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace EcuFrames;

namespace {

constexpr int kLineBytesPerSecond = 1920; // 19200 baud, 10 bits a byte
constexpr qint64 kHostileMs = 2000;
constexpr qint64 kSaneMs = 1000;
constexpr std::size_t kChunk = 4096;
constexpr int kGarbageRounds = 150; // link ticks: the 101st without a good report loses the link

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The payload length each report type has on the line; other letters get any length.
std::size_t LengthOf(uint8_t letter, std::mt19937& random) {
    switch (letter) {
    case '1':
        return 27;
    case '2':
        return 19;
    case 'y':
        return 13;
    case 'v':
        return 3;
    case 'b':
        return 1;
    default:
        return 1 + random() % ecusim::kMaxPayload;
    }
}

// Random bytes, with well-formed reports of random content among them about one every 200 bytes.
Bytes HostileChunk(std::mt19937& random, bool withReports = true) {
    static constexpr uint8_t kLetters[] = {'1', '2', 'y', 'v', 'b', '1', '2', 'q'};
    Bytes chunk;
    while (chunk.size() < kChunk) {
        if (withReports && random() % 200 == 0) {
            const uint8_t letter = kLetters[random() % std::size(kLetters)];
            Bytes payload(LengthOf(letter, random));
            payload[0] = letter;
            for (std::size_t i = 1; i < payload.size(); ++i)
                payload[i] = static_cast<uint8_t>(random());
            const Bytes frame = ecusim::EncodeReport(payload);
            chunk.insert(chunk.end(), frame.begin(), frame.end());
        } else {
            chunk.push_back(static_cast<uint8_t>(random()));
        }
    }
    return chunk;
}

// A sane ECU that answers every step of the handshake at once and then streams.
Bytes SaneChunk() {
    Status status;
    status.switchTemperature = 77;
    Live live;
    live.periodB = 10000; // 3000 rpm with divider 1
    return Concat({MapReportOfValues({32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32}), VersionReport(2, 7),
                   status.Frame(), live.Frame()});
}

// The real window on its real serial port, the slave side of a pseudo-terminal whose master the test
// plays as the far end of the line.
class HostileLine : public ::testing::Test {
protected:
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            GTEST_SKIP() << "no pseudo-terminals here";
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        ASSERT_TRUE(
            QFile::link(QString::fromLocal8Bit(ptsname(master)), QDir(folder.path()).filePath("COM7")));
        const QString ini = folder.filePath(QStringLiteral("ecusetup.ini"));
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Main]\r\nComport=COM7\r\n");
        file.close();

        TForm1Seams seams;
        seams.makePort = [this] { return std::make_unique<QtSerialPort>(folder.path()); };
        seams.iniPath = ini;
        seams.messages = &messages;
        seams.files = &files;
        seams.portQuestion = [] { return 0; };
        seams.processEventsWhile = [](const std::function<bool()>& keepWaiting) {
            for (int round = 0; keepWaiting() && round < 100; ++round)
                QCoreApplication::processEvents();
        };
        seams.sleepMs = [](int) {};
        window = std::make_unique<TForm1>(std::move(seams));
        ASSERT_TRUE(window->ecu->IsPortOpen()) << window->ecu->Port().lastError();
        window->show();
    }

    void TearDown() override {
        window.reset();
        if (master >= 0)
            ::close(master);
    }

    // One round: what the line carries in, the window's events, one link tick, and what the host sent.
    void Round(const Bytes& line) {
        const ssize_t taken = ::write(master, line.data(), line.size());
        offered += taken > 0 ? taken : 0;
        QElapsedTimer round;
        round.start();
        QCoreApplication::processEvents();
        window->ecu->LinkTick();
        QCoreApplication::processEvents();
        longestRoundMs = std::max(longestRoundMs, round.elapsed());
        ReadWhatTheHostSent();
    }

    void ReadWhatTheHostSent() {
        uint8_t block[kChunk];
        ssize_t n = 0;
        while ((n = ::read(master, block, sizeof block)) > 0) {
            hostBytes += static_cast<uint64_t>(n);
            for (ssize_t i = 0; i < n; ++i) {
                if (!host.feed(block[i], 0))
                    continue;
                frameBytes += host.payload().size() + 5;
                letters.insert(host.payload()[0]);
            }
        }
    }

    bool ShowsTheSaneEcu() const {
        return window->ecu->IsConnected() && window->ecu->rpm == 3000 &&
               window->ecu->switchTemperature == 77 &&
               window->VrBlotter1->Label14->text() == QStringLiteral("3000") &&
               window->sb->PanelText(1) == window->LangText(16);
    }

    QTemporaryDir folder;
    int master = -1;
    RecordingMessages messages;
    ScriptedFiles files;
    std::unique_ptr<TForm1> window;
    qint64 offered = 0;
    qint64 longestRoundMs = 0;
    uint64_t hostBytes = 0;
    uint64_t frameBytes = 0;
    ecusim::HostFrameReceiver host;
    std::set<uint8_t> letters;
};

// Two seconds of garbage at many times the line rate with reports of random content among it, then garbage
// alone until the link is lost: the window keeps answering, its memory stays put, it sends nothing but the
// link's own requests, and once the line is sane it is connected and shows the ECU's values within a second.
TEST_F(HostileLine, TheWindowStaysResponsiveSendsOnlyRequestsAndReconnects) {
    std::mt19937 random(8);
    QElapsedTimer clock;
    clock.start();
    long residentAfterWarmUp = 0;
    while (clock.elapsed() < kHostileMs) {
        Round(HostileChunk(random));
        if (residentAfterWarmUp == 0 && clock.elapsed() > kHostileMs / 4)
            residentAfterWarmUp = ResidentKb();
    }
    const qint64 hostileMs = clock.elapsed();
    const long growthKb = ResidentKb() - residentAfterWarmUp;
    EXPECT_GT(offered * 1000 / hostileMs, 10 * kLineBytesPerSecond) << "bytes a second the line carried";
    EXPECT_LT(longestRoundMs, 250) << "the longest the window was busy at a stretch";
    EXPECT_LT(growthKb, 4096) << "resident memory grew during the garbage";

    for (int round = 0; round < kGarbageRounds; ++round)
        Round(HostileChunk(random, false));
    EXPECT_FALSE(window->ecu->IsConnected());
    EXPECT_EQ(window->sb->PanelText(1), window->LangText(15));

    clock.restart();
    while (!ShowsTheSaneEcu() && clock.elapsed() < kSaneMs)
        Round(SaneChunk());
    EXPECT_TRUE(ShowsTheSaneEcu()) << "link state " << window->ecu->linkState;

    ReadWhatTheHostSent();
    EXPECT_GT(host.goodFrames(), 40u) << "a map request on every tick of the lost link";
    EXPECT_EQ(frameBytes, hostBytes) << "every byte the host sent was part of a good frame";
    const std::set<uint8_t> requests{'y', 'v', '*'}; // map, version, start streaming
    for (uint8_t letter : letters)
        EXPECT_TRUE(requests.count(letter)) << "the host sent command '" << letter << "'";
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
#endif
