#include "tests/support/window_fixture.h"

#include "app/status_panels.h"

namespace {

class PortLostWindow : public WindowFixture {};

TEST_F(PortLostWindow, PulledAdapterShowsTheLossAndThePortComesBack) {
    CreateWindow();
    Connect();
    ASSERT_EQ(window->sb->PanelText(1), QStringLiteral("Connected to ECU"));

    fake->failOpen = true;
    fake->unplug();
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("---"));
    EXPECT_EQ(window->sb->PanelText(1), QStringLiteral("ECU Communication is lost"));
    Ticks(3);
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("---"));
    EXPECT_TRUE(messages.shown.empty()) << "no dialog while the adapter is away";

    fake->failOpen = false;
    Ticks(1);
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("COM1"));
    Connect();
    EXPECT_EQ(window->sb->PanelText(1), QStringLiteral("Connected to ECU"));
}

} // namespace
