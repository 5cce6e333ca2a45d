#include "app/lang/utf16_lines.h"

namespace Utf16Lines {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kLineSeparator = 0x2028;

char16_t UnitAt(const QByteArray& bytes, qsizetype byteOffset) {
    const auto low = static_cast<unsigned char>(bytes[byteOffset]);
    const auto high = static_cast<unsigned char>(bytes[byteOffset + 1]);
    return static_cast<char16_t>(low | (high << 8));
}

} // namespace

QString DecodeLittleEndian(const QByteArray& bytes) {
    const qsizetype units = bytes.size() / 2;
    QString text;
    text.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = UnitAt(bytes, 2 * i);
        if (i == 0 && unit == kByteOrderMark) {
            continue;
        }
        text.append(QChar(unit));
    }
    return text;
}

QStringList Split(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n' && c != kLineSeparator) {
            ++i;
            continue;
        }
        lines.append(text.mid(start, i - start));
        const bool crLf = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        i += crLf ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        lines.append(text.mid(start));
    }
    return lines;
}

} // namespace Utf16Lines
