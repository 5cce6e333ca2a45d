#include "app/lang/language_table.h"

#include <gtest/gtest.h>

namespace {

constexpr int kFirstUiText = 10;
constexpr int kLastUiText = 103;

struct TableCase {
    const char* displayName;
    int position;
    int lineCount;
    const char* line1;
    const char* line2;
    const char* line3;
    int charset;
    bool blankPadding; // lines 4..9 hold one or two blanks instead of nothing
    const char* text41;
    const char* text70;
};

void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.displayName;
}

const TableCase kTables[] = {
    {"Arabic", 0, 104, "AR", "Font", "1", 1, false, "كباس ي %u أداة حقن الغاز", "تم"},
    {"Deutsch", 1, 104, "DE", "Font", "162", 162, false, "Zylinder %u von gas Injektion", "Ende"},
    {"English", 2, 104, "EN", "Font", "1", 1, false, "Cylinder %u Gas Injector", "Finish"},
    {"Farsian", 3, 104, "FA", "Font", "1", 1, false, "گاز انژکتور %u", "اتمام"},
    {"Italiano", 4, 104, "Ver:1.00", "Font    ", "Charset ", 1, false, "Il cilindro %u Iniettore di Gas",
     "Rivestimento"},
    {"Russian", 5, 104, "RU", "Font", "204", 204, false, "Цилиндр %u Газовой Инжектор", "конец"},
    {"Thai", 6, 104, "TH", "Font", "204", 204, false, "หัวฉีดแก๊สลูกสูบที่ %u", "เสร็จสิ้น"},
    {"Turkish", 7, 106, "TR ", "Font", "162", 162, true, "Silindir %u Gaz Enjektörü", "Tamam"},
};

LanguageTable Loaded(const char* displayName) {
    LanguageTable table;
    EXPECT_TRUE(table.Load(QString::fromUtf8(displayName))) << displayName;
    return table;
}

class BuiltinTable : public ::testing::TestWithParam<TableCase> {
protected:
    const TableCase& c = GetParam();
    LanguageTable table = Loaded(c.displayName);
    LanguageTable english = Loaded("English");
};

TEST_P(BuiltinTable, HeaderLines) {
    EXPECT_EQ(table.LineCount(), c.lineCount);
    EXPECT_EQ(table.LangText(0), QString::fromUtf8(c.displayName));
    EXPECT_EQ(table.LangText(1), QString::fromUtf8(c.line1));
    EXPECT_EQ(table.LangText(2), QString::fromUtf8(c.line2));
    EXPECT_EQ(table.LangText(3), QString::fromUtf8(c.line3));
    EXPECT_EQ(table.Charset(), c.charset);
    for (int index = 4; index < kFirstUiText; ++index) {
        const QString line = table.LangText(index);
        if (c.blankPadding) {
            EXPECT_TRUE(line == " " || line == "  ") << index << ": \"" << line.toStdString() << '"';
        } else {
            EXPECT_EQ(line, "") << index;
        }
    }
}

TEST_P(BuiltinTable, CylinderCaptionAndFinishButton) {
    EXPECT_EQ(table.LangText(41), QString::fromUtf8(c.text41));
    EXPECT_EQ(table.LangText(70), QString::fromUtf8(c.text70));
}

// The language list preselects the entry equal to the 8-bit display name of the loaded table.
TEST_P(BuiltinTable, DisplayNameFindsItsListPosition) {
    EXPECT_EQ(LanguageTable::PositionForDisplayName(QString::fromLatin1(table.LangTextAnsi(0))), c.position);
    EXPECT_EQ(LanguageTable::DisplayNameForCode(LanguageTable::CodeForPosition(c.position)),
              QString::fromUtf8(c.displayName));
}

TEST_P(BuiltinTable, EveryUiTextPresentWhereEnglishHasOne) {
    for (int index = kFirstUiText; index <= kLastUiText; ++index) {
        const QString text = table.LangText(index);
        const QString original = english.LangText(index);
        SCOPED_TRACE(index);
        EXPECT_NE(text, LanguageTable::kMissingText);
        if (!original.isEmpty()) {
            EXPECT_FALSE(text.trimmed().isEmpty());
        }
        EXPECT_EQ(text.endsWith(u' '), original.endsWith(u' '));
        EXPECT_EQ(text.startsWith(u' '), original.startsWith(u' '));
    }
}

