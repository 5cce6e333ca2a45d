#include "tests/pages/live_display_fixture.h"

#include "tests/support/ecu_frames.h"
#include "widgets/bar_gauge.h"
#include "widgets/status_light.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

using InjectorTest = LiveDisplay;

const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);
const QColor kGreen(0, 128, 0);

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

struct Look {
    QString caption;
    QColor light, text, gauge;
};
const Look kPetrol{QStringLiteral("Petrol"), kRed, kRed, kRed};
const Look kGas{QStringLiteral("Gas"), kLime, kGreen, kLime};

void ExpectLook(InjectorTestPage& page, CylinderStrip& strip, int n, const Look& look) {
    SCOPED_TRACE(n);
    EXPECT_EQ(page.buttons[n - 1]->text(), look.caption);
    EXPECT_EQ(TextColour(page.times[n - 1]), look.text);
    EXPECT_EQ(page.gauges[n - 1]->FilledColor(), look.gauge);
    EXPECT_EQ(strip.lights[n - 1]->LitColor(), look.light);
}

TEST_F(InjectorTest, StartValuesPutEveryCylinderOnPetrol) {
    for (int n = 1; n <= Tecu::kCylinders; ++n) {
        ExpectLook(testPage(), strip(), n, kPetrol);
        EXPECT_EQ(testPage().numbers[n - 1]->text(), QString::number(n));
    }
    EXPECT_TRUE(testPage().GroupBox5->isEnabled());
}

TEST_F(InjectorTest, MaskWithoutSlaveLeavesItsCylindersAsTheyWere) {
    status.injectorTestMask = 0x05;
    status.statusBits = 0x00; // no slave
    SendStatus();
    for (int n = 1; n <= 4; ++n)
        ExpectLook(testPage(), strip(), n, n == 1 || n == 3 ? kPetrol : kGas);
    for (int n = 5; n <= 8; ++n) {
        EXPECT_EQ(testPage().buttons[n - 1]->text(), QStringLiteral("-"));
        EXPECT_EQ(TextColour(testPage().times[n - 1]), kRed) << "colours stay: " << n;
        EXPECT_EQ(testPage().gauges[n - 1]->FilledColor(), kRed);
        EXPECT_EQ(strip().lights[n - 1]->LitColor(), kRed);
    }
    EXPECT_FALSE(testPage().GroupBox5->isEnabled());

    // The slave frame takes no clicks while it is disabled.
    testPage().buttons[4]->click();
    EXPECT_TRUE(Written().empty());
}

TEST_F(InjectorTest, MaskWithSlaveShowsAllEight) {
    status.injectorTestMask = 0x05;
    status.statusBits = 0x00;
    SendStatus();
    status.statusBits = 0x10; // the slave is back; the frame follows at the next mask event
    status.injectorTestMask = 0x04;
    SendStatus();
    status.injectorTestMask = 0x05;
    SendStatus();
    for (int n = 1; n <= Tecu::kCylinders; ++n)
        ExpectLook(testPage(), strip(), n, n == 1 || n == 3 ? kPetrol : kGas);
    EXPECT_TRUE(testPage().GroupBox5->isEnabled());
}

struct ClickCase {
    uint8_t mask;
    int cylinder;
    uint8_t bit;
    uint8_t state; // 1: on petrol now
};

TEST_F(InjectorTest, ClickAsksForTheOtherFuelOfThatCylinder) {
    const ClickCase cases[] = {{0x05, 3, 4, 1}, {0x01, 3, 4, 0}, {0x80, 8, 128, 1}, {0x00, 1, 1, 0}};
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.cylinder);
        status.injectorTestMask = c.mask;
        SendStatus();
        Written();
        const QString caption = testPage().buttons[c.cylinder - 1]->text();
        testPage().buttons[c.cylinder - 1]->click();
        EXPECT_EQ(Written(), EcuFrames::FromHost({'a', c.bit, c.state}));
        EXPECT_EQ(testPage().buttons[c.cylinder - 1]->text(), caption) << "the screen waits for the ECU";
    }
}

TEST_F(InjectorTest, TimesReachThePageOnlyWhileItIsOpen) {
    SendTime(3, 700);
    EXPECT_EQ(testPage().gauges[2]->Position(), 0);
    EXPECT_EQ(testPage().times[2]->text(), QString());

    ShowPage(window->ts4);
    EXPECT_EQ(testPage().gauges[2]->Position(), 700);
    EXPECT_EQ(testPage().times[2]->text(), QStringLiteral("7.0 mS"));

    SendTime(8, 2500);
    EXPECT_EQ(testPage().gauges[7]->Position(), 2000) << "a full gauge";
    EXPECT_EQ(testPage().times[7]->text(), QStringLiteral("25.0 mS"));

    ShowPage(window->tsdurum);
    SendTime(8, 100);
    EXPECT_EQ(testPage().times[7]->text(), QStringLiteral("25.0 mS"));
}

} // namespace
