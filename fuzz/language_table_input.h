#pragma once

#include "app/lang/language_table.h"
#include "app/lang/utf16_lines.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One hostile language table: any bytes as a UTF-16 table. Answers what went wrong, or "" when the
// lines came out sound. Shared by the fuzz target and the test that replays the kept cases.
namespace FuzzLanguageTableInput {

inline bool IsBreak(QChar c) {
    return c == u'\r' || c == u'\n' || c.unicode() == 0x2028;
}

inline std::string Run(const uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LanguageTable table;
    table.LoadFromUtf16(bytes);
    const QString text = Utf16Lines::DecodeLittleEndian(bytes);

    qsizetype kept = 0;
    QStringList lines;
    for (int i = 0; i < table.LineCount(); ++i) {
        const QString line = table.LangText(i);
        for (QChar c : line) {
            if (IsBreak(c))
                return "line " + std::to_string(i) + " holds a line break";
        }
        kept += line.size();
        lines.append(line);
    }
    // Only the breaks themselves are dropped: nothing else is lost and nothing made up.
    qsizetype breaks = 0;
    for (QChar c : text)
        breaks += IsBreak(c) ? 1 : 0;
    if (kept != text.size() - breaks)
        return "text lost or made up";
    const bool endsEmpty = !lines.isEmpty() && lines.last().isEmpty();
    if (!endsEmpty && Utf16Lines::Split(lines.join(u'\n')) != lines)
        return "lines do not survive a second split";

    // Every accessor, at and beyond the ends.
    for (int i : {-1, 0, LanguageTable::kCharsetLine, table.LineCount() - 1, table.LineCount()}) {
        (void)table.LangTextAnsi(i);
        (void)table.LangTextWithNumber(i, 8);
    }
    (void)table.Charset();
    if (table.LangText(table.LineCount()) != LanguageTable::kMissingText ||
        table.LangText(-1) != LanguageTable::kMissingText)
        return "a line beyond the table is not the missing text";
    return {};
}

} // namespace FuzzLanguageTableInput
