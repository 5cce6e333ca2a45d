#pragma once

#include "pages/ecu_page.h"

// The Options page: gas injectors, injector protection, fast change and switching to gas.
class OptionsPage : public EcuPage {
    Q_OBJECT

public:
    OptionsPage(PageContext& context, QWidget* parent = nullptr);
};
