#pragma once

#include "pages/ecu_page.h"

// The Status page: tachometer, pressure and injection dials, reducer thermometer.
class StatusPage : public EcuPage {
    Q_OBJECT

public:
    StatusPage(PageContext& context, QWidget* parent = nullptr);
};
