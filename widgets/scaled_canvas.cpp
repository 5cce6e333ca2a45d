#include "widgets/scaled_canvas.h"

#include <QEvent>
#include <QFontInfo>

#include <algorithm>
#include <cmath>

ScaledCanvas::ScaledCanvas(QSize size, QWidget* parent) : QWidget(parent), designSize(size) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    resize(designSize);
}

QSize ScaledCanvas::minimumSizeHint() const {
    return (QSizeF(designSize) * kMinScale).toSize();
}

void ScaledCanvas::Place(QWidget* child, QRect designRect, int fontPixels) {
    placed.append({child, designRect, fontPixels});
    Arrange();
}

QRect ScaledCanvas::Scaled(QRect r) const {
    // Edges rather than sizes are rounded, so neighbours that touch at the design size still touch.
    const auto at = [this](int v) { return static_cast<int>(std::lround(v * scale)); };
    return QRect(QPoint(at(r.left()), at(r.top())), QPoint(at(r.right() + 1) - 1, at(r.bottom() + 1) - 1))
        .translated(origin);
}

void ScaledCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void ScaledCanvas::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Arrange();
}

void ScaledCanvas::Arrange() {
    if (designSize.isEmpty())
        return;
    const double fit = std::min(double(width()) / designSize.width(), double(height()) / designSize.height());
    scale = std::clamp(fit, kMinScale, kMaxScale);
    const QSize used(static_cast<int>(std::lround(designSize.width() * scale)),
                     static_cast<int>(std::lround(designSize.height() * scale)));
    origin = QPoint(std::max(0, (width() - used.width()) / 2), std::max(0, (height() - used.height()) / 2));
    for (const Placed& p : placed) {
        const QRect r = Scaled(p.designRect);
        // Fixed, so a text that changes never asks for a new layout.
        p.child->setFixedSize(r.size());
        p.child->move(r.topLeft());
        ApplyFont(p);
    }
}

void ScaledCanvas::ApplyFont(const Placed& p) const {
    const int design = p.fontPixels > 0 ? p.fontPixels : QFontInfo(font()).pixelSize();
    const double fontScale = std::clamp(scale, kMinFontScale, kMaxFontScale);
    const int pixels = std::max(1, static_cast<int>(std::lround(design * fontScale)));
    if (p.fontPixels == 0 && pixels == design)
        return;
    QFont f = p.child->font();
    if (f.pixelSize() == pixels)
        return;
    f.setPixelSize(pixels);
    p.child->setFont(f);
}
