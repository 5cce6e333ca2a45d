#include "widgets/static_text_label.h"

#include <QPainter>
#include <QStyle>

void StaticTextLabel::Prepare() {
    if (prepared && laidOutText == text() && laidOutFont == font())
        return;
    laidOutText = text();
    laidOutFont = font();
    laidOut.setText(laidOutText);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), laidOutFont);
    prepared = true;
}

void StaticTextLabel::paintEvent(QPaintEvent*) {
    Prepare();
    const QRectF area = contentsRect();
    const QSizeF size = laidOut.size();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    double x = area.left();
    if (align & Qt::AlignRight)
        x = area.right() + 1 - size.width();
    else if (align & Qt::AlignHCenter)
        x = area.left() + (area.width() - size.width()) / 2;
    double y = area.top();
    if (align & Qt::AlignBottom)
        y = area.bottom() + 1 - size.height();
    else if (align & Qt::AlignVCenter)
        y = area.top() + (area.height() - size.height()) / 2;
    QPainter p(this);
    p.setFont(laidOutFont);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    p.drawStaticText(QPointF(x, y), laidOut);
}
