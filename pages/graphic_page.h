#pragma once

#include "pages/ecu_page.h"

// The Graphic page: the running graph of four live values and the log recorder.
class GraphicPage : public EcuPage {
    Q_OBJECT

public:
    GraphicPage(PageContext& context, QWidget* parent = nullptr);
};
