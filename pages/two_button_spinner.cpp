#include "pages/two_button_spinner.h"

#include <QBoxLayout>
#include <QToolButton>

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

} // namespace

TwoButtonSpinner::TwoButtonSpinner(Qt::Orientation orientation, const QString& name, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    const bool horizontal = orientation == Qt::Horizontal;
    auto* layout = new QBoxLayout(horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up = ArrowButton(horizontal ? Qt::LeftArrow : Qt::UpArrow, this);
    down = ArrowButton(horizontal ? Qt::RightArrow : Qt::DownArrow, this);
    layout->addWidget(up);
    layout->addWidget(down);
    connect(up, &QToolButton::clicked, this, &TwoButtonSpinner::upClick);
    connect(down, &QToolButton::clicked, this, &TwoButtonSpinner::downClick);
}
