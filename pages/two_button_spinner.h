#pragma once

#include <QWidget>

class QToolButton;

// Two arrow buttons side by side (horizontal) or one above the other (vertical). The first button,
// left or top, is the "up" button.
class TwoButtonSpinner : public QWidget {
    Q_OBJECT

public:
    TwoButtonSpinner(Qt::Orientation orientation, const QString& name, QWidget* parent = nullptr);

    QToolButton* UpButton() const { return up; }
    QToolButton* DownButton() const { return down; }

signals:
    void upClick();
    void downClick();

private:
    QToolButton* up;
    QToolButton* down;
};
