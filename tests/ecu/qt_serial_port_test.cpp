#include "ecu/qt_serial_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose slave side is reachable as COM7 in a temporary ports folder.
class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            GTEST_SKIP() << "no pseudo-terminals here";
        ASSERT_TRUE(
            QFile::link(QString::fromLocal8Bit(ptsname(master)), QDir(folder.path()).filePath("COM7")));
    }
    void TearDown() override {
        if (master >= 0)
            ::close(master);
    }
    // Waits on real input from the other end of the pty, with a deadline.
    template <class Done> bool PumpUntil(Done done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    QTemporaryDir folder;
    int master = -1;
};

TEST_F(PtyPort, OpensDespiteRefusedModemLinesAndMovesBytesBothWays) {
    QtSerialPort port(folder.path());
    std::string received;
    port.setBytesAvailableHandler([&](uint16_t count) {
        uint8_t block[64];
        const std::size_t taken = port.takeBytes(block, std::min<std::size_t>(count, sizeof block));
        received.append(reinterpret_cast<const char*>(block), taken);
    });
    ASSERT_TRUE(port.open(7)) << port.lastError();
    EXPECT_TRUE(port.isAvailable(7)) << "the port the link holds is listed";

    ASSERT_EQ(::write(master, "ab", 2), 2);
    EXPECT_TRUE(PumpUntil([&] { return received == "ab"; }));

    const uint8_t out[] = {0x00, 0xF0};
    EXPECT_TRUE(port.write(out, sizeof out));
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    std::string back;
    EXPECT_TRUE(PumpUntil([&] {
        char c;
        while (::read(master, &c, 1) == 1)
            back.push_back(c);
        return back.size() >= 2;
    }));
    EXPECT_EQ(back, std::string("\x00\xF0", 2));
}

// What the ECU's line needs, read back from the terminal itself rather than from the port object:
// 19200 baud both ways, 8 data bits, no parity, one stop bit, no flow control of either kind, raw.
TEST_F(PtyPort, TheLineIsSetTo19200EightNoneOneRawWithoutFlowControl) {
    QtSerialPort port(folder.path());
    ASSERT_TRUE(port.open(7)) << port.lastError();
    termios line{};
    ASSERT_EQ(tcgetattr(master, &line), 0); // a pty pair shares one set of line settings
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B19200));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B19200));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(line.c_cflag & CREAD, 0u);
    EXPECT_NE(line.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | IXANY), 0u) << "no software flow control";
    EXPECT_EQ(line.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK), 0u) << "input untranslated";
    EXPECT_EQ(line.c_oflag & OPOST, 0u) << "output untranslated";
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u) << "no line editing or echo";
}

TEST_F(PtyPort, ClosesAtTheFirstResourceErrorWhenTheDeviceGoesAway) {
    QtSerialPort port(folder.path());
    int lost = 0;
    port.setPortLostHandler([&] { ++lost; });
    ASSERT_TRUE(port.open(7)) << port.lastError();
    ::close(master);
    master = -1;
    EXPECT_TRUE(PumpUntil([&] { return !port.isOpen(); }));
    EXPECT_EQ(lost, 1);
    const uint8_t frame[] = {0x00, 0xF0, 0x01, 'x', 0x79, 0x00};
    EXPECT_FALSE(port.write(frame, sizeof frame)) << "a write to a port that is gone says so";
}

TEST_F(PtyPort, MissingDeviceFailsWithAReason) {
    QtSerialPort port(folder.path());
    EXPECT_FALSE(port.open(100));
    EXPECT_FALSE(port.lastError().empty());
    EXPECT_FALSE(port.isAvailable(100));
    EXPECT_FALSE(port.isAvailable(0));
    EXPECT_FALSE(port.open(0)) << "port 0 without a question";
}

} // namespace
#endif
