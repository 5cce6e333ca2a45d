#include "app/select_port_dialog.h"

#include "ecu/com_port_names.h"
#include "tests/support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectPortDialogTest, ShowsTheTwoLinesAndTheGivenPortsFirstSelected) {
    SelectPortDialog dialog({2, 5, 17});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Port"));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("The configured serial port is not valid."));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("Please choose another port."));
    EXPECT_EQ(dialog.OkButton->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.CancelButton->text(), QStringLiteral("Cancel"));
    ASSERT_EQ(dialog.PortList->count(), 3);
    const char* names[] = {"COM2", "COM5", "COM17"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dialog.PortList->itemText(i), QString::fromLatin1(names[i]));
    EXPECT_EQ(dialog.PortList->itemData(1, Qt::ToolTipRole).toString(), ComPortNames::DevicePath(5));
    EXPECT_EQ(dialog.PortList->currentIndex(), 0);
}

TEST(SelectPortDialogTest, AnswersThePickedPortOnlyAfterOk) {
    struct Case {
        const char* name;
        std::vector<int> ports;
        int pick; // -1: leave the preselection
        bool ok;
        int expected;
    } cases[] = {
        {"preselected", {2, 5, 17}, -1, true, 2},
        {"picked", {2, 5, 17}, 2, true, 17},
        {"cancelled", {2, 5, 17}, 1, false, 0},
        {"nothing to pick", {}, -1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectPortDialog dialog(c.ports);
        if (c.pick >= 0)
            dialog.PortList->setCurrentIndex(c.pick);
        (c.ok ? dialog.OkButton : dialog.CancelButton)->click();
        EXPECT_EQ(dialog.ChosenPort(), c.expected);
    }
}

TEST(SelectPortDialogTest, OffersTheAvailablePortsAmong1To50) {
    FakeSerialPort port;
    port.available = {0, 1, 7, 50, 51, 200};
    EXPECT_EQ(SelectPortDialog::AvailablePorts(port), (std::vector<int>{1, 7, 50}));
    port.available.clear();
    EXPECT_TRUE(SelectPortDialog::AvailablePorts(port).empty());
}

} // namespace
