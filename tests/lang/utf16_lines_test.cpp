#include "app/lang/language_table.h"
#include "app/lang/utf16_lines.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace {

QByteArray Utf16Le(const QString& text, bool withBom = true) {
    QByteArray bytes;
    if (withBom) {
        bytes.append("\xFF\xFE", 2);
    }
    for (const QChar c : text) {
        char unit[2];
        qToLittleEndian<quint16>(c.unicode(), unit);
        bytes.append(unit, 2);
    }
    return bytes;
}

struct SplitCase {
    const char* what;
    QString text;
    bool withBom;
    QStringList lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.what;
}

class Utf16LinesSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Utf16LinesSplit, YieldsTheLines) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(Utf16Lines::SplitBytes(Utf16Le(c.text, c.withBom)), c.lines) << c.what;
}

const QString kSep(QChar(0x2028));

INSTANTIATE_TEST_SUITE_P(
    Breaks, Utf16LinesSplit,
    ::testing::Values(
        SplitCase{"no bytes", "", false, {}}, SplitCase{"only the mark", "", true, {}},
        SplitCase{"no final break", "a\r\nb", true, {"a", "b"}},
        SplitCase{"final CR LF adds no line", "a\r\nb\r\n", true, {"a", "b"}},
        SplitCase{"CR alone", "a\rb\r", true, {"a", "b"}}, SplitCase{"LF alone", "a\nb\n", true, {"a", "b"}},
        SplitCase{"LF CR is two breaks", "a\n\rb", true, {"a", "", "b"}},
        SplitCase{"line separator", "a" + kSep + "b" + kSep, true, {"a", "b"}},
        SplitCase{"empty lines kept", "a\r\n\r\n\r\n", true, {"a", "", ""}},
        SplitCase{"single break", "\r\n", true, {""}},
        SplitCase{"blanks kept", " TR \r\n  \r\n", true, {" TR ", "  "}},
        SplitCase{"no mark", "x\r\ny\r\n", false, {"x", "y"}},
        SplitCase{
            "mark only at the start", QString(QChar(0xFEFF)) + "a", true, {QString(QChar(0xFEFF)) + "a"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Utf16Lines, OddTrailingByteIsIgnored) {
    QByteArray bytes = Utf16Le("ab\r\n");
    bytes.append('\x41');
    EXPECT_EQ(Utf16Lines::SplitBytes(bytes), QStringList({"ab"}));
}

TEST(Utf16Lines, DecodesLittleEndianAboveLatin1) {
    const QString text = QString::fromUtf8("Цилиндр گاز หัวฉีด");
    EXPECT_EQ(Utf16Lines::DecodeLittleEndian(Utf16Le(text)), text);
}

struct CharsetCase {
    const char* line3;
    int charset;
};

void PrintTo(const CharsetCase& c, std::ostream* os) {
    *os << '"' << c.line3 << '"';
}

class TableCharset : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(TableCharset, ComesFromLineThree) {
    const CharsetCase& c = GetParam();
    LanguageTable table;
    table.LoadFromUtf16(Utf16Le(QStringLiteral("X\r\nXX\r\nFont\r\n") + QString::fromUtf8(c.line3) + "\r\n"));
    EXPECT_EQ(table.Charset(), c.charset) << '"' << c.line3 << '"';
}

INSTANTIATE_TEST_SUITE_P(Lines, TableCharset,
                         ::testing::Values(CharsetCase{"162", 162}, CharsetCase{"204", 204},
                                           CharsetCase{"0", 0}, CharsetCase{"Charset ", 1},
                                           CharsetCase{"", 1}, CharsetCase{"162 ", 1}, CharsetCase{" 162", 1},
                                           CharsetCase{"16x", 1}, CharsetCase{"99999999999", 1},
                                           CharsetCase{"١٦٢", 1}));

TEST(TableCharset, ShortTableFallsBackToDefault) {
    LanguageTable table;
    table.LoadFromUtf16(Utf16Le("Name\r\nNM\r\nFont\r\n"));
    EXPECT_EQ(table.Charset(), 1);
    table.Clear();
    EXPECT_EQ(table.Charset(), 1);
}

TEST(LangText, FallbackOutsideTheTable) {
    LanguageTable table;
    EXPECT_EQ(table.LangText(0), "-------");
    table.LoadFromUtf16(Utf16Le("a\r\nb\r\n"));
    ASSERT_EQ(table.LineCount(), 2);
    for (const int index : {-1, 2, 1000}) {
        EXPECT_EQ(table.LangText(index), "-------") << index;
        EXPECT_EQ(table.LangTextAnsi(index), "-------") << index;
    }
    EXPECT_EQ(table.LangText(1), "b");
}

TEST(LangText, AnsiReplacesWhatLatin1Lacks) {
    LanguageTable table;
    table.LoadFromUtf16(Utf16Le(QString::fromUtf8("60°C\r\nБак\r\n")));
    EXPECT_EQ(table.LangTextAnsi(0), QByteArray("60\xB0"
                                                "C"));
    EXPECT_EQ(table.LangTextAnsi(1), "???");
}

TEST(LangText, NumberReplacesOnlyTheFirstPlaceholder) {
    LanguageTable table;
    table.LoadFromUtf16(Utf16Le("Cylinder %u Gas\r\n%u and %u\r\nno mark %d %s\r\n"));
    EXPECT_EQ(table.LangTextWithNumber(0, 7), "Cylinder 7 Gas");
    EXPECT_EQ(table.LangTextWithNumber(1, 8), "8 and %u");
    EXPECT_EQ(table.LangTextWithNumber(2, 1), "no mark %d %s");
    EXPECT_EQ(table.LangTextWithNumber(5, 1), "-------");
}

} // namespace
