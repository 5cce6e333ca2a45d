#include "app/caption_table.h"

#include "app/lang/language_table.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

const CaptionRow kRows[] = {
    // left strip
    {"Label9", 12, "", 0},
    {"Label10", 11, "", 0},
    {"Label11", 54, "", 0},
    {"Label19", 72, "", 0},
    {"Label22", 73, "", 0},
    {"Label24", 53, "", 0},
    {"TntButton1", 12, "F2 ", 0},
    {"Button17", 26, "", 0},
    {"Button3", 29, "F4 ", 0},
    {"Button2", 27, "F5 ", 0},
    {"TntButton2", 28, "", 0},
    {"TntButton3", 30, "", 0},
    // status bar
    {"sbPanel1", 15, "", 0},
    // page tabs
    {"tsdurum", 51, "", 0},
    {"TabSheet2", 75, "", 0},
    {"ts1", 76, "", 0},
    {"ts2", 77, "", 0},
    {"ts3", 50, "", 0},
    {"ts4", 25, "", 0},
    // Status page
    {"GroupBox10", 54, "", 0},
    {"GroupBox11", 78, "", 0},
    {"GroupBox12", 72, "", 0},
    // Graphic page
    {"ch1", 54, "", 0},
    {"ch2", 79, "", 0},
    {"ch3", 53, "", 0},
    {"ch4", 80, "", 0},
    {"Button18", 83, "", 0},
    {"Button19", 18, "", 0},
    {"Button22", 85, "", 0},
    // Sensors page
    {"GroupBox6", 54, "", 0},
    {"Label21", 87, "", 0},
    {"Label17", 43, "", 0},
    {"GroupBox7", 86, "", 0},
    {"Label16", 60, "", 0},
    {"GroupBox8", 89, "", 0},
    {"Label18", 90, "", 0},
    {"Label46", 92, "", 0},
    {"Label26", 91, "", 0},
    {"Label27", 93, "", 0},
    // Options page
    {"Label28", 41, "", 1},
    {"Label29", 41, "", 2},
    {"Label30", 41, "", 3},
    {"Label31", 41, "", 4},
    {"Label32", 41, "", 5},
    {"Label33", 41, "", 6},
    {"Label34", 41, "", 7},
    {"Label35", 41, "", 8},
    {"Label36", 42, "", 0},
    {"Label37", 62, "", 0},
    {"Label38", 58, "", 0},
    {"Label39", 96, "", 0},
    {"Label41", 97, "", 0},
    // Calibration page
    {"GroupBox3", 98, "", 0},
    {"startbtn", 99, "", 0},
    {"pausebtn", 17, "", 0},
    {"stopbtn", 82, "", 0},
    {"GroupBox2", 100, "", 0},
    {"GroupBox1", 23, "", 0},
    {"yukari", 39, "F8 ", 0},
    {"asagi", 40, "F7 ", 0},
    {"Button16", 38, "", 0},
    // Injector Test page
    {"GroupBox4", 101, "", 0},
    {"GroupBox5", 102, "", 0},
    // program-settings panel
    {"GroupBox9", 26, "", 0},
    {"Label15", 32, "", 0},
    {"Label49", 35, "", 0},
    {"Label52", 36, "", 0},
    {"Label50", 34, "", 0},
    {"Label53", 33, "", 0},
    {"Button20", 37, "", 0},
};

// A page of a tab control: its caption is the tab's text.
QTabWidget* TabsOf(const QWidget* page) {
    const QWidget* stack = page->parentWidget();
    return stack && qobject_cast<const QStackedWidget*>(stack)
               ? qobject_cast<QTabWidget*>(stack->parentWidget())
               : nullptr;
}

void SetCaption(QObject* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(text);
    else if (auto* page = qobject_cast<QWidget*>(control); page && TabsOf(page))
        TabsOf(page)->setTabText(TabsOf(page)->indexOf(page), text);
}

} // namespace

namespace CaptionTable {

const CaptionRow* begin() {
    return std::begin(kRows);
}
const CaptionRow* end() {
    return std::end(kRows);
}

QString CaptionFor(const CaptionRow& row, const LanguageTable& language) {
    const QString text =
        row.number ? language.LangTextWithNumber(row.index, row.number) : language.LangText(row.index);
    return QString::fromLatin1(row.prefix) + text;
}

void Apply(QObject& root, const LanguageTable& language) {
    for (const CaptionRow& row : kRows) {
        if (QObject* control = root.findChild<QObject*>(QString::fromLatin1(row.control)))
            SetCaption(control, CaptionFor(row, language));
    }
}

QString CurrentCaption(const QObject& root, const char* name) {
    QObject* control = root.findChild<QObject*>(QString::fromLatin1(name));
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* page = qobject_cast<QWidget*>(control); page && TabsOf(page))
        return TabsOf(page)->tabText(TabsOf(page)->indexOf(page));
    return {};
}

} // namespace CaptionTable
