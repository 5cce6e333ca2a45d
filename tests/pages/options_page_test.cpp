#include "tests/pages/shown_page_fixture.h"

#include "pages/options_page.h"
#include "pages/status_page.h"
#include "pages/up_down.h"
#include "widgets/thermo_meter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace EcuFrames;

namespace {

const QString kOn = QStringLiteral("Active");
const QString kOff = QStringLiteral("Deactive");
const QString kNone = QStringLiteral("-");

class OptionsPageTest : public ShownPageFixture {
protected:
    OptionsPage* page() const { return window->ts2; }
    QWidget* ShownPage() const override { return page(); }
    QPushButton* Injector(int cylinder) const { return page()->gasInjectorButtons[cylinder - 1]; }
    std::vector<QString> InjectorCaptions() const {
        std::vector<QString> captions;
        for (QPushButton* button : page()->gasInjectorButtons)
            captions.push_back(button->text());
        return captions;
    }
};

TEST_F(OptionsPageTest, InjectorSwitchesKeepTheFormsNamesAndCaptions) {
    const char* buttons[] = {"Button4",  "Button7",  "Button8",  "Button9",
                             "Button10", "Button11", "Button12", "Button13"};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(Injector(n)->objectName(), QString::fromLatin1(buttons[n - 1]));
        EXPECT_EQ(page()->gasInjectorLabels[n - 1]->text(),
                  QStringLiteral("Cylinder %1 Gas Injector").arg(n));
    }
}

struct MaskCase {
    const char* name;
    uint8_t statusBits;
    std::vector<QString> captions; // cylinders 1 to 8
};

class MaskCaptions : public OptionsPageTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(MaskCaptions, ShowEveryCylindersBitAndDashesWithoutASlave) {
    Report(Status{.gasInjectorMask = 0x0A, .statusBits = GetParam().statusBits});
    EXPECT_EQ(InjectorCaptions(), GetParam().captions);
}

