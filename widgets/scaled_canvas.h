#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QWidget>

// Holds instruments and their captions at the places they have at its design size, and scales them
// all by one factor to the room it is given, centred, so the arrangement keeps its proportions.
// Texts grow and shrink with it, their pixel size held within kMinFontScale to kMaxFontScale of their
// design size so they stay readable on a small window and do not become posters on a large one.
class ScaledCanvas : public QWidget {
    Q_OBJECT

public:
    static constexpr double kMinScale = 0.6;
    static constexpr double kMaxScale = 4.0;
    static constexpr double kMinFontScale = 0.75;
    static constexpr double kMaxFontScale = 2.5;

    explicit ScaledCanvas(QSize designSize, QWidget* parent = nullptr);

    // Places a child at its design rectangle. fontPixels is its text's size at the design size;
    // 0 follows the font the canvas inherits.
    void Place(QWidget* child, QRect designRect, int fontPixels = 0);
    double Scale() const { return scale; }
    QSize DesignSize() const { return designSize; }
    // Where a design rectangle lies at the current scale.
    QRect Scaled(QRect designRect) const;

    QSize sizeHint() const override { return designSize; }
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Placed {
        QWidget* child;
        QRect designRect;
        int fontPixels;
    };
    void Arrange();
    void ApplyFont(const Placed& placed) const;

    QSize designSize;
    QList<Placed> placed;
    double scale = 1.0;
    QPoint origin;
};
