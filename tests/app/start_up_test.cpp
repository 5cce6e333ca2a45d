#include "tests/support/window_fixture.h"

#include "app/program_settings.h"
#include "app/program_settings_panel.h"
#include "app/status_panels.h"
#include "pages/cylinder_strip.h"

#include <QTabWidget>

namespace {

struct StartCase {
    const char* name;
    QByteArray ini; // empty: no INI file at all
    QString panel0;
    int port;
    int calSens;
    uint32_t linkSensitivity;
    QString panel1; // the language shows in the connection text
    bool opens = true;
};

class StartUp : public WindowFixture, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartUp, ReadsTheIniAndOpensThePort) {
    const StartCase& c = GetParam();
    portOpens = c.opens;
    if (!c.ini.isEmpty())
        WriteIni(c.ini);
    CreateWindow();
    EXPECT_EQ(window->sb->PanelText(0), c.panel0);
    EXPECT_EQ(window->ecu->PortNumber(), c.port);
    EXPECT_EQ(window->calSens, c.calSens);
    EXPECT_EQ(window->ecu->calibrationSensitivity, c.linkSensitivity);
    EXPECT_EQ(window->sb->PanelText(1), c.panel1);
}

const QString kLost = QStringLiteral("ECU Communication is lost");

INSTANTIATE_TEST_SUITE_P(
    Ini, StartUp,
    ::testing::Values(StartCase{"NoIni", {}, "COM1", 1, 5, 5, kLost},
                      StartCase{"TwoDigitPort", "[Main]\r\nComport=COM12\r\n", "COM12", 12, 5, 5, kLost},
                      StartCase{"MissingPort", "[Main]\r\nComport=COM7\r\n", "COM ---", 7, 5, 5, kLost,
                                false},
                      StartCase{"NotACom", "[Main]\r\nComport=ttyUSB0\r\n", "COM ---", 0, 5, 5, kLost, false},
                      StartCase{"SensitivityZero", "[Main]\r\nCalSens=0\r\n", "COM1", 1, 0, 1, kLost},
                      StartCase{"SensitivityAbove", "[Main]\r\nCalSens=20\r\n", "COM1", 1, 20, 15, kLost},
                      StartCase{"SensitivityHex", "[Main]\r\nCalSens=0x0A\r\n", "COM1", 1, 10, 10, kLost},
                      StartCase{"UnknownLanguage", "[Main]\r\nLanguage=XX\r\n", "COM1", 1, 5, 5, kLost}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

class StartUpWindow : public WindowFixture {};

TEST_F(StartUpWindow, FrameHasCaptionSizeAndPagesInOrder) {
    CreateWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ORVANTO ECU SETUP   (Ver:1.10) "));
    EXPECT_EQ(window->size(), QSize(863, 637));
    EXPECT_EQ(window->minimumSize(), QSize(800, 600));
    EXPECT_EQ(window->VrBlotter1->width(), 201);
    const char* pages[] = {"tsdurum", "TabSheet2", "ts1", "ts2", "ts3", "ts4"};
    ASSERT_EQ(window->PageControl1->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(window->PageControl1->widget(i)->objectName(), QString::fromLatin1(pages[i]));
    EXPECT_EQ(window->PageControl1->currentIndex(), 0);
    EXPECT_TRUE(window->VrBlotter3->isHidden());
    for (int panel = 0; panel < StatusPanels::kPanels; ++panel)
        EXPECT_EQ(window->sb->Panel(panel)->width(), StatusPanels::kWidths[panel]);
}

TEST_F(StartUpWindow, ConnectionShowsTextAndVersion) {
    CreateWindow();
    Connect(3, 12);
    EXPECT_EQ(window->sb->PanelText(1), QStringLiteral("Connected to ECU"));
    EXPECT_EQ(window->sb->PanelText(2), QStringLiteral("Ecu Ver:3.12"));
}

} // namespace

namespace {

TEST(IniLocation, BesideTheExecutableUnlessItsFolderCannotBeWritten) {
    QTemporaryDir folder;
    const QString user = folder.filePath(QStringLiteral("user"));
    struct Case {
        QString executable;
        QString expected;
    };
    const Case cases[] = {
        {folder.filePath(QStringLiteral("ecusetup")), folder.filePath(QStringLiteral("ecusetup.ini"))},
        {folder.filePath(QStringLiteral("ecusetup.exe")), folder.filePath(QStringLiteral("ecusetup.ini"))},
        {folder.filePath(QStringLiteral("gone/ecusetup")), user + QStringLiteral("/ecusetup.ini")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramSettings::IniPathFor(c.executable, user), c.expected) << c.executable.toStdString();
}

} // namespace
