#pragma once

#include "tests/support/window_fixture.h"

#include <QAbstractButton>
#include <QTest>

inline constexpr uint8_t kSlave = 0x10; // status bit: the slave ECU is there

// The window connected to the fake ECU with one settings page shown, for tests that report settings
// from the ECU and click the page's controls.
class ShownPageFixture : public WindowFixture {
protected:
    void SetUp() override {
        CreateWindow();
        Connect();
        window->show();
        ShowPage(ShownPage());
    }
    virtual QWidget* ShownPage() const = 0;

    // A status report from the ECU; showing it must send nothing back.
    void Report(const EcuFrames::Status& status) {
        DeliverAndDispatch(status.Frame());
        ASSERT_TRUE(Written().empty()) << "a reported value went back to the ECU";
    }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
};
