#include "tests/support/window_fixture.h"

#include "pages/sensors_page.h"
#include "pages/tank_picture.h"

#include <QFrame>

#include <set>

using namespace EcuFrames;

namespace {

const QRgb kLime = qRgb(0, 255, 0);
const QRgb kBlack = qRgb(0, 0, 0);

class TankPictureTest : public WindowFixture {
protected:
    void SetUp() override {
        CreateWindow();
        Connect();
    }
    const QImage& Picture() const { return window->ts1->im->Image(); }
    QRgb Background() const {
        return window->ts1->p->palette().color(window->ts1->p->backgroundRole()).rgb();
    }
    QRgb At(int x, int y) const { return Picture().pixel(x, y); }
    // How far the black mark of a row reaches: 0 for none.
    int MarkLength(int y) const {
        int x = 0;
        while (x < Picture().width() && At(x, y) == kBlack)
            ++x;
        return x;
    }
    std::set<int> MarkRows() const {
        std::set<int> rows;
        for (int y = 0; y < Picture().height(); ++y)
            if (MarkLength(y) > 0)
                rows.insert(y);
        return rows;
    }
};

TEST_F(TankPictureTest, SurfaceIsTheFormsSize) {
    EXPECT_EQ(Picture().size(), QSize(57, 143));
    EXPECT_EQ(window->ts1->im->size(), QSize(57, 143));
}

TEST_F(TankPictureTest, MarksRunFromFullToEmptyWithAShortReserveMark) {
    DeliverAndDispatch(Status{.tankMax = 223, .tankMin = 823, .tankSensor = 500}.Frame());
    for (int y : {111, 91, 72, 53})
        EXPECT_EQ(MarkLength(y), 20) << "row " << y;
    EXPECT_EQ(MarkLength(34), 10);
    // The empty mark lands on row 27 or, by rounding of 4.4 quarters, on the row above.
    EXPECT_TRUE(MarkLength(27) == 20 || MarkLength(26) == 20);
    EXPECT_EQ(MarkRows().size(), 6u);
}

TEST_F(TankPictureTest, ColumnRisesFromTheBottomAsTheReadingFalls) {
    DeliverAndDispatch(Status{.tankMax = 223, .tankMin = 823, .tankSensor = 500}.Frame());
    constexpr int kClearOfMarks = 30;
    EXPECT_EQ(At(kClearOfMarks, 68), Background());
    EXPECT_EQ(At(kClearOfMarks, 69), kLime);
    EXPECT_EQ(At(kClearOfMarks, 142), kLime);
    EXPECT_EQ(At(56, 100), kLime);
    EXPECT_EQ(At(0, 100), Background()); // the column starts at x = 1

    DeliverAndDispatch(Status{.tankMax = 223, .tankMin = 823, .tankSensor = 100}.Frame());
    EXPECT_EQ(At(kClearOfMarks, 12), Background());
    EXPECT_EQ(At(kClearOfMarks, 13), kLime);
    EXPECT_EQ(MarkLength(34), 10);
    EXPECT_EQ(At(10, 34), kLime); // beside the short mark
}

TEST_F(TankPictureTest, EqualPointsDrawEveryMarkOnOneRow) {
    DeliverAndDispatch(Status{.tankMax = 823, .tankMin = 823, .tankSensor = 500}.Frame());
    EXPECT_EQ(MarkRows(), std::set<int>{27});
    EXPECT_EQ(MarkLength(27), 20);
}

TEST_F(TankPictureTest, ReadingsAndPointsOffTheScaleDrawNothingOutside) {
    DeliverAndDispatch(Status{.tankMax = 1100, .tankMin = 2000, .tankSensor = 1023}.Frame());
    EXPECT_TRUE(MarkRows().empty());
    // 143 x 1023 >> 10 is 142: a full-scale reading leaves a column one row high.
    EXPECT_EQ(At(30, 141), Background());
    EXPECT_EQ(At(30, 142), kLime);
    DeliverAndDispatch(Status{.tankMax = 1100, .tankMin = 2000, .tankSensor = 5000}.Frame());
    EXPECT_EQ(At(30, 142), Background());
}

TEST_F(TankPictureTest, RepaintsShowThePictureAsLastDrawn) {
    DeliverAndDispatch(Status{.tankMax = 223, .tankMin = 823, .tankSensor = 500}.Frame());
    const QImage drawn = Picture();
    EXPECT_EQ(window->ts1->im->grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);
    // A report without a tank change leaves the picture alone.
    DeliverAndDispatch(
        Status{.tankMax = 223, .tankMin = 823, .tankSensor = 500, .minGasPressure = 7}.Frame());
    EXPECT_EQ(Picture(), drawn);
}

} // namespace
