#pragma once

#include <QLocale>
#include <QString>

// A number as text with a fixed count of decimals: reduced to 18 significant digits, rounded half away
// from zero (1.25 with one decimal gives 1.3), with the locale's decimal separator and thousands grouping.
QString FormatNumber(double value, unsigned decimals, const QLocale& locale = QLocale::system());
