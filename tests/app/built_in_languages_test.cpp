// Each built-in language as a fitter sees it: real glyphs for every character, every caption on its
// control and whole at the window's size and at its minimum size, Qt's dialogs in the same language.
#include "tests/support/window_fixture.h"

#include "app/caption_table.h"
#include "app/program_settings_panel.h"
#include "pages/cylinder_strip.h"
#include "widgets/status_light.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTextLayout>

#include <set>
#include <string>

namespace {

struct Language {
    const char* code;
    const char* displayName;
    bool qtTranslatesDialogs; // Debian's Qt translations carry this language
};

void PrintTo(const Language& language, std::ostream* os) {
    *os << language.displayName;
}

const Language kLanguages[] = {
    {"AR", "Arabic", true},   {"DE", "Deutsch", true}, {"EN", "English", false}, {"FA", "Farsian", true},
    {"IT", "Italiano", true}, {"RU", "Russian", true}, {"TH", "Thai", false},    {"TR", "Turkish", true},
};

// Captions that their page follows with a value (the RPM divider's).
const char* const kCaptionsWithValue[] = {"Label21"};

bool CarriesAValue(const CaptionRow& row) {
    return std::any_of(std::begin(kCaptionsWithValue), std::end(kCaptionsWithValue),
                       [&row](const char* name) { return qstrcmp(name, row.control) == 0; });
}

// The map editor's actions are shown on its buttons.
const std::pair<const char*, const char*> kActionButtons[] = {{"yukari", "BitBtn1"}, {"asagi", "BitBtn2"}};

// Where a caption is drawn, and the room its control gives it, in the control's coordinates.
struct CaptionPlace {
    QWidget* control = nullptr;
    QString text;
    QFont font;
    QRect room;
    Qt::Alignment alignment = Qt::AlignCenter;
};

QString RowName(const CaptionRow& row) {
    return QString::fromLatin1(row.control);
}

QWidget* ShowingWidget(QObject& root, const CaptionRow& row) {
    for (const auto& [action, button] : kActionButtons) {
        if (RowName(row) == QLatin1String(action))
            return root.findChild<QWidget*>(QString::fromLatin1(button));
    }
    return root.findChild<QWidget*>(RowName(row));
}

QTabWidget* TabsHolding(QWidget* page) {
    QWidget* stack = page->parentWidget();
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

QStyleOptionButton ButtonOption(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    return option;
}

QRect GroupTitleRect(const QGroupBox& group) {
    QStyleOptionGroupBox option;
    option.initFrom(&group);
    option.text = group.title();
    option.lineWidth = 1;
    option.textAlignment = group.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return group.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &group);
}

// The text's own size: a title's rectangle is as wide as its text, the other controls draw it inside
// a fixed room.
CaptionPlace PlaceOf(QWidget* control) {
    CaptionPlace place{control, {}, control->font(), {}};
    if (auto* label = qobject_cast<QLabel*>(control)) {
        place.text = label->text();
        place.room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                    -label->margin());
        place.alignment = label->alignment();
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        const QStyleOptionButton option = ButtonOption(*check);
        place.text = check->text();
        place.room = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        place.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        const QStyleOptionButton option = ButtonOption(*button);
        place.text = button->text();
        place.room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        place.text = group->title();
        place.room = group->rect();
    } else if (QTabWidget* tabs = TabsHolding(control)) {
        QTabBar* bar = tabs->tabBar();
        const int index = tabs->indexOf(control);
        place.control = bar;
        place.text = bar->tabText(index);
        place.font = bar->font();
        place.room = bar->tabRect(index);
    }
    return place;
}

QSize TextSize(const CaptionPlace& place) {
    return QFontMetrics(place.font).size(Qt::TextShowMnemonic, place.text);
}

// The part of the room the text takes: where a title is drawn, or the text placed in its room as the
// control aligns it (a label turns its alignment round for right-to-left text).
QRect TextRect(const CaptionPlace& place) {
    if (auto* group = qobject_cast<QGroupBox*>(place.control))
        return GroupTitleRect(*group);
    const bool textTurns = qobject_cast<QLabel*>(place.control) && place.text.isRightToLeft();
    return QStyle::alignedRect(textTurns ? Qt::RightToLeft : place.control->layoutDirection(),
                               place.alignment, TextSize(place), place.room);
}

