#include "tests/pages/live_display_fixture.h"

#include "widgets/status_light.h"

#include <QLabel>
#include <QPushButton>

namespace {

using StripLights = LiveDisplay;

// The light remembers the side of the threshold; the word changes only on a crossing.
TEST_F(StripLights, LambdaWordFollowsCrossingsOfTheThreshold) {
    struct Step {
        uint16_t lambda;
        const char* word;
        bool lit;
    };
    const Step steps[] = {
        {130, "Rich", false}, {130, "Rich", false}, {120, "Poor", true},
        {121, "Rich", false}, {0, "Poor", true},    {65535, "Rich", false}, // compared unsigned
    };
    EXPECT_EQ(strip().Label25->text(), QStringLiteral("Poor")) << "a lambda of 0 at start-up is lean";
    EXPECT_TRUE(strip().Lambda->Lit());
    for (const Step& s : steps) {
        SCOPED_TRACE(s.lambda);
        live.lambda = s.lambda;
        SendLive();
        EXPECT_EQ(strip().Label25->text(), QString::fromLatin1(s.word));
        EXPECT_EQ(strip().Lambda->Lit(), s.lit);
        EXPECT_EQ(strip().Lambda->CurrentColor(), s.lit ? QColor(0, 255, 0) : QColor(255, 0, 0));
    }
}

TEST_F(StripLights, CylinderLightsFollowTheStatusBits) {
    live.cylinderStatus = 0x05;
    SendLive();
    for (int n = 1; n <= Tecu::kCylinders; ++n)
        EXPECT_EQ(strip().lights[n - 1]->Lit(), n == 1 || n == 3) << "c" << n;

    // A drop to 0 is not published by the link: the lights wait for the next refresh.
    live.cylinderStatus = 0;
    SendLive();
    EXPECT_TRUE(strip().lights[0]->Lit());
    EXPECT_TRUE(strip().lights[2]->Lit());
    ShowPage(window->ts1);
    ShowPage(window->tsdurum);
    for (int n = 1; n <= Tecu::kCylinders; ++n)
        EXPECT_FALSE(strip().lights[n - 1]->Lit()) << "c" << n;
}

TEST_F(StripLights, LitColourComesFromTheInjectorTestMask) {
    live.cylinderStatus = 0xFF;
    SendLive();
    status.injectorTestMask = 0xA5; // 1, 3, 6, 8 on petrol
    SendStatus();
    for (int n = 1; n <= Tecu::kCylinders; ++n) {
        const bool petrol = (0xA5 >> (n - 1)) & 1;
        EXPECT_EQ(strip().lights[n - 1]->CurrentColor(), petrol ? QColor(255, 0, 0) : QColor(0, 255, 0))
            << "c" << n;
    }
}

class StripAtStartUp : public LiveDisplay {
protected:
    void SetUp() override { CreateWindow(); }
};

TEST_F(StripAtStartUp, ShowsTheStartValues) {
    EXPECT_EQ(strip().TntButton1->text(), QStringLiteral("F2 Petrol"));
    EXPECT_EQ(strip().Label12->text(), QStringLiteral("0.0 mS"));
    EXPECT_EQ(strip().Label13->text(), QString());
    EXPECT_EQ(strip().Label14->text(), QStringLiteral("0"));
    EXPECT_EQ(strip().Label20->text(), QStringLiteral("0 °C"));
    EXPECT_EQ(strip().Label23->text(), QStringLiteral("0.00 bar"));
    EXPECT_EQ(strip().Label25->text(), QStringLiteral("Poor"));
    EXPECT_TRUE(strip().Lambda->Lit());
    for (int n = 1; n <= Tecu::kCylinders; ++n) {
        EXPECT_EQ(strip().cylinderNumbers[n - 1]->text(), QString::number(n));
        EXPECT_FALSE(strip().lights[n - 1]->Lit());
        EXPECT_EQ(strip().lights[n - 1]->objectName(), QStringLiteral("c%1").arg(n));
    }
}

} // namespace
