#include "widgets/instrument_font.h"

#include <algorithm>
#include <cmath>

QFont InstrumentFont(const QFont& base, double pixelSize, bool bold) {
    QFont font(base);
    // Below 6 pixels no glyph is readable; keep at least that.
    font.setPixelSize(std::max(6, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
