#include "pages/options_page.h"

OptionsPage::OptionsPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts2"), parent) {}
