#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

// One of the eight built-in languages: the two-letter code kept in the INI file and the display
// name, which is line 0 of its table and, upper-cased, the name of its resource.
struct LanguageInfo {
    const char* code;
    const char* displayName;
};

// The loaded language table: lines of UTF-16 text indexed from 0. Lines 0 and 3 are the display
// name and the character-set number; the user-interface texts start at line 10.
class LanguageTable {
public:
    // Positions 0..7 of the language list: AR DE EN FA IT RU TH TR.
    static const std::array<LanguageInfo, 8>& Languages();
    // Exact, case-sensitive code match; anything else (also "", "en") is "English".
    static QString DisplayNameForCode(const QString& code);
    static QString CodeForPosition(int position);           // "" outside 0..7
    static int PositionForDisplayName(const QString& name); // exact match; -1 when unknown

    // Names of the built-in tables (resource type "Unicode"), e.g. "ENGLISH".
    static QStringList ResourceNames();
    // Resource path of the table whose name equals displayName ignoring case; "" when none.
    static QString ResourcePath(const QString& displayName);

    // Replaces the content with the named built-in table. False, and the content left as it was,
    // when no table has that name.
    bool Load(const QString& displayName);
    void LoadFromUtf16(const QByteArray& bytes);
    void Clear();

    // Line `index`; "-------" when the index is negative or not less than LineCount().
    QString LangText(int index) const;
    // The same as 8-bit text (Latin-1; a character it lacks becomes '?'), same fallback.
    QByteArray LangTextAnsi(int index) const;
    // LangText(index) with its first "%u" replaced by `number` (the cylinder captions). The table
    // text is never used as a printf format, so a stray '%' in a table cannot do harm.
    QString LangTextWithNumber(int index, unsigned number) const;

    // Windows GDI character set from line 3: its decimal integer, else 1 (default charset).
    int Charset() const;
    int LineCount() const;

    static constexpr int kCharsetLine = 3;
    static constexpr int kDefaultCharset = 1;
    static inline const QString kMissingText = QStringLiteral("-------");

private:
    QStringList lines;
};
