#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>

// How many pixels differ between two pictures of the same size, leaving out those inside a region.
inline int ChangedPixels(const QImage& a, const QImage& b, const QRegion& leftOut = {}) {
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y) && !leftOut.contains(QPoint(x, y)))
                ++changed;
        }
    }
    return changed;
}
