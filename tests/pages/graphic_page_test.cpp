#include "tests/support/window_fixture.h"

#include "app/format_number.h"
#include "pages/graphic_page.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFile>
#include <QGraphicsLineItem>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

#include <cmath>
#include <memory>

using namespace EcuFrames;

namespace {

const QByteArray kHeader = "RPM;inj;map;v;mode;\r\n";

// Engine period 3529 gives 850 rpm; injection raw 613 gives 245 (2.45 ms).
Live IdleLive() {
    Live live;
    live.periodB = 35290;
    live.injectionRaw[0] = 613;
    live.lambda = 450;
    live.gasPressure = 312;
    return live;
}

// A device that takes a fixed number of bytes and then fails, as a stick that fills up does.
class FillingDevice : public QIODevice {
public:
    FillingDevice(QByteArray& store, qint64 room) : store(store), room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        if (length > room)
            return -1;
        store.append(data, length);
        room -= length;
        return length;
    }

private:
    QByteArray& store;
    qint64 room;
};

class GraphicPageTest : public WindowFixture {
protected:
    void SetUp() override { CreateWindow(); }
    GraphicPage& Page() { return *window->TabSheet2; }
    QString Log(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QByteArray Content(const char* name) const {
        QFile file(Log(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void Record(const char* name) {
        files.saveAnswers.push_back(Log(name));
        Page().Button22Click();
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            Page().logtTimer();
    }
    void ShowAll() {
        for (QCheckBox* check : {Page().ch1, Page().ch2, Page().ch3, Page().ch4})
            check->setChecked(true);
    }
    QLineSeries* Line(int curve) { return Page().Line(curve); }
    // The window on screen, so the chart has its plot rectangle.
    QRectF Plot() {
        window->show();
        ShowPage(&Page());
        QApplication::processEvents();
        return Page().Chart1->chart()->plotArea();
    }
    QString Text(const QPushButton* button) const { return button->text(); }
};

TEST_F(GraphicPageTest, StartsStoppedWithEveryCurveHiddenAndABareChart) {
    GraphicPage& page = Page();
    EXPECT_FALSE(page.logt->isActive());
    EXPECT_EQ(page.logt->interval(), 100);
    EXPECT_FALSE(page.recording);
    EXPECT_EQ(Text(page.Button19), QStringLiteral("Continue"));
    EXPECT_EQ(Text(page.Button22), QStringLiteral("Record"));
    EXPECT_EQ(Text(page.Button18), QStringLiteral("Clear"));
    const char* captions[] = {"RPM", "Injection", "Lambda", "Gas Pressure"};
    QCheckBox* checks[] = {page.ch1, page.ch2, page.ch3, page.ch4};
    QLabel* readouts[] = {page.Label42, page.Label68, page.Label43, page.Label69};
    for (int i = 0; i < GraphicPage::kCurves; ++i) {
        EXPECT_EQ(checks[i]->text(), QString::fromLatin1(captions[i]));
        EXPECT_FALSE(checks[i]->isChecked());
        EXPECT_FALSE(Line(i)->isVisible());
        EXPECT_EQ(Line(i)->pen().width(), 2);
        EXPECT_FALSE(Line(i)->pointsVisible());
        EXPECT_EQ(readouts[i]->text(), QStringLiteral("0"));
    }
    QChart* chart = page.Chart1->chart();
    EXPECT_TRUE(chart->title().isEmpty());
    EXPECT_FALSE(chart->legend()->isVisible());
    EXPECT_FALSE(page.bottomAxis->isVisible());
    EXPECT_FALSE(page.leftAxis->labelsVisible());
    EXPECT_EQ(page.Chart1->rubberBand(), QChartView::RectangleRubberBand);
    EXPECT_EQ(page.Chart1->viewport()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(GraphicPageTest, ContinueAndPauseSwitchTheTimer) {
    GraphicPage& page = Page();
    page.Button19Click();
    EXPECT_TRUE(page.logt->isActive());
    EXPECT_EQ(Text(page.Button19), QStringLiteral("Pause"));
    page.Button19Click();
    EXPECT_FALSE(page.logt->isActive());
    EXPECT_EQ(Text(page.Button19), QStringLiteral("Continue"));
}

TEST_F(GraphicPageTest, ATickSamplesTheEcuIntoTheSeriesAndTheLog) {
    Connect();
    Status gas;
    gas.statusBits = 0x11;
    DeliverAndDispatch(gas.Frame());
    DeliverAndDispatch(IdleLive().Frame());
    Record("idle.log");
    EXPECT_EQ(Content("idle.log"), kHeader); // recording while stopped: the header only
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].filter, QStringLiteral("Log files|*.log"));
    EXPECT_EQ(files.requests[0].defaultExtension, QStringLiteral("log"));
    EXPECT_TRUE(files.requests[0].overwritePrompt);
    EXPECT_EQ(Text(Page().Button22), QStringLiteral("Stop Rec."));

    Tick();
    EXPECT_EQ(Content("idle.log"), kHeader + "850;245;312;450;G;\r\n");
    EXPECT_EQ(Page().logMode, 'G');
    const double expected[] = {85.0, 122.5, 450.0, 312.0}; // rpm x 0.1, 0.01 ms x 0.5, raw, raw
    for (int i = 0; i < GraphicPage::kCurves; ++i) {
        ASSERT_EQ(Page().History(i).Count(), 1u);
        EXPECT_DOUBLE_EQ(Page().History(i).At(0), expected[i]) << "Series" << i + 1;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GraphicPageTest, CancelledChoiceLeavesTheRecorderOff) {
    Page().Button22Click();
    EXPECT_FALSE(Page().recording);
    EXPECT_EQ(Text(Page().Button22), QStringLiteral("Record"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GraphicPageTest, AnExistingFileIsEmptiedAndASecondRecordingStartsANewFile) {
    {
        QFile old(Log("a.log"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("yesterday's drive\r\n");
    }
    Record("a.log");
    Tick(2);
    Page().Button22Click(); // stop
    EXPECT_FALSE(Page().recording);
    EXPECT_EQ(Text(Page().Button22), QStringLiteral("Record"));
    Tick(); // not recorded
    EXPECT_EQ(Content("a.log"), kHeader + "0;0;0;0;B;\r\n0;0;0;0;B;\r\n");

    Record("b.log");
    Tick();
    EXPECT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(Content("b.log"), kHeader + "0;0;0;0;B;\r\n");
    EXPECT_EQ(Content("a.log"), kHeader + "0;0;0;0;B;\r\n0;0;0;0;B;\r\n");
}

TEST_F(GraphicPageTest, ClearWhileRecordingEmptiesTheGraphButNotTheFile) {
    ShowAll();
    Record("run.log");
    Tick(301);
    ASSERT_EQ(Page().ShownPage(), 1u);
    Page().Button18Click();
    EXPECT_TRUE(Page().recording);
    EXPECT_EQ(Page().ShownPage(), 0u);
    for (int i = 0; i < GraphicPage::kCurves; ++i) {
        EXPECT_EQ(Page().History(i).Count(), 0u);
        EXPECT_EQ(Line(i)->count(), 0);
    }
    Tick();
    EXPECT_EQ(Content("run.log").count("\r\n"), 1 + 302);
    EXPECT_EQ(Line(0)->count(), 1);
}

TEST_F(GraphicPageTest, HiddenCurvesKeepCollectingAndShowTheirHistoryLate) {
    Tick(1000);
    for (int i = 0; i < GraphicPage::kCurves; ++i) {
        EXPECT_EQ(Page().History(i).Count(), 1000u);
        EXPECT_EQ(Line(i)->count(), 0) << "nothing is drawn with every box clear";
    }
    EXPECT_EQ(Page().ShownPage(), 0u);

    Page().ch3->setChecked(true);
    EXPECT_TRUE(Line(2)->isVisible());
    EXPECT_EQ(Line(2)->count(), 300);
    // One page further per tick until the newest (points 900 to 1003) is shown.
    for (std::size_t expected : {1u, 2u, 3u, 3u}) {
        Tick();
        EXPECT_EQ(Page().ShownPage(), expected);
    }
    EXPECT_EQ(Line(2)->count(), 104);
    EXPECT_EQ(Line(2)->at(0).x(), 900.0);
    EXPECT_EQ(Line(0)->count(), 0);
}

TEST_F(GraphicPageTest, PagesOfThreeHundredPointsSweepFromTheLeft) {
    const struct {
        int ticks;
        std::size_t page;
        int points;
    } cases[] = {{1, 0, 1}, {300, 0, 300}, {301, 1, 1}, {600, 1, 300}, {601, 2, 1}};
    for (const auto& c : cases) {
        Page().Button18Click();
        ShowAll();
        Tick(c.ticks);
        EXPECT_EQ(Page().ShownPage(), c.page) << c.ticks << " ticks";
        for (int i = 0; i < GraphicPage::kCurves; ++i)
            EXPECT_EQ(Line(i)->count(), c.points) << c.ticks << " ticks, Series" << i + 1;
        // A partly filled page keeps the width of a full one.
        EXPECT_EQ(Page().bottomAxis->min(), 300.0 * static_cast<double>(c.page));
        EXPECT_EQ(Page().bottomAxis->max(), 300.0 * static_cast<double>(c.page) + 299);
    }
}

TEST_F(GraphicPageTest, AnEightHourHistoryHandsTheChartOnlyThePageShown) {
    constexpr int kEightHours = 288000;
    for (int i = 0; i < kEightHours; ++i)
        Page().AddPoints({static_cast<double>(i % 700), 100, 200, 300});
    ShowAll();
    Page().AddPoints({1, 2, 3, 4});
    ASSERT_EQ(Page().History(0).Count(), static_cast<std::size_t>(kEightHours + 1));
    for (int i = 0; i < GraphicPage::kCurves; ++i)
        EXPECT_EQ(Line(i)->count(), 300) << "Series" << i + 1;
    while (Page().ShownPage() < 960)
        Page().AddPoints({1, 2, 3, 4});
    for (int i = 0; i < GraphicPage::kCurves; ++i) {
        EXPECT_LE(Line(i)->count(), 300) << "Series" << i + 1;
        EXPECT_EQ(Line(i)->at(0).x(), 288000.0);
    }
}

TEST_F(GraphicPageTest, AZoomHoldsWhileTheCurvesGrowAndEndsOnARightClickOrANewPage) {
    const QRectF plot = Plot();
    GraphicPage& page = Page();
    ShowAll();
    Tick(100);
    QChart* chart = page.Chart1->chart();
    chart->zoomIn(QRectF(plot.left(), plot.top(), plot.width() / 4, plot.height() / 2));
    ASSERT_TRUE(chart->isZoomed());
    const double zoomedMax = page.bottomAxis->max();
    EXPECT_LT(zoomedMax, 299);
    Tick();
    EXPECT_EQ(page.bottomAxis->max(), zoomedMax) << "a tick does not undo the zoom";

    QTest::mouseClick(page.Chart1->viewport(), Qt::RightButton, {}, plot.center().toPoint());
    EXPECT_FALSE(chart->isZoomed());
    EXPECT_EQ(page.bottomAxis->max(), 299.0);

    chart->zoomIn(QRectF(plot.left(), plot.top(), plot.width() / 4, plot.height() / 2));
    Tick(200); // on to the second page
    EXPECT_FALSE(chart->isZoomed());
    EXPECT_EQ(page.bottomAxis->min(), 300.0);
}

struct ReadoutCase {
    const char* name;
    double value; // left-axis value under the pointer
    QString rpm, injection, lambda, pressure;
};

class Readouts : public GraphicPageTest, public ::testing::WithParamInterface<ReadoutCase> {};

TEST_P(Readouts, UndoEachCurvesScaling) {
    const ReadoutCase& c = GetParam();
    Page().ShowReadouts(c.value);
    EXPECT_EQ(Page().Label42->text(), c.rpm);
    EXPECT_EQ(Page().Label68->text(), c.injection);
    EXPECT_EQ(Page().Label43->text(), c.lambda);
    EXPECT_EQ(Page().Label69->text(), c.pressure);
}

const QString kMs = QStringLiteral(" mS"), kV = QStringLiteral(" V"), kBar = QStringLiteral(" bar");

INSTANTIATE_TEST_SUITE_P(
    Values, Readouts,
    ::testing::Values(ReadoutCase{"Idle", 85.37, "853", FormatNumber(1.71, 2) + kMs,
                                  FormatNumber(0.42, 2) + kV, FormatNumber(0.38, 2) + kBar},
                      ReadoutCase{"Top", 1023, "10230", FormatNumber(20.46, 2) + kMs, FormatNumber(5, 2) + kV,
                                  FormatNumber(4.58, 2) + kBar},
                      ReadoutCase{"NegativeCutTowardZero", -85.37, "-853", FormatNumber(-1.71, 2) + kMs,
                                  FormatNumber(-0.42, 2) + kV, FormatNumber(0, 2) + kBar}),
    [](const ::testing::TestParamInfo<ReadoutCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicPageTest, PointerRowReadsTheLeftAxisAndMovesTheCrosshairWithinThePlot) {
    const QRectF plot = Plot();
    ASSERT_GT(plot.height(), 50);
    GraphicPage& page = Page();
    page.leftAxis->setRange(-100, 100);
    const struct {
        int row;
        double lineY;
    } cases[] = {{-40, plot.top()},
                 {static_cast<int>(plot.bottom()) + 500, plot.bottom()},
                 {static_cast<int>(std::floor(plot.center().y())), std::floor(plot.center().y())}};
    for (const auto& c : cases) {
        page.Chart1MouseMove(c.row);
        EXPECT_EQ(page.cursorY, c.row);
        const QLineF line = page.crosshair->line();
        EXPECT_DOUBLE_EQ(line.y1(), c.lineY) << "row " << c.row;
        EXPECT_DOUBLE_EQ(line.y2(), c.lineY) << "row " << c.row;
        EXPECT_DOUBLE_EQ(line.x1(), plot.left());
        EXPECT_DOUBLE_EQ(line.x2(), plot.right());
    }
    // Above the plot the value is beyond the top, below it negative: no bar below zero.
    page.Chart1MouseMove(static_cast<int>(plot.bottom()) + 500);
    EXPECT_TRUE(page.Label42->text().startsWith('-'));
    EXPECT_EQ(page.Label69->text(), FormatNumber(0, 2) + kBar);
    page.Chart1MouseMove(static_cast<int>(plot.top()));
    EXPECT_NEAR(page.Label42->text().toDouble(), 1000, 10);
}

TEST_F(GraphicPageTest, TheMouseOverTheChartDrivesTheReadout) {
    const QRectF plot = Plot();
    QWidget* viewport = Page().Chart1->viewport();
    const QPoint inside = viewport->mapFrom(Page().Chart1, plot.center().toPoint());
    QTest::mouseMove(viewport, inside);
    QApplication::processEvents();
    EXPECT_NEAR(Page().cursorY, plot.center().y(), 2);
}

class RecordingFailure : public GraphicPageTest {
protected:
    void ExpectFileMessageAndRecorderOff() {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].message, QStringLiteral("Error..File unable to write"));
        EXPECT_EQ(messages.shown[0].button, QStringLiteral("Finish"));
        EXPECT_FALSE(Page().recording);
        EXPECT_EQ(Text(Page().Button22), QStringLiteral("Record"));
    }
};

TEST_F(RecordingFailure, AFileThatCannotBeCreatedOrTakesNoHeaderDoesNotStart) {
    for (const QString& path : {Log("missing-folder/x.log"), QStringLiteral("/dev/full")}) {
        messages.shown.clear();
        files.saveAnswers.push_back(path);
        Page().Button22Click();
        ExpectFileMessageAndRecorderOff();
    }
}

TEST_F(RecordingFailure, ALostLineStopsTheRecordingOnceAndKeepsWhatWasWritten) {
    QByteArray store;
    const qint64 room = kHeader.size() + 2 * 12; // the header and two lines of "0;0;0;0;B;\r\n"
    Page().logFile.SetOpener([&](const QString&) { return std::make_unique<FillingDevice>(store, room); });
    Record("stick.log");
    Tick(2);
    EXPECT_TRUE(messages.shown.empty());
    Tick(3);
    ExpectFileMessageAndRecorderOff();
    EXPECT_EQ(store, kHeader + "0;0;0;0;B;\r\n0;0;0;0;B;\r\n");
    EXPECT_EQ(Page().History(0).Count(), 5u) << "the graph goes on";
}

} // namespace
