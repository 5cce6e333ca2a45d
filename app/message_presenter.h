#pragma once

#include <QString>

// Where the program tells the fitter about a failure: a modal box with one line and one button.
// Tests replace it so that nothing blocks.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void ShowModalMessage(const QString& message, const QString& buttonCaption) = 0;
};
