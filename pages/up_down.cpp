#include "pages/up_down.h"

#include "pages/two_button_spinner.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kArrowWidth = 17;
constexpr int kArrowHeight = 11;
} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* arrows = new TwoButtonSpinner(Qt::Vertical, QString(), this);
    up = arrows->UpButton();
    down = arrows->DownButton();
    for (QToolButton* arrow : {up, down})
        arrow->setFocusPolicy(Qt::NoFocus);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(arrows);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(arrows, &TwoButtonSpinner::upClick, this, [this] { Step(1); });
    connect(arrows, &TwoButtonSpinner::downClick, this, [this] { Step(-1); });
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
