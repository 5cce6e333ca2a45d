#pragma once

#include <QFont>

// The widget's font at a pixel size that follows the instrument's size, so the text scales with it.
QFont InstrumentFont(const QFont& base, double pixelSize, bool bold = false);
