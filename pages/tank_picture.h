#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>

// The tank drawing surface: a lime column whose top follows the sensor reading (0 at the top, 1023 at
// the bottom) and six marks from the "full" point to the "empty" point. The picture is drawn only when
// a tank value arrives and kept on an off-screen image, which every repaint merely shows.
class TankPicture : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 57;
    static constexpr int kHeight = 143;

    explicit TankPicture(QWidget* parent = nullptr);

    // reading in converter counts; tankMax and tankMin as the ECU holds them (1023 minus the reading).
    void Draw(int32_t reading, int32_t tankMax, int32_t tankMin, const QColor& background);
    const QImage& Image() const { return image; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawColumn(int32_t reading);
    void DrawMarks(int32_t tankMax, int32_t tankMin);

    QImage image;
};
