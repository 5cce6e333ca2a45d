#include "sim/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

std::unique_ptr<ecusim::PseudoTerminal> OpenOrSkip(std::string& error) {
    return ecusim::PseudoTerminal::Open(error);
}

} // namespace

TEST(PseudoTerminal, CarriesBytesBothWaysUnchanged) {
    std::string error;
    auto pty = OpenOrSkip(error);
    if (!pty)
        GTEST_SKIP() << "no pseudo-terminals here: " << error;
    const int host = open(pty->slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(host, 0);
    // Bytes a cooked terminal would change: CR, LF, ^C, ^D, DEL, 0xFF.
    const uint8_t toEcu[] = {0x00, 0xF0, 0x0D, 0x0A, 0x03, 0x04, 0x7F, 0xFF};
    ASSERT_EQ(write(host, toEcu, sizeof toEcu), static_cast<ssize_t>(sizeof toEcu));
    uint8_t got[16] = {};
    pollfd wait{pty->masterFd(), POLLIN, 0};
    ASSERT_EQ(poll(&wait, 1, 2000), 1);
    ASSERT_EQ(pty->read(got, sizeof got), sizeof toEcu);
    EXPECT_EQ(0, memcmp(got, toEcu, sizeof toEcu));

    const uint8_t toHost[] = {0x00, 0xF0, 0x01, 0x62, 0x00, 0x63, 0x0A, 0x0D};
    ASSERT_EQ(pty->write(toHost, sizeof toHost), sizeof toHost);
    pollfd hostWait{host, POLLIN, 0};
    ASSERT_EQ(poll(&hostWait, 1, 2000), 1);
    ASSERT_EQ(read(host, got, sizeof got), static_cast<ssize_t>(sizeof toHost));
    EXPECT_EQ(0, memcmp(got, toHost, sizeof toHost));
    close(host);
}

TEST(PseudoTerminal, AHostThatClosesLeavesNoErrorToSpinOn) {
    std::string error;
    auto pty = OpenOrSkip(error);
    if (!pty)
        GTEST_SKIP() << "no pseudo-terminals here: " << error;
    const int host = open(pty->slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(host, 0);
    close(host);
    pollfd wait{pty->masterFd(), POLLIN, 0};
    EXPECT_EQ(poll(&wait, 1, 0), 0) << "no hang-up while the program holds the other side";
    uint8_t b = 0;
    EXPECT_EQ(pty->read(&b, 1), 0u);
}

TEST(PseudoTerminal, DiscardsWhatTheHostHasNotRead) {
    std::string error;
    auto pty = OpenOrSkip(error);
    if (!pty)
        GTEST_SKIP() << "no pseudo-terminals here: " << error;
    const int host = open(pty->slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(host, 0);
    const std::vector<uint8_t> bytes(300, 0x55);
    ASSERT_EQ(pty->write(bytes.data(), bytes.size()), bytes.size());
    pollfd wait{host, POLLIN, 0};
    ASSERT_EQ(poll(&wait, 1, 2000), 1);
    EXPECT_GT(pty->unreadByHost(), 0);
    pty->discardUnread();
    EXPECT_EQ(pty->unreadByHost(), 0);
    uint8_t b = 0;
    EXPECT_LT(read(host, &b, 1), 1);
    close(host);
}
