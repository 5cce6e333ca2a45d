#include "pages/graph_series.h"

#include <gtest/gtest.h>

namespace {

GraphSeries Filled(std::size_t count) {
    GraphSeries series;
    for (std::size_t i = 0; i < count; ++i)
        series.Append(static_cast<double>(i % 1000));
    return series;
}

TEST(GraphSeriesPages, CountFullAndPartPagesWithAtLeastOne) {
    const struct {
        std::size_t points;
        std::size_t pages;
    } cases[] = {{0, 1}, {1, 1}, {299, 1}, {300, 1}, {301, 2}, {600, 2}, {601, 3}, {288000, 960}};
    for (const auto& c : cases)
        EXPECT_EQ(GraphSeries::PageCount(c.points), c.pages) << c.points << " points";
}

TEST(GraphSeriesPages, HandOutOnePageAtItsRunningPointNumbers) {
    const struct {
        std::size_t points;
        std::size_t page;
        std::size_t count;
        double firstX;
    } cases[] = {{300, 0, 300, 0},           {301, 1, 1, 300},         {301, 0, 300, 0},
                 {288000, 959, 300, 287700}, {288001, 960, 1, 288000}, {10, 5, 0, 0}};
    for (const auto& c : cases) {
        const QList<QPointF> points = Filled(c.points).PagePoints(c.page);
        ASSERT_EQ(static_cast<std::size_t>(points.size()), c.count) << c.points << " points, page " << c.page;
        if (c.count > 0) {
            EXPECT_EQ(points.front().x(), c.firstX);
            EXPECT_EQ(points.back().x(), c.firstX + static_cast<double>(c.count - 1));
            EXPECT_EQ(points.front().y(), static_cast<double>(c.page * 300 % 1000));
        }
    }
}

TEST(GraphSeriesPages, ClearEmptiesTheHistory) {
    GraphSeries series = Filled(700);
    series.Clear();
    EXPECT_EQ(series.Count(), 0u);
    EXPECT_TRUE(series.PagePoints(0).isEmpty());
}

} // namespace
