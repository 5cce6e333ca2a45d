#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the built-in language tables turn into lines. A table is UTF-16LE text; CR, LF, the pair
// CR LF and U+2028 each end a line, a break at the very end starts no further line, and blanks stay
// part of the text (some entries depend on them).
namespace Utf16Lines {

// UTF-16LE to text; a leading byte-order mark FF FE is consumed, a final odd byte is ignored.
QString DecodeLittleEndian(const QByteArray& bytes);
QStringList Split(const QString& text);
inline QStringList SplitBytes(const QByteArray& bytes) {
    return Split(DecodeLittleEndian(bytes));
}

} // namespace Utf16Lines
