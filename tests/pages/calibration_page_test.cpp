#include "tests/support/window_bench.h"
#include "tests/support/window_fixture.h"

#include "app/format_number.h"
#include "pages/base_correction_box.h"
#include "pages/calibration_page.h"
#include "pages/two_button_spinner.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

using namespace EcuFrames;

namespace {

QString FormatNumberText(double v, unsigned decimals = 2, const char* suffix = " ms") {
    return FormatNumber(v, decimals) + QString::fromLatin1(suffix);
}

class CalibrationPageTest : public WindowFixture {
protected:
    void SetUp() override {
        WriteIni("[Main]\r\nComport=COM1\r\nCalSens=7\r\n");
        CreateWindow();
        Connect();
        page = window->ts3;
        window->show();
        ShowPage(page);
    }

    void ReducerAt(int16_t hundredths) {
        Status s;
        s.reducerTemperature = hundredths;
        Deliver(s.Frame());
    }
    void BaseCorrectionReported(int x) {
        Status s;
        s.baseCorrectionByte = static_cast<uint8_t>(127 - x);
        Deliver(s.Frame());
    }
    // One worker pass with cylinder 1 at 2.50 ms.
    void Pass() {
        Live live;
        live.injectionRaw[0] = 625;
        Deliver(live.Frame());
        window->ecu->WorkerPass();
    }
    void Passes(int n) {
        for (int i = 0; i < n; ++i)
            Pass();
    }
    bool Idle() const {
        return page->startbtn->isEnabled() && !page->pausebtn->isEnabled() && !page->stopbtn->isEnabled() &&
               !window->ecu->calibrationActive && !window->ecu->calibrationPaused &&
               page->calp->value() == 0 && !page->Timer1.isActive() && page->Label44->isHidden();
    }

