#include "pages/graphic_page.h"

GraphicPage::GraphicPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("TabSheet2"), parent) {}
