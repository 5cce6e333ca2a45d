#pragma once

#include <algorithm>
#include <cmath>
#include <optional>

// The scale of a display widget. Readings from the ECU can lie anywhere, so a value outside the
// scale is shown at the nearer end, and a value that is not a number at the low end.
struct ValueRange {
    double low = 0.0;
    double high = 100.0;

    // The ends in order; nothing for an end that is not finite, which would leave no usable scale.
    static std::optional<ValueRange> FromEnds(double a, double b) {
        if (!std::isfinite(a) || !std::isfinite(b)) {
            return std::nullopt;
        }
        return ValueRange{std::min(a, b), std::max(a, b)};
    }

    double Clamp(double v) const { return std::isnan(v) ? low : std::clamp(v, low, high); }

    // 0 at the low end, 1 at the high end; 0 on an empty scale.
    double Fraction(double v) const { return high > low ? (Clamp(v) - low) / (high - low) : 0.0; }

    double ValueAt(double fraction) const { return low + fraction * (high - low); }

    // Takes new ends and pulls the given readings inside them; false when the ends are unusable or the same.
    template <class... Readings> bool Reset(double a, double b, Readings&... readings) {
        const auto next = FromEnds(a, b);
        if (!next || *next == *this) {
            return false;
        }
        *this = *next;
        ((readings = Clamp(readings)), ...);
        return true;
    }

    bool operator==(const ValueRange&) const = default;
};
