#include "tests/pages/live_display_fixture.h"

#include "app/status_panels.h"
#include "widgets/angular_meter.h"
#include "widgets/bar_gauge.h"
#include "widgets/thermo_meter.h"

#include <QLabel>
#include <QPushButton>

namespace {

using Strip = LiveDisplay;

struct TimeCase {
    int time; // 0.01 ms
    const char* text;
    double bar;  // strip bar, range end 2000
    double dial; // enj1, range end 2500
};

TEST_F(Strip, CylinderOneTimeReachesLabelBarAndDial) {
    const TimeCase cases[] = {
        {125, "1.3", 125, 125}, // the half rounds away from zero
        {0, "0.0", 0, 0},
        {3000, "30.0", 2000, 2500}, // gauges at their ends, the text in full
        {2450, "24.5", 2000, 2450},
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.time);
        SendTime(1, c.time);
        EXPECT_EQ(strip().Label12->text(), QString::fromLatin1(c.text) + QStringLiteral(" mS"));
        EXPECT_EQ(strip().bars[0]->Position(), c.bar);
        EXPECT_EQ(statusPage().enj1->Position(), c.dial);
        EXPECT_EQ(statusPage().Label59->text(), QString::fromLatin1(c.text));
    }
}

TEST_F(Strip, OtherCylindersMoveOnlyTheirBars) {
    SendTime(1, 300);
    for (int n = 2; n <= Tecu::kCylinders; ++n)
        live.injectionRaw[n - 1] = WireTime(100 * n);
    SendLive();
    for (int n = 2; n <= Tecu::kCylinders; ++n)
        EXPECT_EQ(strip().bars[n - 1]->Position(), 100 * n) << "cylinder " << n;
    EXPECT_EQ(strip().bars[0]->Position(), 300);
    EXPECT_EQ(strip().Label12->text(), QStringLiteral("3.0 mS"));
    EXPECT_EQ(statusPage().enj1->Position(), 300);
}

TEST_F(Strip, FuelSwitchWritesTheNewLabelAndKeepsTheOther) {
    SendTime(1, 500);
    SendFuel(true);
    EXPECT_EQ(strip().TntButton1->text(), QStringLiteral("F2 Gas"));
    EXPECT_EQ(strip().Label13->text(), QStringLiteral("5.0 mS")) << "the current time at once";
    SendTime(1, 700);
    EXPECT_EQ(strip().Label13->text(), QStringLiteral("7.0 mS"));
    EXPECT_EQ(strip().Label12->text(), QStringLiteral("5.0 mS")) << "the last petrol time stays";

    SendFuel(false);
    EXPECT_EQ(strip().TntButton1->text(), QStringLiteral("F2 Petrol"));
    EXPECT_EQ(strip().Label12->text(), QStringLiteral("7.0 mS"));
    EXPECT_EQ(strip().Label13->text(), QStringLiteral("7.0 mS"));
}

TEST_F(Strip, CalibrationLeavesTheTimeLabelsAlone) {
    SendTime(1, 500);
    window->ecu->calibrationActive = true;
    SendTime(1, 900);
    // The calibration's own display may write them; the live time never does.
    EXPECT_NE(strip().Label12->text(), QStringLiteral("9.0 mS"));
    EXPECT_NE(strip().Label13->text(), QStringLiteral("9.0 mS"));
    EXPECT_EQ(strip().bars[0]->Position(), 900);
    EXPECT_EQ(statusPage().enj1->Position(), 900);
    EXPECT_EQ(statusPage().Label59->text(), QStringLiteral("9.0"));
}

struct TemperatureCase {
    int16_t raw; // 0.01 °C
    const char* text;
    double column; // the thermometer holds it inside 0 to 100
};

