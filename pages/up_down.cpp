#include "pages/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kArrowWidth = 17;
constexpr int kArrowHeight = 11;

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}
} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up(MakeArrow(this, Qt::UpArrow)), down(MakeArrow(this, Qt::DownArrow)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(up);
    column->addWidget(down);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDown::SetRange(int low, int high) {
    minimum = std::min(low, high);
    maximum = std::max(low, high);
    SetPosition(position);
}

void UpDown::SetIncrement(int step) {
    increment = std::max(1, step);
}

void UpDown::SetPosition(int value) {
    position = std::clamp(value, minimum, maximum);
}

void UpDown::Step(int direction) {
    // 64-bit sum: a position near the int limit must not overflow.
    SetPosition(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(position) + direction * increment, minimum, maximum)));
    emit Click();
}

QSize UpDown::sizeHint() const {
    return {kArrowWidth, 2 * kArrowHeight};
}
