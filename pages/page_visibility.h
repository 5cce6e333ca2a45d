#pragma once

#include <QWidget>

// A page of the tab control is open while it is the current page, whether or not the window itself
// is on screen yet: the start-up refresh runs before the window is shown.
inline bool PageIsOpen(const QWidget& page) {
    return page.isVisibleTo(page.window());
}