// Index 41 is formatted with the cylinder number; a stray '%' anywhere else would show raw.
TEST_P(BuiltinTable, PlaceholderOnlyInTheCylinderCaption) {
    for (int index = 0; index < table.LineCount(); ++index) {
        const QString text = table.LangText(index);
        if (index == 41) {
            EXPECT_EQ(text.count(QStringLiteral("%u")), 1);
            EXPECT_EQ(text.count(u'%'), 1);
        } else {
            EXPECT_FALSE(text.contains(u'%')) << index;
        }
    }
}

TEST_P(BuiltinTable, CylinderCaptionsCarryTheirNumber) {
    for (unsigned cylinder = 1; cylinder <= 8; ++cylinder) {
        const QString caption = table.LangTextWithNumber(41, cylinder);
        EXPECT_EQ(caption, table.LangText(41).replace(QStringLiteral("%u"), QString::number(cylinder)));
        EXPECT_FALSE(caption.contains(u'%'));
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, BuiltinTable, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.displayName); });

TEST(BuiltinTables, OneResourcePerLanguageNamedInUpperCase) {
    QStringList expected;
    for (const LanguageInfo& language : LanguageTable::Languages()) {
        expected.append(QString::fromLatin1(language.displayName).toUpper());
    }
    EXPECT_EQ(LanguageTable::ResourceNames(), expected);
}

// Guards against shipping an untranslated copy of the English table.
TEST(BuiltinTables, MostTextsAreTranslated) {
    const LanguageTable english = Loaded("English");
    for (const TableCase& c : kTables) {
        if (QString::fromUtf8(c.displayName) == "English") {
            continue;
        }
        const LanguageTable table = Loaded(c.displayName);
        int sameAsEnglish = 0;
        for (int index = kFirstUiText; index <= kLastUiText; ++index) {
            sameAsEnglish += table.LangText(index) == english.LangText(index) ? 1 : 0;
        }
        EXPECT_LE(sameAsEnglish, (kLastUiText - kFirstUiText + 1) / 4) << c.displayName;
    }
}

TEST(BuiltinTables, EndOfEnglishTable) {
    const LanguageTable table = Loaded("English");
    EXPECT_EQ(table.LangText(103), "No Connection");
    EXPECT_EQ(table.LangText(104), "-------");
    EXPECT_EQ(table.LangText(47), QString::fromUtf8("Please hold whilst settings loading to ECU…"));
    EXPECT_EQ(table.LangText(96), QString::fromUtf8("Switching To Gas Temperature °C"));
}

TEST(BuiltinTables, EndOfTurkishTable) {
    const LanguageTable table = Loaded("Turkish");
    EXPECT_EQ(table.LangText(103), QString::fromUtf8("Bağlantı Yok"));
    EXPECT_EQ(table.LangText(104), "");
    EXPECT_EQ(table.LangText(105), "");
    EXPECT_EQ(table.LangText(106), "-------");
}

TEST(BuiltinTables, LoadFindsNamesIgnoringCase) {
    for (const char* name : {"english", "ENGLISH", "eNgLiSh"}) {
        LanguageTable table;
        ASSERT_TRUE(table.Load(name)) << name;
        EXPECT_EQ(table.LangText(0), "English") << name;
    }
}

TEST(BuiltinTables, UnknownNameLeavesTheTableAsItWas) {
    LanguageTable table = Loaded("Italiano");
    for (const char* name : {"", "Klingon", "English ", "ENGLISH.txt"}) {
        EXPECT_FALSE(table.Load(name)) << name;
        EXPECT_EQ(table.LangText(1), "Ver:1.00") << name;
    }
}

TEST(BuiltinTables, LoadReplacesTheWholeTable) {
    LanguageTable table = Loaded("Turkish");
    ASSERT_TRUE(table.Load("English"));
    EXPECT_EQ(table.LineCount(), 104);
    EXPECT_EQ(table.LangText(104), "-------");
    EXPECT_EQ(table.Charset(), 1);
}

} // namespace
