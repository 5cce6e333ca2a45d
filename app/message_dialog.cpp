#include "app/message_dialog.h"

namespace {
constexpr int kWidth = 397;
constexpr int kHeight = 194;
constexpr int kLabelWidth = 389;
constexpr int kLabelHeight = 81;
constexpr int kLabelTop = 32;
constexpr int kButtonWidth = 209;
constexpr int kButtonHeight = 33;
constexpr int kButtonTop = 120;
} // namespace

Tmsgdlg::Tmsgdlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("msgdlg"));
    setWindowTitle(QString::fromLatin1(kCaption));
    resize(kWidth, kHeight);
    l1 = new QLabel(this);
    l1->setObjectName(QStringLiteral("l1"));
    l1->setGeometry((kWidth - kLabelWidth) / 2, kLabelTop, kLabelWidth, kLabelHeight);
    l1->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    l1->setWordWrap(false);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry((kWidth - kButtonWidth) / 2, kButtonTop, kButtonWidth, kButtonHeight);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &Tmsgdlg::Button1Click);
}

void Tmsgdlg::SetTexts(const QString& message, const QString& buttonCaption) {
    l1->setText(message);
    Button1->setText(buttonCaption);
}

void Tmsgdlg::ShowModalMessage(const QString& message, const QString& buttonCaption) {
    SetTexts(message, buttonCaption);
    exec();
}
