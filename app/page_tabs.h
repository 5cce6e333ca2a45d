#pragma once

#include <QTabBar>
#include <QTabWidget>

// The page tabs: each at least the window's tab width and wider where its caption needs it; when a
// language's captions would not all fit beside the strip, the short ones give up their spare width
// first, so no tab is cut or scrolled away.
class PageTabBar : public QTabBar {
public:
    PageTabBar(int minimumTabWidth, QWidget* parent = nullptr);

    QSize tabSizeHint(int index) const override;
    // As wide as the tab control: a change of its width lays the tabs out again.
    QSize sizeHint() const override;

private:
    int RoomWidth() const;
    int minimumTabWidth;
};

class PageTabWidget : public QTabWidget {
public:
    PageTabWidget(int minimumTabWidth, QWidget* parent = nullptr);
};