INSTANTIATE_TEST_SUITE_P(
    Mask0A, MaskCaptions,
    ::testing::Values(MaskCase{"WithSlave", kSlave, {kOff, kOn, kOff, kOn, kOff, kOff, kOff, kOff}},
                      MaskCase{"WithoutSlave", 0, {kOff, kOn, kOff, kOn, kNone, kNone, kNone, kNone}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsPageTest, InjectorSwitchFlipsItsBitOfTheReportedMask) {
    Report(Status{.gasInjectorMask = 0x0A});
    for (int n = 1; n <= 8; ++n) {
        Click(Injector(n));
        EXPECT_EQ(Written(), FromHost({'m', static_cast<uint8_t>(0x0A ^ (1 << (n - 1)))}))
            << "cylinder " << n;
    }
}

TEST_F(OptionsPageTest, CaptionChangesOnlyWithTheReport) {
    Report(Status{.gasInjectorMask = 0x0A});
    Click(Injector(3)); // Button8
    EXPECT_EQ(Written(), FromHost({'m', 0x0E}));
    EXPECT_EQ(Injector(3)->text(), kOff);
    Report(Status{.gasInjectorMask = 0x0E});
    EXPECT_EQ(Injector(3)->text(), kOn);
}

TEST_F(OptionsPageTest, SlaveSwitchesDoNothingWithoutASlave) {
    Report(Status{.gasInjectorMask = 0x0A, .statusBits = 0});
    for (int n = 5; n <= 8; ++n)
        Click(Injector(n));
    EXPECT_TRUE(Written().empty());
    Click(Injector(1));
    EXPECT_EQ(Written(), FromHost({'m', 0x0B}));
}

TEST_F(OptionsPageTest, SlaveCaptionsTurnToDashesAtTheNextRefresh) {
    Report(Status{.gasInjectorMask = 0xF0});
    Report(Status{.gasInjectorMask = 0xF0, .statusBits = 0});
    EXPECT_EQ(Injector(5)->text(), kOn); // the mask did not change
    window->ecu->RefreshAll();
    EXPECT_EQ(Injector(5)->text(), kNone);
}

struct ToggleCase {
    const char* name;
    QPushButton* OptionsPage::*button;
    Status status;
    QString caption;
    std::vector<uint8_t> sent;
};

class OptionSwitches : public OptionsPageTest, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(OptionSwitches, ShowTheReportedStateAndAskForTheOther) {
    const ToggleCase& c = GetParam();
    Report(c.status);
    QPushButton* button = page()->*c.button;
    EXPECT_EQ(button->text(), c.caption);
    Click(button);
    Click(button); // before the ECU answers: the same request again
    EXPECT_EQ(Written(), Concat({FromHost(c.sent), FromHost(c.sent)}));
    EXPECT_EQ(button->text(), c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, OptionSwitches,
    ::testing::Values(
        ToggleCase{"Protection30", &OptionsPage::Button14, Status{.injectorProtection = 30}, kOn, {'p', 0}},
        ToggleCase{"ProtectionOff", &OptionsPage::Button14, Status{.injectorProtection = 0}, kOff, {'p', 30}},
        ToggleCase{"ProtectionOther", &OptionsPage::Button14, Status{.injectorProtection = 7}, kOn, {'p', 0}},
        ToggleCase{
            "FastChangeOn", &OptionsPage::Button15, Status{.statusBits = kSlave | 0x80}, kOn, {'f', 0}},
        ToggleCase{"FastChangeOff", &OptionsPage::Button15, Status{.statusBits = kSlave}, kOff, {'f', 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsPageTest, SwitchRpmFromTheEcuSelectsWithoutSendingAndByHandSends) {
    Report(Status{.switchRpmIndex = 4});
    EXPECT_EQ(page()->ComboBox1->currentText(), QStringLiteral("2500"));
    QTest::keyClick(page()->ComboBox1, Qt::Key_Home);
    EXPECT_EQ(page()->ComboBox1->currentText(), QStringLiteral("500"));
    EXPECT_EQ(Written(), FromHost({'e', 0}));
}

TEST_F(OptionsPageTest, SwitchRpmBeyondTheListSelectsNothing) {
    Report(Status{.switchRpmIndex = 9});
    EXPECT_EQ(page()->ComboBox1->currentIndex(), -1);
}

struct UpDownCase {
    const char* name;
    UpDown* OptionsPage::*upDown;
    QLineEdit* OptionsPage::*edit;
    Status status;
    QString text;
    bool up;
    std::vector<uint8_t> sent; // empty: the command drops the position
};

class OptionUpDowns : public OptionsPageTest, public ::testing::WithParamInterface<UpDownCase> {};

TEST_P(OptionUpDowns, ShowTheReportAndSendTheNextPosition) {
    const UpDownCase& c = GetParam();
    Report(c.status);
    QLineEdit* edit = page()->*c.edit;
    UpDown* upDown = page()->*c.upDown;
    EXPECT_EQ(edit->text(), c.text);
    Click(c.up ? upDown->UpButton() : upDown->DownButton());
    EXPECT_EQ(Written(), c.sent.empty() ? std::vector<uint8_t>{} : FromHost(c.sent));
    EXPECT_EQ(edit->text(), c.text); // until the ECU reports the new value
}

const QString kPoint = QLocale::system().decimalPoint();

INSTANTIATE_TEST_SUITE_P(UpDowns, OptionUpDowns,
                         ::testing::Values(UpDownCase{"Temperature45Up",
                                                      &OptionsPage::TntUpDown2,
                                                      &OptionsPage::TntEdit2,
                                                      Status{.switchTemperature = 45},
                                                      "45",
                                                      true,
                                                      {'c', 46}},
                                           UpDownCase{"Temperature1Down",
                                                      &OptionsPage::TntUpDown2,
                                                      &OptionsPage::TntEdit2,
                                                      Status{.switchTemperature = 1},
                                                      "1",
                                                      false,
                                                      {}},
                                           UpDownCase{"Pressure200Up",
                                                      &OptionsPage::TntUpDown1,
                                                      &OptionsPage::TntEdit1,
                                                      Status{.minGasPressure = 200},
                                                      "0" + kPoint + "90",
                                                      true,
                                                      {'b', 202, 0}},
                                           UpDownCase{"Pressure200Down",
                                                      &OptionsPage::TntUpDown1,
                                                      &OptionsPage::TntEdit1,
                                                      Status{.minGasPressure = 200},
                                                      "0" + kPoint + "90",
                                                      false,
                                                      {'b', 198, 0}},
                                           UpDownCase{"PressureHeldAtTheTop",
                                                      &OptionsPage::TntUpDown1,
                                                      &OptionsPage::TntEdit1,
                                                      Status{.minGasPressure = 1022},
                                                      "4" + kPoint + "58",
                                                      true,
                                                      {'b', 0xFF, 0x03}},
                                           UpDownCase{"PressureAboveTheUpDown",
                                                      &OptionsPage::TntUpDown1,
                                                      &OptionsPage::TntEdit1,
                                                      Status{.minGasPressure = 4000},
                                                      "17" + kPoint + "92",
                                                      false,
                                                      {'b', 0xFD, 0x03}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsPageTest, TemperatureUpDownFollowsTheReport) {
    Report(Status{.switchTemperature = 45});
    EXPECT_EQ(page()->TntUpDown2->Position(), 45);
    // The Status page is hidden, yet its thermometer marks the switching temperature.
    EXPECT_EQ(window->tsdurum->vrThermoMeter1->SetPoint(), 45);
    Click(page()->TntUpDown2->UpButton());
    Click(page()->TntUpDown2->UpButton());
    EXPECT_EQ(Written(), Concat({FromHost({'c', 46}), FromHost({'c', 47})}));
    Report(Status{.switchTemperature = 46}); // the ECU took only the first
    EXPECT_EQ(page()->TntUpDown2->Position(), 46);
}

TEST_F(OptionsPageTest, PressureShowsBoldWithoutUnit) {
    EXPECT_TRUE(page()->TntEdit1->font().bold());
    EXPECT_TRUE(page()->TntEdit1->isReadOnly());
    EXPECT_TRUE(page()->TntEdit2->isReadOnly());
}

class OptionsPageAtStart : public WindowFixture {};

TEST_F(OptionsPageAtStart, ShowsTheStartStateOfTheLink) {
    CreateWindow();
    OptionsPage* page = window->ts2;
    EXPECT_EQ(page->gasInjectorButtons[0]->text(), kOff);
    EXPECT_EQ(page->gasInjectorButtons[7]->text(), kOff); // a slave is assumed until the ECU says
    EXPECT_EQ(page->Button14->text(), kOff);
    EXPECT_EQ(page->ComboBox1->currentText(), QStringLiteral("500"));
    EXPECT_EQ(page->TntEdit2->text(), QStringLiteral("0"));
    EXPECT_EQ(page->TntEdit1->text(), "0" + kPoint + "00");
    EXPECT_TRUE(Written().empty());
}

} // namespace
