#include "pages/tank_picture.h"

#include <QPainter>

#include <algorithm>

namespace {
const QColor kColumnColor(0, 255, 0);
const QColor kMarkColor(Qt::black);
constexpr int kMarkLength = 20;
constexpr int kReserveMarkLength = 10;
// The extended-precision value of 1 / 4.4: four quarters and the reserve below them.
constexpr double kQuarterOfSpan = 1.0 / 4.4;

struct Mark {
    double k;
    int length;
};
// Full, three quarters, half, one quarter, reserve, empty; in the order they are drawn.
constexpr Mark kMarks[] = {{0, kMarkLength}, {1, kMarkLength},        {2, kMarkLength},
                           {3, kMarkLength}, {4, kReserveMarkLength}, {4.4, kMarkLength}};

// The row of a tank point, in unsigned 32-bit arithmetic: a point beyond 1023 (a 16-bit word from the
// ECU) wraps to a row far below the surface, so its mark is simply not drawn.
uint32_t RowOf(int32_t point) {
    return (1023u - static_cast<uint32_t>(point)) * static_cast<uint32_t>(TankPicture::kHeight) / 1023u;
}
} // namespace

TankPicture::TankPicture(QWidget* parent) : QWidget(parent), image(kWidth, kHeight, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("im"));
    setFixedSize(kWidth, kHeight);
    image.fill(palette().color(QPalette::Window));
}

void TankPicture::Draw(int32_t reading, int32_t tankMax, int32_t tankMin, const QColor& background) {
    image.fill(background);
    DrawColumn(reading);
    DrawMarks(tankMax, tankMin);
    update();
}

void TankPicture::DrawColumn(int32_t reading) {
    const long long top = (static_cast<long long>(kHeight) * reading) >> 10;
    if (top >= kHeight)
        return;
    QPainter p(&image);
    p.fillRect(QRect(QPoint(1, static_cast<int>(std::max(0LL, top))), QPoint(kWidth - 1, kHeight - 1)),
               kColumnColor);
}

void TankPicture::DrawMarks(int32_t tankMax, int32_t tankMin) {
    const uint32_t yFull = RowOf(tankMax);
    const uint32_t yEmpty = RowOf(tankMin);
    const double span = static_cast<double>(static_cast<int64_t>(yEmpty) - static_cast<int64_t>(yFull));
    const double step = span * kQuarterOfSpan;
    QPainter p(&image);
    for (const Mark& mark : kMarks) {
        // Truncated toward zero, like the integer conversion of the drawing call.
        const auto y = static_cast<long long>(yFull + step * mark.k);
        if (y < 0 || y >= kHeight)
            continue;
        // The mark's end point is not part of it: a 20 pixel mark covers x = 0 to 19.
        p.fillRect(QRect(0, static_cast<int>(y), mark.length, 1), kMarkColor);
    }
}

void TankPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image);
}
