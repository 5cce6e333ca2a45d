#include "tests/pages/live_display_fixture.h"

#include "widgets/angular_meter.h"
#include "widgets/thermo_meter.h"

#include <QImage>
#include <QLabel>

#include <span>

namespace {

using Status = LiveDisplay;

struct DialCase {
    const char* name;
    double maximum;
    double start;
    double arc;
    int ticks;
    int longEvery;
    double zoneSplit; // scale value where the first zone ends
};

TEST_F(Status, DialsHaveTheirScales) {
    const DialCase cases[] = {
        {"devir1", 8000, 240, 240, 16, 2, 6000},
        {"press1", 4, 0, 180, 20, 5, 0.4},
        {"enj1", 2500, 180, 180, 25, 5, 2450},
    };
    for (const DialCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* dial = statusPage().findChild<AngularMeter*>(QString::fromLatin1(c.name));
        ASSERT_NE(dial, nullptr);
        EXPECT_EQ(dial->Minimum(), 0);
        EXPECT_EQ(dial->Maximum(), c.maximum);
        EXPECT_EQ(dial->StartAngle(), c.start);
        EXPECT_EQ(dial->ArcAngle(), c.arc);
        EXPECT_EQ(dial->TickCount(), c.ticks);
        EXPECT_EQ(dial->LongTickInterval(), c.longEvery);
        EXPECT_EQ(dial->Labels(), AngularMeter::ScaleLabels::None)
            << "the scale texts are labels of the page";
        ASSERT_EQ(dial->Zones().size(), 2);
        EXPECT_DOUBLE_EQ(dial->Zones()[0].to, c.zoneSplit);
        EXPECT_DOUBLE_EQ(dial->Zones()[1].from, c.zoneSplit);
        EXPECT_EQ(dial->Zones()[1].to, c.maximum);
    }
    EXPECT_EQ(statusPage().devir1->Caption(), QStringLiteral("|| X100"));
    EXPECT_EQ(statusPage().press1->Zones()[0].color, QColor(220, 0, 0)) << "red at the top, 3.6 to 4 bar";
    EXPECT_EQ(statusPage().enj1->Zones()[1].color, QColor(220, 0, 0));
}

struct ScaleTextCase {
    const char* name;
    const char* text;
};

// The scale texts stand round their dials in reading order: each one further along the arc.
TEST_F(Status, ScaleTextsStandAlongTheirArcs) {
    const ScaleTextCase tacho[] = {{"Label71", "0"},  {"Label72", "10"}, {"Label73", "20"},
                                   {"Label74", "30"}, {"Label75", "40"}, {"Label76", "50"},
                                   {"Label77", "60"}, {"Label78", "70"}, {"Label79", "80"}};
    const ScaleTextCase pressure[] = {
        {"Label54", "4"}, {"Label55", "3"}, {"Label56", "2"}, {"Label58", "1"}, {"Label51", "0"}};
    const ScaleTextCase injection[] = {{"Label66", "0"},  {"Label65", "5"},  {"Label64", "10"},
                                       {"Label63", "15"}, {"Label62", "20"}, {"Label67", "25"}};
    auto centre = [this](const char* name) {
        auto* label = statusPage().findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->geometry().center() : QPoint(-1000, -1000);
    };
    using Texts = std::span<const ScaleTextCase>;
    for (Texts dial : {Texts(tacho), Texts(pressure), Texts(injection)}) {
        for (const ScaleTextCase& c : dial)
            EXPECT_EQ(statusPage().findChild<QLabel*>(c.name)->text(), QString::fromLatin1(c.text));
    }

    // Tachometer: from lower left over the top to lower right.
    for (int i = 2; i < 8; ++i)
        EXPECT_GT(centre(tacho[i].name).x(), centre(tacho[i - 1].name).x()) << tacho[i].name;
    EXPECT_GT(centre("Label71").y(), centre("Label72").y());
    EXPECT_GT(centre("Label79").y(), centre("Label78").y());
    EXPECT_LT(centre("Label75").y(), centre("Label71").y());
    EXPECT_LT(centre("Label75").y(), centre("Label79").y());
    // Pressure reads upwards from 0 at the bottom; so does injection.
    for (int i = 1; i < 5; ++i)
        EXPECT_GT(centre(pressure[i].name).y(), centre(pressure[i - 1].name).y()) << pressure[i].name;
    for (int i = 1; i < 6; ++i)
        EXPECT_LT(centre(injection[i].name).y(), centre(injection[i - 1].name).y()) << injection[i].name;
    // The arcs face each other: pressure texts left of the injection texts.
    EXPECT_LT(centre("Label56").x(), centre("Label63").x());
}

TEST_F(Status, ThermometerScaleAndSetPoint) {
    ThermoMeter& t = *statusPage().vrThermoMeter1;
    EXPECT_EQ(t.Minimum(), 0);
    EXPECT_EQ(t.Maximum(), 100);
    EXPECT_EQ(t.MajorStep(), 20);
    EXPECT_EQ(t.MinorStep(), 4);
    EXPECT_TRUE(t.SetPointVisible());
    EXPECT_EQ(t.SetPointColor(), QColor(0, 0, 255));

    // The switching-to-gas temperature is marked even while the page is closed.
    ShowPage(window->ts1);
    status.switchTemperature = 45;
    SendStatus();
    EXPECT_EQ(t.SetPoint(), 45);
}

TEST_F(Status, PictureIsDrawn) {
    QWidget& picture = *statusPage().findChild<QWidget*>(QStringLiteral("Image1"));
    picture.resize(300, 160);
    QImage image(picture.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    picture.render(&image);
    int painted = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            painted += qAlpha(image.pixel(x, y)) > 0;
    EXPECT_GT(painted, 200);
}

} // namespace
