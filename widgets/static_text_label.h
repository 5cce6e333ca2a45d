#pragma once

#include <QFont>
#include <QLabel>
#include <QStaticText>
#include <QString>

// A label for a fixed plain text that is repainted often, such as a scale number under a moving
// needle: the text is laid out once and kept until the text or the font changes, instead of at every
// paint.
class StaticTextLabel : public QLabel {
public:
    explicit StaticTextLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Prepare();

    QStaticText laidOut;
    QString laidOutText;
    QFont laidOutFont;
    bool prepared = false;
};
