#pragma once

#include <QList>
#include <QPointF>

#include <cstddef>
#include <vector>

// The whole history of one curve of the graph, one value per tick, x being the running point number.
// The chart is only ever handed one page of it, so drawing costs the same after eight hours as after
// eight seconds.
class GraphSeries {
public:
    static constexpr std::size_t kPointsPerPage = 300;

    // Pages needed for a number of points; an empty graph still shows its first page.
    static std::size_t PageCount(std::size_t points);
    static std::size_t PageStart(std::size_t page) { return page * kPointsPerPage; }

    void Append(double value) { values.push_back(value); }
    void Clear();
    std::size_t Count() const { return values.size(); }
    double At(std::size_t index) const { return values[index]; }
    // The points of one page (0 is the first); fewer than a full page for the last one.
    QList<QPointF> PagePoints(std::size_t page) const;
    std::size_t PagePointCount(std::size_t page) const;

private:
    std::vector<double> values;
};
