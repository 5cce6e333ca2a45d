#include "tests/support/window_fixture.h"

#include "pages/calibration_page.h"
#include "pages/engine_map_editor.h"
#include "pages/map_chart_view.h"
#include "pages/map_point_conversions.h"
#include "pages/two_button_spinner.h"

#include <QAbstractAxis>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

using namespace EcuFrames;

namespace {

using Steps = std::array<int, 12>;

// The map frame the host sends for these steps: each byte n + 32, inverted on the wire.
Bytes MapFrame(const Steps& steps) {
    Bytes payload{'t'};
    for (int n : steps)
        payload.push_back(static_cast<uint8_t>(127 - (n + 32)));
    return FromHost(payload);
}

Steps Flat(int n) {
    Steps s;
    s.fill(n);
    return s;
}

class MapEditorTest : public WindowFixture {
protected:
    void SetUp() override {
        CreateWindow();
        Connect();
        page = window->ts3;
        editor = page->GroupBox1;
        window->show();
        ShowPage(page);
        QApplication::setActiveWindow(window.get());
        Layout();
    }

    void TearDown() override {
        // What the timer would do before the window closes.
        if (page->tt.isActive())
            editor->ttTimer();
    }

    // Lays the chart out and draws it once, as the screen would.
    void Layout() {
        QCoreApplication::processEvents();
        editor->ch->grab();
    }

    void MapReported(const Steps& steps) {
        std::array<int, 12> values{};
        for (int i = 0; i < 12; ++i)
            values[i] = steps[i] + 32;
        DeliverAndDispatch(MapReportOfValues(values));
        Written();
    }

    Steps Cells() const {
        Steps s{};
        for (int i = 0; i < 12; ++i)
            s[i] = editor->g->item(0, i + 1)->text().toInt();
        return s;
    }

    void Select(int firstPoint, int lastPoint) {
        editor->g->clearSelection();
        editor->g->setRangeSelected(QTableWidgetSelectionRange(0, firstPoint + 1, 0, lastPoint + 1), true);
    }

    int RowOf(double value) const {
        const QRectF plot = editor->chart->plotArea();
        return static_cast<int>(plot.top() + (1.0 - value) * plot.height() / 2.0);
    }

    // Where point i is drawn, in the view's pixels.
    QPoint PointPixel(int i) const {
        const QPointF inChart = editor->chart->mapToPosition(editor->x->at(i), editor->x);
        return editor->ch->mapFromScene(editor->chart->mapToScene(inChart));
    }

    CalibrationPage* page = nullptr;
    EngineMapEditor* editor = nullptr;
};

TEST(MapPointConversions, ExactStepsComeBackAndDragLimitsMeetTheByteRange) {
    for (int n = -32; n <= 31; ++n)
        EXPECT_EQ(MapPoint::ByteOfValue(n * MapPoint::kStepMs), n + 32) << n;
    EXPECT_EQ(MapPoint::ByteOfValue(1.0), 63);
    EXPECT_EQ(MapPoint::ByteOfValue(-1.0), 0);
    EXPECT_EQ(MapPoint::StepOfValue(-1.0), -32);
    EXPECT_EQ(MapPoint::StepOfValue(-0.05), -2);
    EXPECT_EQ(MapPoint::ByteOfValue(-0.05), 30);
}

TEST_F(MapEditorTest, BeforeAnyMapThePointsAreZeroAndCellsEmpty) {
    auto* fresh = new CalibrationPage(window->context);
    fresh->InitMapSeries();
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(fresh->GroupBox1->PointValue(i), 0.0);
        EXPECT_TRUE(fresh->GroupBox1->g->item(0, i + 1)->text().isEmpty());
    }
    EXPECT_EQ(fresh->MapPointLabels().value(0), QStringLiteral("-"));
    EXPECT_EQ(fresh->MapPointLabels().value(11), QStringLiteral("6000"));
    // Stepping cells without numbers sends nothing, so a map never received is not overwritten.
    fresh->GroupBox1->StepSelectedPoints(true);
    EXPECT_FALSE(fresh->tt.isActive());
    delete fresh;
}