TEST_F(Strip, ReducerTemperatureInWholeDegrees) {
    const TemperatureCase cases[] = {
        {-150, "-1 °C", 0},     {6099, "60 °C", 60}, {-99, "0 °C", 0},
        {12000, "120 °C", 100}, {2550, "25 °C", 25},
    };
    for (const TemperatureCase& c : cases) {
        SCOPED_TRACE(c.raw);
        status.reducerTemperature = c.raw;
        SendStatus();
        EXPECT_EQ(strip().Label20->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(statusPage().vrThermoMeter1->Value(), c.column);
    }
}

struct PressureCase {
    uint16_t raw;
    const char* text;
    double needle; // press1 shows 4 - bar, held inside 0 to 4
};

TEST_F(Strip, GasPressureInBarAndOnTheUpwardDial) {
    const PressureCase cases[] = {
        {893, "4.00", 0},
        {0, "0.00", 4},
        {1200, "5.38", 0},
        {446, "2.00", 4 - 446 * 0.0044803225806451605},
    };
    for (const PressureCase& c : cases) {
        SCOPED_TRACE(c.raw);
        live.gasPressure = c.raw;
        SendLive();
        EXPECT_EQ(strip().Label23->text(), QString::fromLatin1(c.text) + QStringLiteral(" bar"));
        EXPECT_EQ(statusPage().Label57->text(), QString::fromLatin1(c.text));
        EXPECT_DOUBLE_EQ(statusPage().press1->Position(), c.needle);
    }
}

TEST_F(Strip, RpmOnStripAndTachometer) {
    live.periodA = live.periodB = 20000;
    SendLive();
    const int32_t rpm = window->ecu->rpm;
    ASSERT_GT(rpm, 0);
    EXPECT_EQ(strip().Label14->text(), QString::number(rpm));
    EXPECT_EQ(statusPage().Label70->text(), QString::number(rpm));
    EXPECT_EQ(statusPage().devir1->Position(), rpm);
}

TEST_F(Strip, ConnectionShowsTheVersionWithoutBlanks) {
    CloseWindow();
    CreateWindow();
    Connect(10, 3);
    EXPECT_EQ(window->sb->PanelText(2), QStringLiteral("Ecu Ver:10.3"));
}

TEST_F(Strip, LinkLossFreezesEverything) {
    SendTime(1, 400);
    Ticks(Tecu::kLinkTimeoutTicks + 1);
    ASSERT_FALSE(window->ecu->eventsEnabled);
    EXPECT_EQ(window->sb->PanelText(1), QStringLiteral("ECU Communication is lost"));
    EXPECT_EQ(window->sb->PanelText(2), QStringLiteral("Ecu Ver:2.7"));

    ShowPage(window->ts4);
    EXPECT_EQ(testPage().times[0]->text(), QString()) << "no refresh while the link is down";
    ShowPage(window->tsdurum);
    EXPECT_EQ(strip().Label12->text(), QStringLiteral("4.0 mS"));
    EXPECT_EQ(statusPage().Label59->text(), QStringLiteral("4.0"));
}

// Status page widgets follow only while the page is open; opening it catches up at once.
TEST_F(Strip, HiddenStatusPageIsBroughtUpToDateOnShow) {
    SendTime(1, 300);
    ShowPage(window->ts1);
    live.periodA = live.periodB = 20000;
    live.gasPressure = 446;
    SendTime(1, 800);
    status.reducerTemperature = 5000;
    SendStatus();

    EXPECT_EQ(strip().Label14->text(), QString::number(window->ecu->rpm));
    EXPECT_EQ(strip().Label12->text(), QStringLiteral("8.0 mS"));
    EXPECT_EQ(strip().Label20->text(), QStringLiteral("50 °C"));
    EXPECT_EQ(statusPage().Label70->text(), QStringLiteral("0"));
    EXPECT_EQ(statusPage().devir1->Position(), 0);
    EXPECT_EQ(statusPage().enj1->Position(), 300);
    EXPECT_EQ(statusPage().Label59->text(), QStringLiteral("3.0"));
    EXPECT_EQ(statusPage().Label57->text(), QStringLiteral("0.00"));
    EXPECT_EQ(statusPage().vrThermoMeter1->Value(), 0);

    ShowPage(window->tsdurum);
    EXPECT_EQ(statusPage().Label70->text(), QString::number(window->ecu->rpm));
    EXPECT_EQ(statusPage().devir1->Position(), window->ecu->rpm);
    EXPECT_EQ(statusPage().enj1->Position(), 800);
    EXPECT_EQ(statusPage().Label59->text(), QStringLiteral("8.0"));
    EXPECT_EQ(statusPage().Label57->text(), QStringLiteral("2.00"));
    EXPECT_EQ(statusPage().vrThermoMeter1->Value(), 50);
}

} // namespace
