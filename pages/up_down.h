#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons holding a position inside a range, without an edit of its own. A click on
// an arrow moves the position by the increment (held at the ends, no wrap-around) and then raises
// Click; setting the position from code raises nothing, so a value written in from the ECU never
// travels back as a command.
class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum; }
    int Maximum() const { return maximum; }
    void SetIncrement(int step);
    int Increment() const { return increment; }
    // Held inside the range.
    void SetPosition(int value);
    int Position() const { return position; }

    QToolButton* UpButton() const { return up; }
    QToolButton* DownButton() const { return down; }

    QSize sizeHint() const override;

signals:
    // A user's click on either arrow; also at an end of the range, where the position stays.
    void Click();

private:
    void Step(int direction);

    QToolButton* up;
    QToolButton* down;
    int minimum = 0;
    int maximum = 100;
    int increment = 1;
    int position = 0;
};
