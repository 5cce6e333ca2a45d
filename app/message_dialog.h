#pragma once

#include "app/message_presenter.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

// The program's message box: one line of text and one button, both from the language table.
class Tmsgdlg : public QDialog, public MessagePresenter {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "ORVANTO ECU SETUP";

    explicit Tmsgdlg(QWidget* parent = nullptr);

    // Sets both texts and shows the dialog modally; returns when it has closed.
    void ShowModalMessage(const QString& message, const QString& buttonCaption) override;
    // Sets both texts without showing anything.
    void SetTexts(const QString& message, const QString& buttonCaption);
    void Button1Click() { accept(); }

    QLabel* l1;
    QPushButton* Button1;
};
