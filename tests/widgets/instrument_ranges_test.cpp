#include "widgets/angular_meter.h"
#include "widgets/bar_gauge.h"
#include "widgets/thermo_meter.h"

#include "tests/widgets/repaint_regions.h"

#include <QApplication>
#include <QTest>

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ClampCase {
    double value;
    double shown;
};

// Readings from the ECU can lie anywhere: every instrument shows them inside its scale.
TEST(InstrumentRange, ValuesBeyondTheEndsAreShownAtTheEnds) {
    const ClampCase cases[] = {{-5, 0},      {0, 0},       {1234, 1234},
                               {2000, 2000}, {3000, 2000}, {std::numeric_limits<double>::quiet_NaN(), 0}};
    BarGauge bar;
    bar.SetRange(0, 2000);
    AngularMeter meter;
    meter.SetRange(2000, 0); // ends in either order
    ThermoMeter thermo;
    thermo.SetRange(0, 2000);
    for (const ClampCase& c : cases) {
        SCOPED_TRACE(c.value);
        bar.SetPosition(c.value);
        meter.SetPosition(c.value);
        thermo.SetValue(c.value);
        thermo.SetSetPoint(c.value);
        EXPECT_EQ(bar.Position(), c.shown);
        EXPECT_EQ(meter.Position(), c.shown);
        EXPECT_EQ(thermo.Value(), c.shown);
        EXPECT_EQ(thermo.SetPoint(), c.shown);
    }
}

TEST(InstrumentRange, NarrowerRangeCarriesThePositionWithIt) {
    BarGauge bar;
    bar.SetRange(0, 2000);
    bar.SetPosition(1500);
    bar.SetRange(0, 1000);
    EXPECT_EQ(bar.Position(), 1000);
    bar.SetRange(0, std::numeric_limits<double>::infinity()); // ignored
    EXPECT_EQ(bar.Maximum(), 1000);
}

struct PointCase {
    double start;
    double arc;
    double value;
    double dx; // direction from the centre, screen coordinates (y down)
    double dy;
};

// Owners place texts round a dial from where its marks lie.
TEST(AngularMeterScalePoint, LiesAtTheMarkOfTheValue) {
    const PointCase cases[] = {
        {240, 240, 0, -std::sqrt(0.75), 0.5},   // lower left
        {240, 240, 4000, 0, -1},                // top
        {240, 240, 8000, std::sqrt(0.75), 0.5}, // lower right
        {240, 240, 9000, std::sqrt(0.75), 0.5}, // held at the end
        {0, 180, 4000, 1, 0},                   // the right half: its middle at 3 o'clock
        {180, 180, 4000, -1, 0},                // the left half: its middle at 9 o'clock
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "/" << c.arc << " at " << c.value);
        AngularMeter meter;
        meter.resize(200, 200);
        meter.SetRange(0, 8000);
        meter.SetStartAngle(c.start);
        meter.SetArcAngle(c.arc);
        const QPointF hub = meter.ScalePoint(c.value, 0);
        const QPointF rim = meter.ScalePoint(c.value, 1);
        const double r = std::hypot(rim.x() - hub.x(), rim.y() - hub.y());
        ASSERT_GT(r, 50);
        EXPECT_NEAR((rim.x() - hub.x()) / r, c.dx, 1e-9);
        EXPECT_NEAR((rim.y() - hub.y()) / r, c.dy, 1e-9);
        EXPECT_TRUE(QRectF(meter.rect()).contains(rim));
    }
}

struct FillCase {
    Qt::Orientation orientation;
    QSize size;
    QPoint filled; // a pixel inside the filled share at half scale
    QPoint empty;
};

TEST(BarGaugePaint, FillsFromTheLeftOrFromTheBottom) {
    const FillCase cases[] = {
        {Qt::Horizontal, {120, 16}, {20, 8}, {100, 8}},
        {Qt::Vertical, {33, 140}, {16, 120}, {16, 20}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.orientation);
        BarGauge bar;
        bar.SetOrientation(c.orientation);
        bar.resize(c.size);
        bar.SetRange(0, 2000);
        bar.SetPosition(1000);
        bar.SetFilledColor(QColor(0, 0, 128));
        bar.SetEmptyColor(Qt::black);
        QImage image(c.size, QImage::Format_RGB32);
        bar.render(&image);
        EXPECT_EQ(QColor(image.pixel(c.filled)), QColor(0, 0, 128));
        EXPECT_EQ(QColor(image.pixel(c.empty)), QColor(Qt::black));
    }
}

// Injection times jitter by hundredths of a millisecond; a bar repaints only when its filled length
// changes by a whole pixel.
TEST(BarGaugePaint, RepaintsOnlyWhenTheFilledLengthChanges) {
    BarGauge bar;
    bar.resize(102, 16); // 100 px inside the frame: 20 units a pixel
    bar.SetRange(0, 2000);
    bar.SetPosition(1000);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QApplication::processEvents();

    struct Step {
        double position;
        bool repaint;
    };
    const Step steps[] = {{1004, false}, {995, false}, {1011, true}, {1012, false}, {0, true}, {-50, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.position);
        RepaintRegions regions(bar);
        bar.SetPosition(step.position);
        QApplication::processEvents();
        EXPECT_EQ(!regions.asked.isEmpty(), step.repaint);
    }
}

} // namespace