class BuiltInLanguage : public WindowFixture, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        WriteIni(QByteArray("[Main]\r\nLanguage=") + GetParam().code + "\r\n");
        CreateWindow();
        window->show();
        Settle();
    }

    // Every view that shows captions: the six pages, then the program-settings panel.
    template <class Check> void ForEachView(Check check) {
        for (int page = 0; page < window->PageControl1->count(); ++page) {
            window->PageControl1->setCurrentIndex(page);
            Settle();
            check(window->PageControl1->tabText(page));
        }
        window->VrBlotter1->Button17->click();
        Settle();
        check(QStringLiteral("program settings"));
    }

    void Settle() { QApplication::processEvents(); }

    // Checks every caption that is on screen now; answers the rows it checked.
    std::set<std::string> ExpectShownCaptionsFit(const QString& view) {
        std::set<std::string> checked;
        for (auto row = CaptionTable::begin(); row != CaptionTable::end(); ++row) {
            QWidget* control = ShowingWidget(*window, *row);
            if (!control ||
                !(TabsHolding(control) ? TabsHolding(control)->isVisible() : control->isVisible()))
                continue;
            checked.insert(row->control);
            ExpectFits(PlaceOf(control), QStringLiteral("%1 on %2").arg(RowName(*row), view));
        }
        return checked;
    }

    void ExpectFits(const CaptionPlace& place, const QString& where) {
        ASSERT_NE(place.control, nullptr) << where.toStdString();
        const QRect text = TextRect(place);
        const std::string what = QStringLiteral("%1: \"%2\" needs %3 x %4, room %5 x %6 at %7,%8")
                                     .arg(where, place.text)
                                     .arg(text.width())
                                     .arg(text.height())
                                     .arg(place.room.width())
                                     .arg(place.room.height())
                                     .arg(place.room.x())
                                     .arg(place.room.y())
                                     .toStdString();
        EXPECT_TRUE(place.room.contains(text)) << what;
        // Nothing of it hidden by the parents or by the edge of the window.
        EXPECT_EQ(place.control->visibleRegion().intersected(text), QRegion(text)) << what << " (covered)";
    }

    void ExpectEveryCaptionFitsAt(QSize size) {
        window->resize(size);
        Settle();
        ASSERT_EQ(window->size(), size) << "the window cannot be made this small";
        std::set<std::string> checked;
        ForEachView([&](const QString& view) { checked.merge(ExpectShownCaptionsFit(view)); });
        for (auto row = CaptionTable::begin(); row != CaptionTable::end(); ++row)
            EXPECT_TRUE(checked.count(row->control)) << row->control << " was never on screen";
    }
};

TEST_P(BuiltInLanguage, EveryCharacterOfTheTableIsDrawnWithARealGlyph) {
    const LanguageTable& table = window->languageTable;
    ASSERT_EQ(table.LangText(0), QString::fromLatin1(GetParam().displayName));
    for (int index = 0; index < table.LineCount(); ++index) {
        const QString line = table.LangText(index);
        if (line.trimmed().isEmpty())
            continue;
        QTextLayout layout(line, window->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        for (const QGlyphRun& run : runs) {
            EXPECT_FALSE(run.glyphIndexes().contains(0))
                << "line " << index << " \"" << line.toStdString() << "\": a missing glyph in "
                << run.rawFont().familyName().toStdString();
        }
        for (char32_t c : line.toUcs4()) {
            if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Format)
                continue;
            const bool drawn = std::any_of(runs.begin(), runs.end(), [c](const QGlyphRun& run) {
                return run.rawFont().supportsCharacter(static_cast<uint>(c));
            });
            EXPECT_TRUE(drawn) << "line " << index << ": no font of the window has U+" << std::hex
                               << static_cast<unsigned>(c);
        }
    }
}

TEST_P(BuiltInLanguage, EveryCaptionReachesItsControlAndIsShownAsTheTableHasIt) {
    for (auto row = CaptionTable::begin(); row != CaptionTable::end(); ++row) {
        QWidget* control = ShowingWidget(*window, *row);
        ASSERT_NE(control, nullptr) << row->control << " is not in the window";
        const QString expected = CaptionTable::CaptionFor(*row, window->languageTable);
        EXPECT_FALSE(expected.trimmed().isEmpty()) << row->control;
        const QString shown = PlaceOf(control).text;
        if (CarriesAValue(*row))
            EXPECT_TRUE(shown.startsWith(expected)) << row->control << ": " << shown.toStdString();
        else
            EXPECT_EQ(shown, expected) << row->control;
    }
}

