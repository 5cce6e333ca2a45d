#pragma once

#include "pages/ecu_page.h"

#include <QPushButton>

// The strip along the window's left edge: the fuel button, the live values, the eight cylinder rows
// and the buttons for the ECU, the program settings and the settings file.
class CylinderStrip : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kWidth = 201;

    CylinderStrip(PageContext& context, QWidget* parent = nullptr);

    void TntButton1Click();
    void Button2Click();
    void Button3Click();

    QPushButton* TntButton1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button17;
    QPushButton* TntButton2;
    QPushButton* TntButton3;

private:
    QPushButton* AddButton(const QString& name);
};