// Until the link has connected and shown the ECU's map, the chart holds start values: no edit may send
// them over the ECU's own map, whichever way it is made.
class MapEditorBeforeTheMap : public WindowFixture {
protected:
    static bool SendsAMap(const Bytes& written) {
        const Bytes start{0x00, 0xF0, 13, 't'};
        return std::search(written.begin(), written.end(), start.begin(), start.end()) != written.end();
    }
};

TEST_F(MapEditorBeforeTheMap, NoEditPathSendsTheMap) {
    struct Stage {
        const char* name;
        std::function<void()> reach;
    };
    const Stage stages[] = {
        {"port open, nothing heard", [this] { Ticks(1); }},
        {"map reported, handshake running",
         [this] {
             Ticks(1);
             Deliver(MapReportOfValues({40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51}));
             Ticks(1);
         }},
        {"link lost after a connection",
         [this] {
             Connect();
             Ticks(Tecu::kLinkTimeoutTicks + 1);
         }},
    };
    struct Edit {
        const char* name;
        std::function<void(EngineMapEditor&)> make;
    };
    const Edit edits[] = {
        {"release on the chart", [](EngineMapEditor& e) { e.chMouseUp(Qt::LeftButton); }},
        {"drag a point",
         [](EngineMapEditor& e) {
             e.chClickSeries(Qt::LeftButton, 3);
             e.chMouseMove(0, Qt::ControlModifier);
             e.chMouseUp(Qt::LeftButton);
         }},
        {"move the shaping control", [](EngineMapEditor& e) { e.bb->setValue(e.bb->value() + 10); }},
        {"drag the shaping control",
         [](EngineMapEditor& e) {
             e.bbMouseDown();
             e.bb->setValue(e.bb->value() - 5);
             e.bbMouseUp();
         }},
        {"shaping spinner", [](EngineMapEditor& e) { e.VrSpinner1UpClick(); }},
        {"Init", [](EngineMapEditor& e) { QTest::mouseClick(e.Button16, Qt::LeftButton); }},
        {"F8, then the delayed send",
         [](EngineMapEditor& e) {
             e.g->setRangeSelected(QTableWidgetSelectionRange(0, 1, 0, 12), true);
             e.yukari->trigger();
             e.ttTimer();
         }},
    };
    for (const Stage& stage : stages) {
        CreateWindow();
        ASSERT_TRUE(window->ecu->OpenPort());
        stage.reach();
        ASSERT_FALSE(window->ecu->IsConnected()) << stage.name;
        EngineMapEditor& editor = *window->ts3->GroupBox1;
        const auto stateBefore = window->ecu->engineMap;
        for (const Edit& edit : edits) {
            Written();
            edit.make(editor);
            EXPECT_FALSE(SendsAMap(Written())) << stage.name << ": " << edit.name;
            EXPECT_FALSE(window->ts3->tt.isActive()) << stage.name << ": " << edit.name;
            EXPECT_EQ(window->ecu->engineMap, stateBefore) << stage.name << ": " << edit.name;
        }
        // Connected, the map is the ECU's and the same edit goes out.
        Connect();
        editor.chMouseUp(Qt::LeftButton);
        EXPECT_TRUE(SendsAMap(Written())) << stage.name;
        CloseWindow();
    }
}

