#include "pages/sensors_page.h"

SensorsPage::SensorsPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts1"), parent) {}