    CalibrationPage* page = nullptr;
};

TEST_F(CalibrationPageTest, StartsIdleWithItsCaptions) {
    EXPECT_TRUE(Idle());
    EXPECT_EQ(page->startbtn->text(), QStringLiteral("Start"));
    EXPECT_EQ(page->pausebtn->text(), QStringLiteral("Pause"));
    EXPECT_EQ(page->stopbtn->text(), QStringLiteral("Stop"));
    EXPECT_EQ(page->calp->maximum(), 200);
    EXPECT_EQ(page->Timer1.interval(), 500);
}

TEST_F(CalibrationPageTest, StartRunsOnlyAboveSixtyDegrees) {
    struct Case {
        int16_t reducer;
        bool runs;
    };
    for (const Case c : {Case{6001, true}, Case{6000, false}, Case{-500, false}}) {
        ReducerAt(c.reducer);
        window->ecu->calibrationSensitivity = 15; // grown by an earlier run; Start puts it back
        page->startbtnClick();
        EXPECT_TRUE(window->ecu->calibrationActive);
        EXPECT_EQ(window->ecu->calibrationPaused, !c.runs) << c.reducer;
        EXPECT_EQ(window->ecu->calibrationSensitivity, 7u);
        EXPECT_FALSE(page->startbtn->isEnabled());
        EXPECT_TRUE(page->pausebtn->isEnabled());
        EXPECT_TRUE(page->stopbtn->isEnabled());
        EXPECT_EQ(page->Label44->text(), window->LangText(c.runs ? 66 : 71)) << c.reducer;
        EXPECT_EQ(page->Timer1.isActive(), !c.runs) << c.reducer;
        page->stopbtnClick();
    }
}

TEST_F(CalibrationPageTest, ColdStartBlinksAndStaysPausedUntilContinue) {
    ReducerAt(4000);
    page->startbtnClick();
    Passes(30);
    EXPECT_EQ(window->ecu->calibrationStep, 0);
    EXPECT_EQ(page->pausebtn->text(), window->LangText(18));
    EXPECT_TRUE(Written().empty());
    for (bool visible : {false, true, false}) {
        page->Timer1Timer();
        EXPECT_EQ(page->Label44->isVisible(), visible);
    }
    ReducerAt(6500); // warm now; still nothing resumes by itself
    Passes(5);
    EXPECT_TRUE(window->ecu->calibrationPaused);

    page->pausebtnClick();
    EXPECT_FALSE(window->ecu->calibrationPaused);
    EXPECT_FALSE(page->Timer1.isActive());
    EXPECT_TRUE(page->Label44->isVisible());
    Pass();
    EXPECT_EQ(page->pausebtn->text(), window->LangText(17));
    EXPECT_EQ(window->ecu->calibrationStep, 1);

    page->pausebtnClick(); // pause again: the text follows with the next report
    EXPECT_EQ(page->pausebtn->text(), window->LangText(17));
    Pass();
    EXPECT_EQ(page->pausebtn->text(), window->LangText(18));
}

TEST_F(CalibrationPageTest, StopButtonAndLinkLossBothStopIt) {
    struct Case {
        const char* name;
        bool linkLost;
    };
    const Case cases[] = {{"stop button", false}, {"link lost", true}};
    for (const Case& c : cases) {
        ReducerAt(4000);
        page->startbtnClick(); // paused: Stop clears the pause too
        if (c.linkLost)
            Ticks(Tecu::kLinkTimeoutTicks + 2);
        else
            QTest::mouseClick(page->stopbtn, Qt::LeftButton);
        EXPECT_TRUE(Idle()) << c.name;
        EXPECT_EQ(window->ecu->calibrationStep, 0) << c.name;
        EXPECT_TRUE(page->Label44->text().isEmpty()) << c.name;
    }
}

// Wherever the calibration stands, Stop itself sends nothing and nothing follows it.
TEST_F(CalibrationPageTest, StopSendsNothing) {
    struct Case {
        const char* name;
        int passes; // from a warm start on gas: step 1 asks for petrol on every pass, 506 reach the settle
                    // wait
    };
    const Case cases[] = {{"at once", 0}, {"sampling petrol", 3}, {"settling on gas", 520}};
    for (const Case& c : cases) {
        Status warmOnGas;
        warmOnGas.reducerTemperature = 7000;
        warmOnGas.statusBits = 0x11;
        Deliver(warmOnGas.Frame());
        page->startbtnClick();
        Passes(c.passes);
        Written();
        QTest::mouseClick(page->stopbtn, Qt::LeftButton);
        EXPECT_TRUE(Written().empty()) << c.name;
        Passes(20);
        EXPECT_TRUE(Written().empty()) << c.name;
        EXPECT_TRUE(Idle()) << c.name;
    }
}

TEST_F(CalibrationPageTest, ProgressBarFollowsSamplesAndGasCycles) {
    ReducerAt(7000);
    page->startbtnClick();
    Passes(1 + 5 * 101);
    EXPECT_EQ(page->calp->value(), 100);
    // The gas cycles count on from 100 and wrap from 190 back to 100.
    page->calp->setValue(189);
    for (int expected : {190, 100, 101}) {
        page->ShowCalibrationProgress(7, 0, 5);
        EXPECT_EQ(page->calp->value(), expected);
    }
}

TEST_F(CalibrationPageTest, CompletionResetsTheButtons) {
    ReducerAt(7000);
    page->startbtnClick();
    page->calp->setValue(150);
    window->ecu->calibrationActive = false; // as the link leaves it on code 14
    window->ecu->OnCalibrationProgress.raise(7, 0, 14);
    EXPECT_EQ(page->Label44->text(), window->LangText(69));
    EXPECT_TRUE(page->startbtn->isEnabled());
    EXPECT_FALSE(page->pausebtn->isEnabled());
    EXPECT_FALSE(page->stopbtn->isEnabled());
    EXPECT_EQ(page->pausebtn->text(), window->LangText(17));
    EXPECT_EQ(page->calp->value(), 0);
}

TEST_F(CalibrationPageTest, WarningsOnTheInfoLine) {
    for (auto [code, text] : {std::pair{6, 67}, std::pair{10, 68}, std::pair{1, 66}}) {
        window->ecu->OnCalibrationProgress.raise(7, 0, code);
        EXPECT_EQ(page->Label44->text(), window->LangText(text)) << code;
    }
    window->ecu->OnCalibrationProgress.raise(7, 0, 7); // codes without a text leave it
    EXPECT_EQ(page->Label44->text(), window->LangText(66));
}

TEST_F(CalibrationPageTest, BaseCorrectionShowsMsAndMovesAFreeThumb) {
    BaseCorrectionBox* box = page->GroupBox2;
    BaseCorrectionReported(127);
    EXPECT_EQ(box->Label45->text(), FormatNumberText(4.08));
    EXPECT_EQ(box->VrTrackBar13->value(), 127);
    EXPECT_TRUE(Written().empty()) << "a reported value is shown, never sent back";

    box->VrTrackBar13MouseDown();
    BaseCorrectionReported(10);
    EXPECT_EQ(box->Label45->text(), FormatNumberText(10 * BaseCorrectionBox::kMsPerUnit));
    EXPECT_EQ(box->VrTrackBar13->value(), 127) << "a held thumb stays";
    EXPECT_TRUE(Written().empty());
    box->VrTrackBar13->setValue(126); // dragged
    box->VrTrackBar13->setValue(125);
    box->VrTrackBar13MouseUp();
    EXPECT_EQ(Written(), Concat({FromHost({'n', 1}), FromHost({'n', 2}), FromHost({'n', 2})}));
}

TEST_F(CalibrationPageTest, TheFittersKeysAndWheelOnTheThumbSend) {
    BaseCorrectionBox* box = page->GroupBox2;
    BaseCorrectionReported(40);
    box->VrTrackBar13->setFocus();
    QTest::keyClick(box->VrTrackBar13, Qt::Key_Right);
    EXPECT_EQ(Written(), FromHost({'n', 127 - 41}));
    const QPointF centre = QRectF(box->VrTrackBar13->rect()).center();
    QWheelEvent wheel(centre, box->VrTrackBar13->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(box->VrTrackBar13, &wheel);
    ASSERT_NE(box->VrTrackBar13->value(), 41);
    EXPECT_EQ(Written(), FromHost({'n', uint8_t(127 - box->VrTrackBar13->value())}));
}

TEST_F(CalibrationPageTest, TrackBarMouseHoldsAndReleaseSendsAgain) {
    BaseCorrectionBox* box = page->GroupBox2;
    QTest::mousePress(box->VrTrackBar13, Qt::LeftButton, {}, QPoint(2, box->VrTrackBar13->height() / 2));
    EXPECT_TRUE(box->TrackBarHeld());
    Written();
    QTest::mouseRelease(box->VrTrackBar13, Qt::LeftButton, {}, QPoint(2, box->VrTrackBar13->height() / 2));
    EXPECT_FALSE(box->TrackBarHeld());
    EXPECT_EQ(Written(), FromHost({'n', uint8_t(127 - box->VrTrackBar13->value())}));
}

TEST_F(CalibrationPageTest, SpinnerStepsFromTheReportedValue) {
    BaseCorrectionBox* box = page->GroupBox2;
    BaseCorrectionReported(40);
    Written();
    box->VrTrackBar13MouseDown(); // the thumb is not what counts
    box->VrTrackBar13->setValue(90);
    Written();
    QTest::mouseClick(box->tabanspin->UpButton(), Qt::LeftButton);
    QTest::mouseClick(box->tabanspin->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Written(), Concat({FromHost({'n', 127 - 39}), FromHost({'n', 127 - 41})}));
}

// The progress display writes the strip's two time labels; they are found by name in the window.
TEST(CalibrationProgressLabels, CodesWriteTheStripsTimeLabels) {
    LanguageTable language;
    ASSERT_TRUE(language.Load(QStringLiteral("English")));
    auto* fake = new FakeSerialPort;
    Tecu ecu{std::unique_ptr<SerialPort>(fake)};
    PageContext ctx;
    ctx.ecu = &ecu;
    ctx.language = &language;
    QWidget host;
    auto* label12 = new QLabel(&host);
    label12->setObjectName(QStringLiteral("Label12"));
    auto* label13 = new QLabel(&host);
    label13->setObjectName(QStringLiteral("Label13"));
    auto* page = new CalibrationPage(ctx, &host);

    ecu.injectionTime[0] = 1234;
    ecu.petrolAverage = 250;
    ecu.gasAverage = 125;
    struct Case {
        int code;
        QString label12, label13;
    };
    const QString reset = QStringLiteral("0,0 mS");
    const Case cases[] = {
        {1, FormatNumberText(12.3, 1, " mS"), reset},
        {3, FormatNumberText(2.5, 1, " mS"), reset},
        {5, FormatNumberText(2.5, 1, " mS"), FormatNumberText(1.3, 1, " mS")},
        {0, reset, reset},
        {99, reset, reset},
    };
    for (const Case& c : cases) {
        page->ShowCalibrationProgress(1, 0, c.code);
        EXPECT_EQ(label12->text(), c.label12) << c.code;
        EXPECT_EQ(label13->text(), c.label13) << c.code;
    }
}

using namespace std::chrono_literals;

// The real window against the virtual ECU in simulated time, driven by its buttons.
TEST(CalibrationOnTheVirtualEcu, AWarmEngineCompletesAtTheMatchingBaseCorrection) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 75;
    WindowBench bench(config);
    TForm1& window = bench.window();
    ASSERT_TRUE(bench.connect());
    CalibrationPage* page = window.ts3;
    page->startbtn->click();
    ASSERT_FALSE(window.ecu->calibrationPaused);
    EXPECT_TRUE(bench.runUntil([&] { return !window.ecu->calibrationActive; }, 180s));
    EXPECT_EQ(page->Label44->text(), window.LangText(69));
    EXPECT_TRUE(page->startbtn->isEnabled());
    ecusim::EngineModel& engine = bench.ecu().engine();
    const double gap = engine.gasMs(0, bench.ecu().settings(), 850) - engine.petrolMs(0);
    EXPECT_LT(std::abs(gap), 0.06);
    bench.runFor(1s);
    EXPECT_EQ(page->GroupBox2->VrTrackBar13->value(), bench.ecu().settings().baseCorrection);
}

TEST(CalibrationOnTheVirtualEcu, AColdEngineWaitsPausedUntilContinue) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 30;
    WindowBench bench(config);
    TForm1& window = bench.window();
    ASSERT_TRUE(bench.connect());
    CalibrationPage* page = window.ts3;
    std::vector<int32_t> codes;
    window.ecu->OnCalibrationProgress.bind([&](int32_t step, int32_t count, int32_t code) {
        codes.push_back(code);
        window.ShowCalibrationProgress(step, count, code);
    });
    page->startbtnClick();
    bench.runFor(10s);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 99), static_cast<long>(codes.size()));
    EXPECT_EQ(page->pausebtn->text(), window.LangText(18));
    EXPECT_EQ(window.ecu->calibrationStep, 0);
    page->pausebtnClick();
    bench.runFor(1s);
    EXPECT_EQ(window.ecu->calibrationStep, 1);
    EXPECT_EQ(page->pausebtn->text(), window.LangText(17));
    page->stopbtnClick();
    EXPECT_FALSE(window.ecu->calibrationActive);
}

} // namespace
