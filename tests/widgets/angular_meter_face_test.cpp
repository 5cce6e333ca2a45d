#include "widgets/angular_meter.h"

#include "tests/widgets/changed_pixels.h"
#include "tests/widgets/repaint_regions.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QRegion>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct LookChange {
    const char* what;
    std::function<void(AngularMeter&)> apply;
};

void Prepare(AngularMeter& meter) {
    meter.resize(180, 180);
    meter.SetRange(0, 8000);
    meter.SetTickCount(8);
    meter.SetLongTickInterval(2);
    meter.SetScaleLabels(AngularMeter::ScaleLabels::Numbers);
    meter.SetCaption("RPM");
    meter.SetPosition(2500);
}

QImage Drawn(AngularMeter& meter) {
    return meter.grab().toImage();
}

// The dial keeps its face between paints; after any change the picture must be the one a dial
// drawn from scratch with the same settings shows.
TEST(AngularMeterFace, EveryChangeShowsAsOnAFreshDial) {
    const LookChange changes[] = {
        {"position", [](AngularMeter& m) { m.SetPosition(6100); }},
        {"range", [](AngularMeter& m) { m.SetRange(0, 4000); }},
        {"start angle", [](AngularMeter& m) { m.SetStartAngle(200); }},
        {"arc angle", [](AngularMeter& m) { m.SetArcAngle(120); }},
        {"ticks", [](AngularMeter& m) { m.SetTickCount(5); }},
        {"long ticks", [](AngularMeter& m) { m.SetLongTickInterval(1); }},
        {"zones",
         [](AngularMeter& m) {
             m.SetZones({{6000, 8000, QColor(220, 30, 30)}});
         }},
        {"caption", [](AngularMeter& m) { m.SetCaption("x1000"); }},
        {"label kind", [](AngularMeter& m) { m.SetScaleLabels(AngularMeter::ScaleLabels::None); }},
        {"label texts",
         [](AngularMeter& m) {
             m.SetScaleLabels(AngularMeter::ScaleLabels::Texts);
             m.SetLabelTexts({"E", "1/2", "F"});
         }},
        {"decimals", [](AngularMeter& m) { m.SetLabelDecimals(1); }},
        {"face colour", [](AngularMeter& m) { m.SetFaceColor(QColor(30, 30, 40)); }},
        {"scale colour", [](AngularMeter& m) { m.SetScaleColor(QColor(240, 240, 0)); }},
        {"needle colour", [](AngularMeter& m) { m.SetNeedleColor(QColor(0, 120, 255)); }},
        {"size", [](AngularMeter& m) { m.resize(120, 150); }},
        {"font", [](AngularMeter& m) { m.setFont(QFont("Liberation Mono")); }},
    };
    for (const LookChange& change : changes) {
        SCOPED_TRACE(change.what);
        AngularMeter kept;
        Prepare(kept);
        const QImage before = Drawn(kept);
        change.apply(kept);

        AngularMeter fresh;
        Prepare(fresh);
        change.apply(fresh);
        const QImage expected = Drawn(fresh);
        EXPECT_NE(expected, before) << "the change shows at all";
        EXPECT_EQ(Drawn(kept), expected);
    }
}

// A moving needle repaints only part of the dial; that part must hold every pixel that changes.
TEST(AngularMeterFace, MovingNeedleRepaintsWhereverThePictureChanges) {
    struct Move {
        double start;
        double arc;
        double from;
        double to;
    };
    const Move moves[] = {
        {240, 240, 0, 8000},    // end to end across the top
        {240, 240, 3900, 4100}, // a small step near the top
        {0, 180, 0, 8000},      // half dial, sector face
        {180, 180, 7000, 200},  // the other half, downwards
        {0, 360, 1000, 5000},   // full circle with a tail behind the hub
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(testing::Message() << m.start << "/" << m.arc << " " << m.from << " to " << m.to);
        AngularMeter meter;
        Prepare(meter);
        meter.SetStartAngle(m.start);
        meter.SetArcAngle(m.arc);
        meter.SetPosition(m.from);
        meter.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
        QApplication::processEvents();
        const QImage before = Drawn(meter);

        RepaintRegions regions(meter);
        meter.SetPosition(m.to);
        QApplication::processEvents();
        const QRegion repainted = regions.asked;
        const QImage after = Drawn(meter);
        ASSERT_NE(before, after);
        EXPECT_FALSE(QRegion(meter.rect()).subtracted(repainted).isEmpty())
            << "only part of the dial is repainted";
        EXPECT_EQ(ChangedPixels(before, after, repainted), 0);
    }
}

// Noise smaller than a quarter pixel at the tip asks for no repaint; once the moves add up, the
// needle is drawn where a fresh dial draws it.
TEST(AngularMeterFace, MovesTooSmallToSeeWaitUntilTheyAddUp) {
    AngularMeter meter;
    Prepare(meter); // 180 px, 0 to 8000 over 240 degrees: about 0.045 px at the tip per rpm
    meter.SetPosition(4000);
    meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
    QApplication::processEvents();

    RepaintRegions regions(meter);
    for (double rpm : {4001.0, 4003.0, 3998.0, 4004.0}) {
        meter.SetPosition(rpm);
        QApplication::processEvents();
    }
    EXPECT_TRUE(regions.asked.isEmpty());
    EXPECT_EQ(meter.Position(), 4004.0);

    meter.SetPosition(4030);
    QApplication::processEvents();
    EXPECT_FALSE(regions.asked.isEmpty());
    AngularMeter fresh;
    Prepare(fresh);
    fresh.SetPosition(4030);
    EXPECT_EQ(Drawn(meter), Drawn(fresh));
}

} // namespace
