#pragma once

#include <QColor>
#include <QWidget>

// A lamp: lit or not, each state with its own colour. Round when the widget is about square, a
// rounded bar otherwise (the lambda light and the tank level lights are wide).
class StatusLight : public QWidget {
    Q_OBJECT

public:
    explicit StatusLight(QWidget* parent = nullptr);

    void SetLit(bool lit);
    bool Lit() const { return lit; }
    void SetLitColor(const QColor& color);
    QColor LitColor() const { return litColor; }
    void SetNotLitColor(const QColor& color);
    QColor NotLitColor() const { return notLitColor; }
    // The colour shown now.
    QColor CurrentColor() const { return lit ? litColor : notLitColor; }

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool lit = false;
    QColor litColor{0, 255, 0};
    QColor notLitColor;
};
