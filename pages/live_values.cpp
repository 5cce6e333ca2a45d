#include "pages/live_values.h"

#include "app/format_number.h"

#include <algorithm>

namespace LiveValues {

QString InjectionTimeText(int64_t raw) {
    return FormatNumber(static_cast<double>(raw) * 0.01, 1);
}

QString InjectionTimeWithUnit(int64_t raw) {
    return InjectionTimeText(raw) + QStringLiteral(" mS");
}

double GasPressureBar(int32_t raw) {
    return std::max(0.0, raw * kBarPerCount);
}

QString GasPressureText(int32_t raw) {
    return FormatNumber(GasPressureBar(raw), 2);
}

int32_t ReducerCelsius(int32_t raw) {
    return raw / 100;
}

} // namespace LiveValues
