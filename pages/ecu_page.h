#pragma once

#include "pages/ecu_event_sink.h"
#include "pages/page_context.h"

#include <QWidget>

// A page of the main window (or the left strip): a widget that shows some of the link's values.
class EcuPage : public QWidget, public EcuEventSink {
    Q_OBJECT

public:
    EcuPage(PageContext& context, const QString& name, QWidget* parent = nullptr)
        : QWidget(parent), ctx(context) {
        setObjectName(name);
    }

protected:
    PageContext& ctx;
};
