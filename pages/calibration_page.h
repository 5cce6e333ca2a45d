#pragma once

#include "pages/ecu_page.h"

#include <QStringList>
#include <QTimer>

// The Calibration page: automatic calibration, base correction and the engine map editor.
class CalibrationPage : public EcuPage {
    Q_OBJECT

public:
    CalibrationPage(PageContext& context, QWidget* parent = nullptr);

    // Twelve points of value 0 before any map arrives; even positions labelled with their speed.
    void InitMapSeries();
    const QStringList& MapPointLabels() const { return mapPointLabels; }
    bool MapSendPending() const { return tt.isActive(); }

    QTimer Timer1; // blinks the calibration information line
    QTimer tt;     // one-shot: sends the edited map a second after the last change

private:
    QStringList mapPointLabels;
};
