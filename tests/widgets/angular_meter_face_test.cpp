#include "widgets/angular_meter.h"

#include <QFont>
#include <QImage>
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

} // namespace
