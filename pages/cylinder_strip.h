#pragma once

#include "ecu/tecu.h"
#include "pages/ecu_page.h"

#include <QPushButton>

#include <array>

class QLabel;
class QGridLayout;
class QVBoxLayout;
class BarGauge;
class StatusLight;

// The strip along the window's left edge: the fuel button, the live values, the eight cylinder rows
// and the buttons for the ECU, the program settings and the settings file.
class CylinderStrip : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kWidth = 201;
    static constexpr int kCylinders = Tecu::kCylinders;
    // Lambda readings up to this count are lean.
    static constexpr uint32_t kLeanLimit = 120;

    CylinderStrip(PageContext& context, QWidget* parent = nullptr);

    void TntButton1Click();
    void Button2Click();
    void Button3Click();

    void ShowInjectionTime(int cylinder, int32_t t) override;
    void ShowRpm(int32_t r) override;
    void ShowFuelMode(int32_t gas) override;
    void ShowReducerTemperature(int32_t v) override;
    void ShowGasPressure(int32_t v) override;
    void ShowCylinderStatus(int32_t mask) override;
    void ShowLambda(int32_t v) override;
    void ShowInjectorTest(int32_t mask) override;
    // The lambda word from the light's state, as a change of language needs it.
    void ShowLambdaWord();

    QPushButton* TntButton1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button17;
    QPushButton* TntButton2;
    QPushButton* TntButton3;

    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label19;
    QLabel* Label22;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label20;
    QLabel* Label23;
    // [0] is cylinder 1: Label1/c1/ProgressBar1.
    std::array<QLabel*, kCylinders> cylinderNumbers{};
    std::array<StatusLight*, kCylinders> lights{};
    std::array<BarGauge*, kCylinders> bars{};
    QLabel* Label24;
    QLabel* Label25;
    StatusLight* Lambda;

private:
    QPushButton* AddButton(const QString& name);
    QLabel* AddLabel(const QString& name);
    void BuildValues(QVBoxLayout* column);
    void BuildCylinderRows(QVBoxLayout* column);
    void BuildLambda(QVBoxLayout* column);
    QLabel* AddValueRow(QGridLayout* grid, QLabel* caption, const QString& valueName);
};
