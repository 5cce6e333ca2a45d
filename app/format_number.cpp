#include "app/format_number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kSignificantDigits = 18;

// The value's 18 significant digits and the power of ten of the first one.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits SignificantDigits(double magnitude) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", kSignificantDigits - 1, magnitude);
    Digits d;
    for (const char* p = text; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits.push_back(*p);
    }
    const char* e = std::strchr(text, 'e');
    d.exponent = e ? std::atoi(e + 1) : 0;
    return d;
}

// Digit at the given power of ten, 0 outside the significant ones.
int DigitAt(const Digits& d, int power) {
    const int index = d.exponent - power;
    return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] - '0' : 0;
}

QString Grouped(const std::string& integerPart, const QLocale& locale) {
    QString out;
    const int n = static_cast<int>(integerPart.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += locale.groupSeparator();
        out += QChar(integerPart[i]);
    }
    return out;
}

} // namespace

QString FormatNumber(double value, unsigned decimals, const QLocale& locale) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    decimals = std::min(decimals, 255u);

    const bool negative = value < 0;
    const Digits d = SignificantDigits(std::fabs(value));
    const int lowest = -static_cast<int>(decimals);
    const int highest = std::max(d.exponent, 0);

    // Digits from the highest power down to the last decimal, then round on the next one.
    std::string kept;
    for (int power = highest; power >= lowest; --power)
        kept.push_back(static_cast<char>('0' + DigitAt(d, power)));
    if (value != 0 && DigitAt(d, lowest - 1) >= 5) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i >= 0)
            ++kept[i];
        else
            kept.insert(kept.begin(), '1');
    }

    std::string integerPart = kept.substr(0, kept.size() - decimals);
    const std::string fraction = kept.substr(kept.size() - decimals);
    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    integerPart = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);

    const bool isZero = integerPart == "0" && fraction.find_first_not_of('0') == std::string::npos;
    QString out = (negative && !isZero) ? QStringLiteral("-") : QString();
    out += Grouped(integerPart, locale);
    if (decimals > 0)
        out += locale.decimalPoint() + QString::fromStdString(fraction);
    return out;
}
