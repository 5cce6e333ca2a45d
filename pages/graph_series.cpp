#include "pages/graph_series.h"

#include <algorithm>

std::size_t GraphSeries::PageCount(std::size_t points) {
    return std::max<std::size_t>(1, (points + kPointsPerPage - 1) / kPointsPerPage);
}

void GraphSeries::Clear() {
    // Give the memory back: an eight-hour history is a few megabytes.
    std::vector<double>().swap(values);
}

std::size_t GraphSeries::PagePointCount(std::size_t page) const {
    const std::size_t start = PageStart(page);
    return start >= values.size() ? 0 : std::min(kPointsPerPage, values.size() - start);
}

QList<QPointF> GraphSeries::PagePoints(std::size_t page) const {
    const std::size_t start = PageStart(page);
    const std::size_t count = PagePointCount(page);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = start; i < start + count; ++i)
        points.append(QPointF(static_cast<double>(i), values[i]));
    return points;
}
