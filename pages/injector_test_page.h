#pragma once

#include "ecu/tecu.h"
#include "pages/ecu_page.h"

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class BarGauge;

// The Injector Test page: each cylinder switched between petrol and gas on its own. Cylinders 1 to 4
// stand in the master ECU's frame, 5 to 8 in the slave's.
class InjectorTestPage : public EcuPage {
    Q_OBJECT

public:
    static constexpr int kCylinders = Tecu::kCylinders;

    InjectorTestPage(PageContext& context, QWidget* parent = nullptr);

    void ShowInjectionTime(int cylinder, int32_t t) override;
    void ShowFuelMode(int32_t gas) override;
    void ShowInjectorTest(int32_t mask) override;
    // The click on b1 ... b8: asks the ECU to switch that cylinder's fuel.
    void bClick(int cylinder);

    QGroupBox* GroupBox4;
    QGroupBox* GroupBox5;
    // [0] is cylinder 1: b1a, b1d, StaticText1, b1.
    std::array<BarGauge*, kCylinders> gauges{};
    std::array<QLabel*, kCylinders> times{};
    std::array<QLabel*, kCylinders> numbers{};
    std::array<QPushButton*, kCylinders> buttons{};

private:
    QGroupBox* BuildFrame(const char* name, int firstCylinder);
    QWidget* BuildColumn(QWidget* parent, int cylinder);
    void ShowFuel(int cylinder, int32_t mask);
};
