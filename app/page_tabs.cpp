#include "app/page_tabs.h"

#include <algorithm>

PageTabBar::PageTabBar(int minimumWidth, QWidget* parent) : QTabBar(parent), minimumTabWidth(minimumWidth) {
    setExpanding(false);
    setElideMode(Qt::ElideNone);
}

int PageTabBar::RoomWidth() const {
    return parentWidget() ? parentWidget()->contentsRect().width() : width();
}

QSize PageTabBar::tabSizeHint(int index) const {
    QSize hint = QTabBar::tabSizeHint(index);
    int captions = 0;
    int wanted = 0;
    for (int i = 0; i < count(); ++i) {
        const int caption = QTabBar::tabSizeHint(i).width();
        captions += caption;
        wanted += std::max(caption, minimumTabWidth);
    }
    // Clear of the window's edge.
    constexpr int kEdgeGap = 4;
    if (wanted + kEdgeGap <= RoomWidth()) {
        hint.setWidth(std::max(hint.width(), minimumTabWidth));
    } else {
        // Every tab its caption, and an equal share of what is left.
        const int share = std::max(0, RoomWidth() - kEdgeGap - captions) / std::max(1, count());
        hint.setWidth(hint.width() + share);
    }
    return hint;
}

QSize PageTabBar::sizeHint() const {
    QSize hint = QTabBar::sizeHint();
    hint.setWidth(std::max(hint.width(), RoomWidth()));
    return hint;
}

PageTabWidget::PageTabWidget(int minimumTabWidth, QWidget* parent) : QTabWidget(parent) {
    setTabBar(new PageTabBar(minimumTabWidth, this));
}
