#include "pages/status_page.h"

StatusPage::StatusPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("tsdurum"), parent) {}