TEST_F(MapEditorTest, AReportedMapFillsChartAndGrid) {
    const Steps steps{0, 1, -1, 31, -31, 5, 6, 7, 8, 9, 10, 40};
    MapReported(steps);
    EXPECT_EQ(Cells(), steps);
    for (int i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(editor->PointValue(i), steps[i] * 0.032) << i;
    // A byte above 63 from the ECU goes back unchanged.
    editor->SendMapFromChart();
    EXPECT_EQ(Written(), MapFrame(steps));
}

TEST_F(MapEditorTest, DraggingSetsPointsByModifierAndSendsOnRelease) {
    struct Case {
        const char* name;
        Qt::KeyboardModifiers modifiers;
        int first, last; // points that follow the drag of point 5
    };
    const Case cases[] = {
        {"alone", Qt::NoModifier, 5, 5},
        {"Shift: the points before it", Qt::ShiftModifier, 0, 5},
        {"Ctrl: it and the points after it", Qt::ControlModifier, 5, 11},
        {"both: all", Qt::ShiftModifier | Qt::ControlModifier, 0, 11},
    };
    for (const Case& c : cases) {
        MapReported(Flat(3));
        editor->chClickSeries(Qt::LeftButton, 5);
        editor->chMouseMove(editor->chart->plotArea().top() - 50, c.modifiers); // above the plot: 1.0
        EXPECT_TRUE(Written().empty()) << "nothing goes out while dragging";
        Steps expected = Flat(3);
        for (int i = c.first; i <= c.last; ++i)
            expected[i] = 31;
        EXPECT_EQ(Cells(), expected) << c.name;
        editor->chMouseUp(Qt::LeftButton);
        EXPECT_EQ(Written(), MapFrame(expected)) << c.name;
        EXPECT_FALSE(editor->Dragging());
    }
}

TEST_F(MapEditorTest, DragLimitsAndValuesBetweenSteps) {
    MapReported(Flat(0));
    editor->chClickSeries(Qt::LeftButton, 2);
    const QRectF plot = editor->chart->plotArea();
    editor->chMouseMove(static_cast<int>(plot.bottom()) + 80, Qt::NoModifier);
    EXPECT_DOUBLE_EQ(editor->PointValue(2), -1.0);
    EXPECT_EQ(Cells()[2], -32);
    const int row = RowOf(-0.05);
    editor->chMouseMove(row, Qt::NoModifier);
    const double v = editor->PointValue(2);
    EXPECT_NEAR(v, -0.05, 2.0 / plot.height() + 1e-9);
    EXPECT_EQ(Cells()[2], static_cast<int>(std::floor(v / 0.032))) << "the grid shows the step rounded down";
    editor->chMouseUp(Qt::RightButton);
    EXPECT_TRUE(editor->Dragging()) << "only the left button ends a drag";
    editor->chMouseUp(Qt::LeftButton);
    Steps expected = Flat(0);
    expected[2] = static_cast<int>(std::floor(v / 0.032));
    EXPECT_EQ(Written(), MapFrame(expected));
    EXPECT_DOUBLE_EQ(editor->PointValue(2), v) << "the chart keeps the unrounded value";
}

TEST_F(MapEditorTest, TheMouseOnTheChart) {
    MapReported(Flat(0));
    // A drag of point 7 with the real mouse, up to the top of the plot.
    const QPoint from = PointPixel(7);
    QTest::mousePress(editor->ch->viewport(), Qt::LeftButton, {}, from);
    EXPECT_TRUE(editor->Dragging());
    const QPoint to(from.x(), static_cast<int>(editor->chart->plotArea().top()) - 20);
    QMouseEvent move(QEvent::MouseMove, to, editor->ch->viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->ch->viewport(), &move);
    QTest::mouseRelease(editor->ch->viewport(), Qt::LeftButton, {}, to);
    Steps expected = Flat(0);
    expected[7] = 31;
    EXPECT_EQ(Written(), MapFrame(expected));

    // A click beside the series sends the map unchanged.
    const QPoint empty(PointPixel(3).x(), RowOf(-0.8));
    QTest::mouseClick(editor->ch->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_FALSE(editor->Dragging());
    EXPECT_EQ(Written(), MapFrame(expected));
    EXPECT_EQ(Cells(), expected);
}

TEST_F(MapEditorTest, StepsStopAtTheLimitsAndGoOutAsNPlus32) {
    for (int n = -31; n <= 31; ++n) {
        const bool up = n > -31;
        Steps before = Flat(0);
        before[4] = up ? n - 1 : n + 1;
        MapReported(before);
        Select(4, 4);
        editor->StepSelectedPoints(up);
        EXPECT_EQ(Cells()[4], n);
        EXPECT_DOUBLE_EQ(editor->PointValue(4), n * 0.032);
        editor->ttTimer();
        Steps after = Flat(0);
        after[4] = n;
        ASSERT_EQ(Written(), MapFrame(after)) << n;
    }
    struct Limit {
        int start;
        bool up;
    };
    for (const Limit l : {Limit{31, true}, Limit{-31, false}}) {
        MapReported(Flat(l.start));
        Select(0, 11);
        editor->StepSelectedPoints(l.up);
        EXPECT_EQ(Cells(), Flat(l.start));
    }
}

TEST_F(MapEditorTest, F8ThreeTimesSendsOnceASecondAfterTheLast) {
    MapReported(Flat(0));
    Select(2, 4);
    window->PageControl1->setCurrentIndex(0); // the keys work on every page
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(window.get(), Qt::Key_F8);
        EXPECT_TRUE(page->tt.isActive());
        EXPECT_GT(page->tt.remainingTime(), 900);
    }
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(page->tt.interval(), 1000);
    EXPECT_TRUE(page->tt.isSingleShot());
    editor->ttTimer();
    EXPECT_FALSE(page->tt.isActive());
    EXPECT_EQ(Written(), MapFrame({0, 0, 3, 3, 3, 0, 0, 0, 0, 0, 0, 0}));
    QTest::keyClick(window.get(), Qt::Key_F7);
    editor->ttTimer();
    EXPECT_EQ(Written(), MapFrame({0, 0, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(editor->yukari->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(editor->BitBtn1->text(), QStringLiteral("F8 Inc."));
    EXPECT_EQ(editor->BitBtn2->text(), QStringLiteral("F7 Dec."));
}

TEST_F(MapEditorTest, TheFixedCellStepsTheSelectionByButton) {
    MapReported(Flat(0));
    Select(0, 1);
    const QRect fixed = editor->g->visualItemRect(editor->g->item(0, 0));
    QTest::mouseClick(editor->g->viewport(), Qt::LeftButton, {}, fixed.center());
    QTest::mouseClick(editor->g->viewport(), Qt::LeftButton, {}, fixed.center());
    EXPECT_EQ(Cells()[0], 2);
    QTest::mouseClick(editor->g->viewport(), Qt::RightButton, {}, fixed.center());
    EXPECT_EQ(Cells(), (Steps{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(editor->g->selectedRanges().value(0).rightColumn(), 2) << "the selection stays";
    EXPECT_TRUE(page->tt.isActive());
}

TEST_F(MapEditorTest, ARefreshWhileTheTimerIsArmedDropsThePendingSteps) {
    MapReported(Flat(4));
    Select(0, 11);
    editor->yukariExecute();
    EXPECT_EQ(Cells(), Flat(5));
    window->ecu->RefreshAll();
    EXPECT_EQ(Cells(), Flat(4));
    EXPECT_TRUE(page->tt.isActive());
    editor->ttTimer();
    EXPECT_EQ(Written(), MapFrame(Flat(4)));
}

TEST_F(MapEditorTest, TheSineShaping) {
    MapReported(Flat(0));
    editor->bb->setValue(10);
    EXPECT_EQ(Cells(), (Steps{0, 1, 3, 5, 7, 8, 9, 9, 9, 9, 9, 8}));
    EXPECT_EQ(Written(), MapFrame({0, 1, 3, 5, 7, 8, 9, 9, 9, 9, 9, 8}));
    editor->bb->setValue(0);
    EXPECT_EQ(Cells(), Flat(0));
    Written();

    // Around point 0's step; beyond |31| the points near the peak stay at the limit.
    MapReported({-4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    editor->bb->setValue(70);
    EXPECT_EQ(Cells(), (Steps{-4, 9, 23, 31, 31, 31, 31, 31, 31, 31, 31, 31}));
}

TEST_F(MapEditorTest, ShapingByMouseSendsOnReleaseBySpinnerAtOnce) {
    MapReported(Flat(0));
    editor->bbMouseDown();
    editor->bb->setValue(5);
    editor->bb->setValue(6);
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(Cells()[8], 5);
    editor->bbMouseUp();
    EXPECT_EQ(Written(), MapFrame({0, 1, 2, 3, 4, 5, 5, 5, 5, 5, 5, 4}));

    QTest::mouseClick(editor->VrSpinner1->UpButton(), Qt::LeftButton);
    EXPECT_EQ(editor->bb->value(), 7);
    EXPECT_FALSE(Written().empty());
    editor->bb->setValue(70);
    Written();
    editor->VrSpinner1UpClick();
    EXPECT_EQ(editor->bb->value(), 70);
    EXPECT_TRUE(Written().empty()) << "no change at the end of the track bar";
    editor->bb->setValue(-70);
    Written();
    editor->VrSpinner1DownClick();
    EXPECT_TRUE(Written().empty());
}

TEST_F(MapEditorTest, InitFlattensToPointZeroWithoutAShapingPass) {
    MapReported({5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    {
        const QSignalBlocker quiet(editor->bb);
        editor->bb->setValue(12);
    }
    QTest::mouseClick(editor->Button16, Qt::LeftButton);
    EXPECT_EQ(editor->bb->value(), 0);
    EXPECT_EQ(Cells(), Flat(5));
    for (int i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(editor->PointValue(i), 0.16);
    EXPECT_EQ(Written(), MapFrame(Flat(5)));
    EXPECT_EQ(editor->Button16->text(), QStringLiteral("Init"));
}

TEST_F(MapEditorTest, TheSpeedLineAndBall) {
    const double p0 = editor->PixelOf(0);
    const double p4 = editor->PixelOf(4);
    const double p5 = editor->PixelOf(5);
    const double p11 = editor->PixelOf(11);
    struct Case {
        int32_t rpm;
        double lineFrom, lineTo;
        int ball;
    };
    const Case cases[] = {
        {0, p0 - 1, p0 + 1, 0},
        {499, p0 - 1, p0 + 1, 0},
        {2750, (p4 + p5) / 2 - 1.5, (p4 + p5) / 2 + 1.5, 4},
        {7000, p11 + 1, 1e9, 11},
    };
    for (const Case& c : cases) {
        const EngineMapEditor::SpeedMarks marks = editor->SpeedMarksFor(c.rpm);
        EXPECT_GE(marks.lineX, c.lineFrom) << c.rpm;
        EXPECT_LE(marks.lineX, c.lineTo) << c.rpm;
        EXPECT_EQ(marks.ballIndex, c.ball) << c.rpm;
    }
}

TEST_F(MapEditorTest, SpeedLabelsAreWholeAtTheMinimumSize) {
    window->resize(TForm1::kMinWidth, TForm1::kMinHeight);
    Layout();
    auto* top = editor->chart->findChild<QAbstractAxis*>(QStringLiteral("chTopAxis"));
    ASSERT_NE(top, nullptr);
    EXPECT_FALSE(top->labelsTruncated());
}

TEST_F(MapEditorTest, GridColumnsFollowThePointSpacing) {
    const int width = static_cast<int>(editor->PixelOf(11) - editor->PixelOf(0)) / 11;
    EXPECT_EQ(editor->g->columnWidth(0), 30);
    EXPECT_EQ(editor->g->columnWidth(12), 35);
    for (int c = 1; c < 12; ++c)
        EXPECT_EQ(editor->g->columnWidth(c), width) << c;
    // Each cell stands under its point.
    for (int i = 0; i < 12; ++i) {
        const QRect cell = editor->g->visualItemRect(editor->g->item(0, i + 1));
        const int left = editor->g->viewport()->mapTo(window.get(), cell.topLeft()).x();
        const int point = editor->ch->viewport()->mapTo(window.get(), PointPixel(i)).x();
        EXPECT_GT(point, left) << i;
        EXPECT_LT(point, left + cell.width()) << i;
    }
}

} // namespace
