#pragma once

#include "pages/ecu_page.h"

// The Injector Test page: each cylinder switched between petrol and gas on its own.
class InjectorTestPage : public EcuPage {
    Q_OBJECT

public:
    InjectorTestPage(PageContext& context, QWidget* parent = nullptr);
};
