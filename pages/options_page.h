#pragma once

#include "ecu/tecu.h"
#include "pages/ecu_page.h"

#include <array>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

// The Options page: the gas injector of every cylinder, injector protection, fast change and the
// conditions for switching to gas. Every control shows the ECU's setting as last reported and sends
// one command when operated.
class OptionsPage : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kMasterCylinders = 4;
    static constexpr int kInjectorProtectionOn = 30;

    OptionsPage(PageContext& context, QWidget* parent = nullptr);

    void ShowGasInjectors(int32_t mask) override;
    void ShowInjectorProtection(int32_t v) override;
    void ShowFastChange(int32_t on) override;
    void ShowSwitchRpm(int32_t i) override;
    void ShowSwitchTemperature(int32_t t) override;
    void ShowMinGasPressure(int32_t v) override;

    // Button4, Button7 ... Button13 for cylinders 1 to 8 (index 0 to 7).
    void GasInjectorClick(int cylinderIndex);
    void Button14Click();
    void Button15Click();
    void ComboBox1Change();
    void TntUpDown2Click();
    void TntUpDown1Click();

    std::array<QPushButton*, Tecu::kCylinders> gasInjectorButtons{};
    std::array<QLabel*, Tecu::kCylinders> gasInjectorLabels{};
    QPushButton* Button14;
    QLabel* Label36;
    QPushButton* Button15;
    QLabel* Label37;
    QComboBox* ComboBox1;
    QLabel* Label38;
    QLineEdit* TntEdit2;
    UpDown* TntUpDown2;
    QLabel* Label39;
    QLineEdit* TntEdit1;
    UpDown* TntUpDown1;
    QLabel* Label41;

private:
    QPushButton* AddSwitchRow(QGridLayout& grid, const char* button, const char* label, QLabel*& caption);
    QLabel* AddRow(QGridLayout& grid, QWidget* control, const char* label);
    QWidget* EditWithUpDown(QLineEdit*& edit, UpDown*& upDown, const char* editName, const char* upDownName);

    int rows = 0;
};