TEST_P(BuiltInLanguage, EveryCaptionFitsItsControlAtTheWindowsSize) {
    ExpectEveryCaptionFitsAt(QSize(TForm1::kWidth, TForm1::kHeight));
}

TEST_P(BuiltInLanguage, EveryCaptionFitsItsControlAtTheMinimumSize) {
    ExpectEveryCaptionFitsAt(QSize(TForm1::kMinWidth, TForm1::kMinHeight));
}

// Qt's Arabic and Farsi translations would mirror the window: the strip stays on the left, the pages
// keep their order.
TEST_P(BuiltInLanguage, TheWindowKeepsItsLayout) {
    EXPECT_EQ(window->VrBlotter1->x(), 0);
    EXPECT_GT(window->VrBlotter2->x(), window->VrBlotter1->x());
    QTabBar* tabs = window->PageControl1->tabBar();
    EXPECT_LT(tabs->tabRect(0).x(), tabs->tabRect(1).x());
}

// The first and last column of a label's drawn text, in its parent's coordinates.
std::pair<int, int> InkColumns(QWidget* label) {
    constexpr int kInk = 60; // darker than the background by this much
    const QImage image = label->grab().toImage();
    const int background = qGray(image.pixel(0, 0));
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) + kInk < background) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {label->x() + first, label->x() + last};
}

constexpr int kInkSlack = 4; // the blank beside a glyph

// The sensitivity words end at the bar's left end and start at its right end.
TEST_P(BuiltInLanguage, SensitivityWordsStandAtTheTrackBarsEnds) {
    window->VrBlotter1->Button17->click();
    Settle();
    ProgramSettingsPanel& panel = *window->VrBlotter3;
    const int barLeft = panel.calbol->x();
    const int barRight = panel.calbol->geometry().right();
    const int mostEnds = InkColumns(panel.Label49).second;
    const int lessStarts = InkColumns(panel.Label52).first;
    EXPECT_LE(mostEnds, barLeft);
    EXPECT_GE(mostEnds, barLeft - kInkSlack);
    EXPECT_GE(lessStarts, barRight);
    EXPECT_LE(lessStarts, barRight + kInkSlack);
}

// "Rich" or "Poor" ends above the lambda light's right end, as in the left-to-right languages.
TEST_P(BuiltInLanguage, TheLambdaWordStandsAtTheLightsRightEnd) {
    CylinderStrip& strip = *window->VrBlotter1;
    const int lightRight = strip.Lambda->geometry().right();
    const int wordEnds = InkColumns(strip.Label25).second;
    EXPECT_GE(wordEnds, lightRight - kInkSlack);
    EXPECT_LE(wordEnds, strip.Label25->geometry().right());
}

TEST_P(BuiltInLanguage, FileDialogsSpeakTheLanguageWhereQtHasIt) {
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("od"));
    ASSERT_NE(dialog, nullptr);
    auto* lookIn = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(lookIn->text() != QLatin1String("Look in:"), GetParam().qtTranslatesDialogs)
        << lookIn->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, BuiltInLanguage, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return std::string(info.param.displayName);
                         });

class LanguageSwitch : public WindowFixture {};

TEST_F(LanguageSwitch, FileDialogsFollowAPickedLanguageAtOnce) {
    CreateWindow();
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("sd"));
    ASSERT_NE(dialog, nullptr);
    const auto lookIn = [dialog] {
        return dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
    };
    const auto pick = [this](const char* name) {
        window->VrBlotter3->langcomboChange(LanguageTable::PositionForDisplayName(QString::fromLatin1(name)));
        // Qt hands the change of language to its windows as a posted event.
        QApplication::processEvents();
    };
    ASSERT_EQ(lookIn(), QStringLiteral("Look in:"));
    pick("Turkish");
    const QString turkish = lookIn();
    EXPECT_NE(turkish, QStringLiteral("Look in:"));
    pick("Deutsch");
    EXPECT_NE(lookIn(), turkish);
    EXPECT_NE(lookIn(), QStringLiteral("Look in:"));
    pick("Thai");
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));
    pick("Turkish");
    EXPECT_EQ(lookIn(), turkish);
    pick("English");
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));
}

} // namespace
