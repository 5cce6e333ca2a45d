#include "tests/pages/shown_page_fixture.h"

#include "pages/sensors_page.h"
#include "pages/tank_picture.h"
#include "pages/up_down.h"
#include "widgets/status_light.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace EcuFrames;

namespace {

// "3.91 V" with the system's decimal separator.
QString Volts(const char* whole, const char* hundredths) {
    return QString::fromLatin1(whole) + QLocale::system().decimalPoint() + QString::fromLatin1(hundredths) +
           QStringLiteral(" V");
}

class SensorsPageTest : public ShownPageFixture {
protected:
    SensorsPage* page() const { return window->ts1; }
    QWidget* ShownPage() const override { return page(); }
    std::vector<bool> Lights() const {
        return {page()->led4->Lit(), page()->led3->Lit(), page()->led2->Lit(), page()->led1->Lit()};
    }
};

TEST_F(SensorsPageTest, DividerShowsInTheUpDownAndItsLabel) {
    Report(Status{.rpmDivider = 3});
    EXPECT_EQ(page()->UpDown1->Position(), 3);
    EXPECT_EQ(page()->Label21->text(), QStringLiteral("RPM Divider   3"));
}

struct ArrowCase {
    const char* name;
    uint8_t divider;
    bool up;
    uint8_t sent;
};

class DividerArrows : public SensorsPageTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(DividerArrows, SendTheNewPositionAndLeaveTheLabelToTheReport) {
    const ArrowCase& c = GetParam();
    Report(Status{.rpmDivider = c.divider});
    const QString label = page()->Label21->text();
    Click(c.up ? page()->UpDown1->UpButton() : page()->UpDown1->DownButton());
    EXPECT_EQ(Written(), FromHost({'d', c.sent}));
    EXPECT_EQ(page()->UpDown1->Position(), c.sent);
    EXPECT_EQ(page()->Label21->text(), label);
}

INSTANTIATE_TEST_SUITE_P(Divider, DividerArrows,
                         ::testing::Values(ArrowCase{"Up", 3, true, 4}, ArrowCase{"Down", 3, false, 2},
                                           ArrowCase{"HeldAtEight", 8, true, 8},
                                           ArrowCase{"HeldAtOne", 1, false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SwitchCase {
    const char* name;
    QPushButton* SensorsPage::*button;
    uint8_t statusBits;
    const char* caption;
    std::vector<uint8_t> sent;
};

class SensorSwitches : public SensorsPageTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SensorSwitches, ShowTheReportedStateAndAskForTheOther) {
    const SwitchCase& c = GetParam();
    Report(Status{.statusBits = c.statusBits});
    QPushButton* button = page()->*c.button;
    EXPECT_EQ(button->text(), QString::fromLatin1(c.caption));
    // Both clicks come before the ECU reports back, so both ask for the same value.
    Click(button);
    Click(button);
    EXPECT_EQ(Written(), Concat({FromHost(c.sent), FromHost(c.sent)}));
    EXPECT_EQ(button->text(), QString::fromLatin1(c.caption));
}

INSTANTIATE_TEST_SUITE_P(
    Switches, SensorSwitches,
    ::testing::Values(SwitchCase{"RpmPinOn", &SensorsPage::Button6, kSlave | 0x02, "Active", {'u', 0}},
                      SwitchCase{"RpmPinOff", &SensorsPage::Button6, kSlave, "Deactive", {'u', 1}},
                      SwitchCase{"MapSensorOn", &SensorsPage::Button5, kSlave | 0x20, "Active", {'h', 0}},
                      SwitchCase{"MapSensorOff", &SensorsPage::Button5, kSlave, "Deactive", {'h', 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorsPageTest, TankPointsShowAsVoltagesAndTrackBarReadings) {
    Report(Status{.tankMax = 223, .tankMin = 823, .tankSensor = 500});
    EXPECT_EQ(page()->Label47->text(), Volts("3", "91"));
    EXPECT_EQ(page()->Label48->text(), Volts("0", "98"));
    EXPECT_EQ(page()->Label40->text(), Volts("2", "44"));
    EXPECT_EQ(page()->TrackBar2->value(), 800);
    EXPECT_EQ(page()->TrackBar1->value(), 200);
}

TEST_F(SensorsPageTest, PointsBeyondTheTrackBarsShowAtTheNearerEnd) {
    Report(Status{.tankMax = 1020, .tankMin = 0});
    EXPECT_EQ(page()->TrackBar2->value(), SensorsPage::kTrackMin);
    EXPECT_EQ(page()->TrackBar1->value(), SensorsPage::kTrackMax);
    EXPECT_EQ(page()->Label48->text(), Volts("5", "00"));
}

TEST_F(SensorsPageTest, TrackBarsSendTheirPointWithTheOtherAsReported) {
    Report(Status{.tankMax = 223, .tankMin = 823});
    page()->TrackBar1->setSliderPosition(300); // a drag
    EXPECT_EQ(Written(), FromHost({'l', 223, 0, 0xD3, 0x02}));
    // The thumb goes down with the reading, level with the picture's marks.
    QTest::keyClick(page()->TrackBar2, Qt::Key_Down);
    EXPECT_EQ(page()->TrackBar2->value(), 801);
    EXPECT_EQ(Written(), FromHost({'l', 222, 0, 0x37, 0x03}));
}

TEST_F(SensorsPageTest, CommandsOnAClosedPortAreDropped) {
    fake->close();
    Click(page()->Button6);
    Click(page()->UpDown1->UpButton());
    page()->TrackBar2->setSliderPosition(500);
    EXPECT_TRUE(Written().empty());
}

struct LevelCase {
    const char* name;
    uint16_t reading;         // with the points at their start values, Max 1000 and Min 10
    std::vector<bool> lights; // led4 (top) to led1 (bottom)
    bool blinking;
};

class TankLights : public SensorsPageTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(TankLights, FollowTheLevelStep) {
    const LevelCase& c = GetParam();
    Report(Status{.tankSensor = c.reading});
    EXPECT_EQ(Lights(), c.lights);
    EXPECT_EQ(page()->leveltimer->isActive(), c.blinking);
}

INSTANTIATE_TEST_SUITE_P(Steps, TankLights,
                         ::testing::Values(LevelCase{"Full", 23, {true, true, true, true}, false},
                                           LevelCase{"ThreeQuarters", 300, {false, true, true, true}, false},
                                           LevelCase{"Half", 500, {false, false, true, true}, false},
                                           LevelCase{"Quarter", 700, {false, false, false, true}, false},
                                           LevelCase{"Reserve", 1000, {false, false, false, false}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorsPageTest, ReserveBlinksTheBottomLightUntilTheLevelRises) {
    Report(Status{.tankSensor = 1000});
    ASSERT_TRUE(page()->leveltimer->isActive());
    EXPECT_EQ(page()->leveltimer->interval(), 500);
    for (bool lit : {true, false, true}) {
        page()->leveltimerTimer();
        EXPECT_EQ(page()->led1->Lit(), lit);
    }
    Report(Status{.tankSensor = 990}); // still reserve: the blink goes on
    EXPECT_TRUE(page()->leveltimer->isActive());
    Report(Status{.tankSensor = 700});
    EXPECT_FALSE(page()->leveltimer->isActive());
    EXPECT_EQ(Lights(), (std::vector<bool>{false, false, false, true}));
}

TEST_F(SensorsPageTest, EqualTankPointsKeepTheLights) {
    Report(Status{.tankMax = 223, .tankMin = 823, .tankSensor = 500});
    const std::vector<bool> before = Lights();
    ASSERT_EQ(before, (std::vector<bool>{false, false, true, true}));
    Report(Status{.tankMax = 823, .tankMin = 823, .tankSensor = 500});
    EXPECT_EQ(Lights(), before);
    Report(Status{.tankMax = 823, .tankMin = 823, .tankSensor = 100});
    EXPECT_EQ(Lights(), before);
}

class SensorsPageAtStart : public WindowFixture {};

TEST_F(SensorsPageAtStart, ShowsTheStartStateWithTheReserveBlinking) {
    CreateWindow();
    SensorsPage* page = window->ts1;
    EXPECT_EQ(page->UpDown1->Position(), 1);
    EXPECT_EQ(page->Label21->text(), QStringLiteral("RPM Divider   1"));
    EXPECT_EQ(page->Button6->text(), QStringLiteral("Deactive"));
    EXPECT_EQ(page->Button5->text(), QStringLiteral("Deactive"));
    EXPECT_EQ(page->TrackBar2->value(), 23);
    EXPECT_EQ(page->TrackBar1->value(), 1013);
    for (StatusLight* light : {page->led1, page->led2, page->led3, page->led4})
        EXPECT_FALSE(light->Lit());
    EXPECT_TRUE(page->leveltimer->isActive());
    EXPECT_TRUE(Written().empty());
}

} // namespace
