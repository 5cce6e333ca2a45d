#include "ecu/com_port_names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ComPortNames, PortTextRule) {
    struct Case {
        const char* text;
        int number;
    };
    const Case cases[] = {{"COM1", 1}, {"COM12", 12}, {"COM", 0},        {"com3", 0},  {"", 0},
                          {"COMx", 0}, {"COM3x", 0},  {"/dev/ttyS0", 0}, {"COM-2", 0}, {"COM99999", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ComPortNames::PortNumberFromText(QString::fromLatin1(c.text)), c.number) << c.text;
    EXPECT_EQ(ComPortNames::PortText(40), QStringLiteral("COM40"));
}

#ifndef Q_OS_WIN
TEST(ComPortNames, FixedTableOnLinux) {
    QTemporaryDir empty;
    struct Case {
        int number;
        const char* device;
    };
    const Case cases[] = {{1, "/dev/ttyS0"},
                          {32, "/dev/ttyS31"},
                          {33, "/dev/ttyUSB0"},
                          {64, "/dev/ttyUSB31"},
                          {65, "/dev/ttyACM0"},
                          {96, "/dev/ttyACM31"},
                          {97, ""},
                          {0, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(ComPortNames::DevicePath(c.number, empty.path()), QString::fromLatin1(c.device))
            << c.number;
}

TEST(ComPortNames, PortsFolderEntryWins) {
    QTemporaryDir folder;
    const QString link = QDir(folder.path()).filePath("COM5");
    ASSERT_TRUE(QFile::link("/dev/null", link));
    EXPECT_EQ(ComPortNames::DevicePath(5, folder.path()), link);
    EXPECT_EQ(ComPortNames::DevicePath(6, folder.path()), QStringLiteral("/dev/ttyS5"));
    const QString dangling = QDir(folder.path()).filePath("COM100");
    ASSERT_TRUE(QFile::link("/nonexistent/device", dangling));
    EXPECT_EQ(ComPortNames::DevicePath(100, folder.path()), dangling) << "a broken link still names the port";
}
#endif

} // namespace
