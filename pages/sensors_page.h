#pragma once

#include "pages/ecu_page.h"

// The Sensors page: RPM input, MAP sensor and the tank sensor with its picture.
class SensorsPage : public EcuPage {
    Q_OBJECT

public:
    SensorsPage(PageContext& context, QWidget* parent = nullptr);
};
