#include "pages/injector_test_page.h"

InjectorTestPage::InjectorTestPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("ts4"), parent) {}
