#include "tests/support/window_fixture.h"

#include "app/caption_table.h"
#include "app/message_dialog.h"
#include "app/status_panels.h"
#include "pages/calibration_page.h"
#include "pages/cylinder_strip.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

using namespace EcuFrames;

namespace {

// A focused control of a page, to see which keys reach it.
class KeyRecorder : public QWidget {
public:
    using QWidget::QWidget;
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::vector<uint8_t> payload; // what goes to the ECU; empty: the key passes on to the control
};

class FunctionKeys : public WindowFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FunctionKeys, ActOnTheLinkOnEveryPageAndAreUsedUp) {
    const KeyCase& c = GetParam();
    CreateWindow();
    Connect();
    auto* control = new KeyRecorder(window->ts3);
    ShowPage(window->ts3);
    QTest::keyClick(control, c.key, c.modifiers);
    if (c.payload.empty()) {
        EXPECT_TRUE(Written().empty());
        EXPECT_EQ(control->keys, std::vector<int>{c.key});
    } else {
        EXPECT_EQ(Written(), FromHost(c.payload));
        // QTest presses the modifier keys themselves first; those reach the control.
        EXPECT_EQ(std::count(control->keys.begin(), control->keys.end(), c.key), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FunctionKeys,
    ::testing::Values(KeyCase{"F2AsksForGasOnPetrol", Qt::Key_F2, Qt::NoModifier, {'r'}},
                      KeyCase{"F4LoadsFromEcu", Qt::Key_F4, Qt::NoModifier, {'w', 'r'}},
                      KeyCase{"F5SavesToEcu", Qt::Key_F5, Qt::NoModifier, {'w', 'w'}},
                      KeyCase{"ShiftF5SavesToo", Qt::Key_F5, Qt::ShiftModifier, {'w', 'w'}},
                      KeyCase{
                          "CtrlAltF4LoadsToo", Qt::Key_F4, Qt::ControlModifier | Qt::AltModifier, {'w', 'r'}},
                      KeyCase{"F3PassesOn", Qt::Key_F3, Qt::NoModifier, {}},
                      KeyCase{"LetterPassesOn", Qt::Key_A, Qt::NoModifier, {}}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

class Window : public WindowFixture {};

TEST_F(Window, FunctionKeysSendNothingWithThePortClosed) {
    portOpens = false;
    CreateWindow();
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F5})
        QTest::keyClick(window->PageControl1, key);
    EXPECT_TRUE(fake->written.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Window, F2TwiceBeforeTheEcuAnswersAsksTwiceForTheSameFuel) {
    CreateWindow();
    Connect();
    QTest::keyClick(window->PageControl1, Qt::Key_F2);
    QTest::keyClick(window->PageControl1, Qt::Key_F2);
    EXPECT_EQ(Written(), Concat({FromHost({'r'}), FromHost({'r'})}));
}

TEST_F(Window, CaptionsFollowTheLanguage) {
    struct Expected {
        const char* code;
        const char* tab0;
        const char* saveButton;
        const char* cylinder3;
        const char* finish;
    };
    const Expected languages[] = {
        {"EN", "Status", "F5 Save to ECU", "Cylinder 3 Gas Injector", "Finish"},
        {"RU", "Состояние", "F5 Записать в ЭБУ", "Цилиндр 3 Газовой Инжектор", "конец"},
    };
    CreateWindow();
    const CaptionRow* cylinder3 = std::find_if(CaptionTable::begin(), CaptionTable::end(),
                                               [](const CaptionRow& r) { return r.number == 3; });
    ASSERT_NE(cylinder3, CaptionTable::end());
    for (const Expected& e : languages) {
        SCOPED_TRACE(e.code);
        window->ApplyLanguage(LanguageTable::DisplayNameForCode(QString::fromLatin1(e.code)));
        EXPECT_EQ(window->PageControl1->tabText(0), QString::fromUtf8(e.tab0));
        EXPECT_EQ(window->VrBlotter1->Button2->text(), QString::fromUtf8(e.saveButton));
        EXPECT_EQ(CaptionTable::CaptionFor(*cylinder3, window->languageTable),
                  QString::fromUtf8(e.cylinder3));
        EXPECT_EQ(window->LangText(70), QString::fromUtf8(e.finish));
    }
}

// A new language re-captions everything, but the link's state and the fuel stay what they are.
TEST_F(Window, ALanguageChangeShowsTheLinkAndTheFuelAsTheyStand) {
    struct Case {
        const char* name;
        bool linkLost;
        uint8_t statusBits;
        int linkText;
        int fuelText;
    };
    const Case cases[] = {
        {"connected on gas", false, 0x11, 16, 11},
        {"connected on petrol", false, 0x10, 16, 12},
        {"lost, last seen on gas", true, 0x11, 15, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CreateWindow();
        Connect();
        Status status;
        status.statusBits = c.statusBits;
        Deliver(status.Frame());
        if (c.linkLost)
            Ticks(Tecu::kLinkTimeoutTicks + 1);
        ASSERT_EQ(window->ecu->IsConnected(), !c.linkLost);
        for (const char* language : {"Deutsch", "English"}) {
            window->ApplyLanguage(QString::fromLatin1(language));
            EXPECT_EQ(window->sb->PanelText(1), window->LangText(c.linkText)) << language;
            EXPECT_EQ(window->VrBlotter1->TntButton1->text(),
                      QStringLiteral("F2 ") + window->LangText(c.fuelText))
                << language;
        }
        CloseWindow();
    }
}

TEST_F(Window, MessageDialogTakesFontAndFinishCaptionWhenShown) {
    WriteIni("[Main]\r\nLanguage=RU\r\n");
    CreateWindow();
    window->show();
    ASSERT_NE(window->msgdlg, nullptr);
    EXPECT_EQ(window->msgdlg->windowTitle(), QStringLiteral("ORVANTO ECU SETUP"));
    EXPECT_EQ(window->msgdlg->Button1->text(), QStringLiteral("конец"));
    EXPECT_EQ(window->msgdlg->font(), window->font());
    EXPECT_EQ(window->msgdlg->size(), QSize(397, 194));

    window->ShowModalMessage(window->LangText(20), window->LangText(70));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message, QStringLiteral("Ошибка: не удаётся прочитать файл"));
    EXPECT_EQ(window->msgdlg->l1->text(), messages.shown[0].message);
}

TEST_F(Window, ShutdownStopsStreamingWaitsThenDisconnects) {
    CreateWindow();
    Connect();
    window->FormClose();
    const std::string stop = [] {
        std::string s;
        for (uint8_t b : FromHost({'x'}))
            s += (b >= 0x20 && b < 0x7f) ? std::string(1, static_cast<char>(b))
                                         : "<" + std::to_string(b) + ">";
        return s;
    }();
    EXPECT_EQ(shutdownLog, (std::vector<std::string>{stop, "sleep 100", stop, "closed"}));
    EXPECT_EQ(window->ecu, nullptr);
    EXPECT_EQ(window->msgdlg, nullptr);
}

TEST_F(Window, ShutdownLetsAWaitingMapChangeGoOutFirst) {
    CreateWindow();
    Connect();
    CalibrationPage* page = window->ts3;
    page->tt.start(1000);
    int roundsWaited = 0;
    waitStep = [&] {
        // The map editor's timer fires during the wait: it stops itself and the link is still up.
        if (++roundsWaited == 3) {
            page->tt.stop();
            EXPECT_TRUE(window->ecu->IsPortOpen());
            EXPECT_TRUE(shutdownLog.empty());
        }
    };
    window->FormClose();
    EXPECT_EQ(roundsWaited, 3);
    EXPECT_EQ(shutdownLog.size(), 4u);
}

TEST_F(Window, NoHandlerRunsAfterTheShutdownUnbinds) {
    CreateWindow();
    Connect();
    window->ecu->ClearEventHandlers(); // as the shutdown does
    window->ecu->eventsEnabled = false;
    const QString before = window->sb->PanelText(1);
    Ticks(40); // silence: the link gives up on the ECU
    EXPECT_EQ(window->sb->PanelText(1), before);
}

} // namespace
