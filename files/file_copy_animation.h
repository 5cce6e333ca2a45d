#pragma once

#include <QTimer>
#include <QWidget>

// The copy animation of the upload dialog: pages fly from one folder to the other, looping over
// its frames while the widget is shown.
class FileCopyAnimation : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLastFrame = 20;
    static constexpr int kFrameMs = 60;

    explicit FileCopyAnimation(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {300, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void NextFrame();
    void DrawFolder(class QPainter& painter, const QRectF& box) const;
    void DrawPage(class QPainter& painter, const QPointF& centre) const;

    QTimer frameTimer;
    int frame = 0;
};
