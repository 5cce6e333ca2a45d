#include "files/file_copy_animation.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr double kFolderWidth = 56.0;
constexpr double kFolderHeight = 40.0;
constexpr double kPageWidth = 16.0;
constexpr double kPageHeight = 20.0;
constexpr double kArcHeight = 26.0;
constexpr double kPi = 3.14159265358979323846;
const QColor kFolderColour(236, 196, 84);
const QColor kFolderEdge(168, 128, 32);
} // namespace

FileCopyAnimation::FileCopyAnimation(QWidget* parent) : QWidget(parent) {
    frameTimer.setInterval(kFrameMs);
    connect(&frameTimer, &QTimer::timeout, this, &FileCopyAnimation::NextFrame);
}

void FileCopyAnimation::NextFrame() {
    frame = frame >= kLastFrame ? 0 : frame + 1;
    update();
}

void FileCopyAnimation::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    frameTimer.start();
}

void FileCopyAnimation::hideEvent(QHideEvent* event) {
    frameTimer.stop();
    QWidget::hideEvent(event);
}

void FileCopyAnimation::DrawFolder(QPainter& painter, const QRectF& box) const {
    QPainterPath path;
    const double tab = box.width() * 0.4;
    path.moveTo(box.left(), box.top() + 6);
    path.lineTo(box.left() + 4, box.top());
    path.lineTo(box.left() + tab, box.top());
    path.lineTo(box.left() + tab + 6, box.top() + 6);
    path.lineTo(box.right(), box.top() + 6);
    path.lineTo(box.right(), box.bottom());
    path.lineTo(box.left(), box.bottom());
    path.closeSubpath();
    painter.setPen(QPen(kFolderEdge, 1.5));
    painter.setBrush(kFolderColour);
    painter.drawPath(path);
}

void FileCopyAnimation::DrawPage(QPainter& painter, const QPointF& centre) const {
    const QRectF page(centre.x() - kPageWidth / 2, centre.y() - kPageHeight / 2, kPageWidth, kPageHeight);
    painter.setPen(QPen(Qt::darkGray, 1.0));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    for (int line = 1; line <= 3; ++line) {
        const double y = page.top() + line * kPageHeight / 4.5;
        painter.drawLine(QPointF(page.left() + 3, y), QPointF(page.right() - 3, y));
    }
}

void FileCopyAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double bottom = height() - 2.0;
    const QRectF source(4.0, bottom - kFolderHeight, kFolderWidth, kFolderHeight);
    const QRectF target(width() - kFolderWidth - 4.0, bottom - kFolderHeight, kFolderWidth, kFolderHeight);
    DrawFolder(painter, source);
    DrawFolder(painter, target);

    // The page rises out of the left folder, arcs over and drops into the right one.
    const double share = static_cast<double>(frame) / kLastFrame;
    const QPointF from(source.center().x(), source.top() + 4);
    const QPointF to(target.center().x(), target.top() + 4);
    const double x = from.x() + (to.x() - from.x()) * share;
    const double y = from.y() - std::sin(share * kPi) * std::min(kArcHeight, from.y() - kPageHeight / 2);
    DrawPage(painter, QPointF(x, y));
}
