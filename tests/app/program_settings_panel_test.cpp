#include "tests/support/window_fixture.h"

#include "app/message_dialog.h"
#include "app/program_settings_panel.h"
#include "app/status_panels.h"
#include "ecu/com_port_names.h"
#include "pages/cylinder_strip.h"
#include "widgets/status_light.h"

#include <QDir>
#include <QFile>

namespace {

class SettingsPanel : public WindowFixture {
protected:
    ProgramSettingsPanel& Panel() { return *window->VrBlotter3; }
    void Open() { window->VrBlotter1->Button17->click(); }
    void Close() { Panel().Button20->click(); }
    QStringList PortList() {
        QStringList items;
        for (int i = 0; i < Panel().combo->count(); ++i)
            items << Panel().combo->itemText(i);
        return items;
    }
    QByteArray IniBytes() {
        QFile file(iniPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void ExpectOpen(bool open) {
        EXPECT_EQ(Panel().isHidden(), !open);
        EXPECT_EQ(window->VrBlotter2->isHidden(), open);
        EXPECT_EQ(window->VrBlotter1->Button17->isEnabled(), !open);
        EXPECT_EQ(Panel().OpenIniFile() != nullptr, open);
    }
};

TEST_F(SettingsPanel, LinkOnAListedPortIsSelectedAndCloseLeavesItAlone) {
    portAvailable = {3, 12};
    WriteIni("[Main]\r\nComport=COM12\r\n");
    CreateWindow();
    const int opens = fake->openCount;
    Open();
    ExpectOpen(true);
    EXPECT_EQ(PortList(), QStringList({"COM3", "COM12"}));
    EXPECT_EQ(Panel().combo->currentText(), QStringLiteral("COM12"));
    EXPECT_EQ(Panel().combo->itemData(0, Qt::ToolTipRole).toString(), ComPortNames::DevicePath(3));

    Close();
    ExpectOpen(false);
    EXPECT_TRUE(IniBytes().contains("Comport=COM12\r\n"));
    EXPECT_EQ(fake->openCount, opens);
    EXPECT_TRUE(fake->isOpen());
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("COM12"));
}

TEST_F(SettingsPanel, ClosedLinkMovesToTheFirstPortWhileOpeningWithoutShowingIt) {
    portAvailable = {3, 12};
    portOpens = false;
    WriteIni("[Main]\r\nComport=COM7\r\n");
    CreateWindow();
    ASSERT_EQ(window->sb->PanelText(0), QStringLiteral("COM ---"));
    fake->failOpen = false;

    Open();
    EXPECT_EQ(Panel().combo->currentText(), QStringLiteral("COM3"));
    EXPECT_EQ(window->ecu->PortNumber(), 3);
    EXPECT_TRUE(window->ecu->IsPortOpen());
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("COM ---"));

    const int opens = fake->openCount;
    Close();
    EXPECT_EQ(fake->openCount, opens);
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("COM ---"));
    EXPECT_TRUE(IniBytes().contains("Comport=COM3\r\n"));
}

TEST_F(SettingsPanel, ListIsRebuiltOnEveryOpeningFromPorts1To254) {
    portAvailable = {1, 254, 255};
    CreateWindow();
    Open();
    EXPECT_EQ(PortList(), QStringList({"COM1", "COM254"}));
    Close();
    fake->available = {1, 9};
    Open();
    EXPECT_EQ(PortList(), QStringList({"COM1", "COM9"}));
}

TEST_F(SettingsPanel, CloseWritesTheThreeKeysInOrderIntoANewFile) {
    CreateWindow();
    Open();
    Close();
    EXPECT_EQ(IniBytes(), QByteArray("[Main]\r\nComport=COM1\r\nCalSens=5\r\nLanguage=EN\r\n"));
}

TEST_F(SettingsPanel, CloseKeepsTheOtherLinesOfTheFile) {
    WriteIni("; fitter's note\r\n[Other]\r\nx=1\r\n[Main]\r\nLanguage=DE\r\nFoo=bar\r\n");
    CreateWindow();
    Open();
    Close();
    EXPECT_EQ(IniBytes(),
              QByteArray("; fitter's note\r\n[Other]\r\nx=1\r\n[Main]\r\nLanguage=DE\r\nFoo=bar\r\n"
                         "Comport=COM1\r\nCalSens=5\r\n"));
}

struct SensitivityCase {
    const char* name;
    QByteArray ini;
    int shown;  // calbol after opening
    int moveTo; // -1: left where it is
    QByteArray written;
    uint32_t link;
};

class Sensitivity : public SettingsPanel, public ::testing::WithParamInterface<SensitivityCase> {};

TEST_P(Sensitivity, BarShowsCalSensAndCloseWritesItsPosition) {
    const SensitivityCase& c = GetParam();
    WriteIni(c.ini);
    CreateWindow();
    Open();
    EXPECT_EQ(Panel().calbol->value(), c.shown);
    if (c.moveTo >= 0)
        Panel().calbol->setValue(c.moveTo);
    Close();
    EXPECT_TRUE(IniBytes().contains("CalSens=" + c.written + "\r\n")) << IniBytes().constData();
    EXPECT_EQ(window->calSens, c.written.toInt());
    EXPECT_EQ(window->ecu->calibrationSensitivity, c.link);
}

INSTANTIATE_TEST_SUITE_P(
    CalSens, Sensitivity,
    ::testing::Values(SensitivityCase{"ZeroActsAsOne", "[Main]\r\nCalSens=7\r\n", 7, 0, "0", 1},
                      SensitivityCase{"Unchanged", "[Main]\r\nCalSens=7\r\n", 7, -1, "7", 7},
                      SensitivityCase{"HexRead", "[Main]\r\nCalSens=0x0A\r\n", 10, -1, "10", 10},
                      SensitivityCase{"AboveRangeAtTheEnd", "[Main]\r\nCalSens=20\r\n", 10, -1, "10", 10},
                      SensitivityCase{"BelowRangeAtTheStart", "[Main]\r\nCalSens=-3\r\n", 0, -1, "0", 1}),
    [](const ::testing::TestParamInfo<SensitivityCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsPanel, PickedLanguageAppliesAtOnceAndIsStoredOnlyByClose) {
    WriteIni("[Main]\r\nLanguage=EN\r\n");
    CreateWindow();
    const QByteArray before = IniBytes();
    Open();
    EXPECT_EQ(Panel().langcombo->currentText(), QStringLiteral("English"));
    Panel().langcombo->setCurrentIndex(1);
    Panel().langcomboChange(1);
    EXPECT_EQ(window->LangText(0), QStringLiteral("Deutsch"));
    EXPECT_EQ(Panel().Button20->text(), window->LangText(37));
    EXPECT_NE(Panel().Button20->text(), QStringLiteral("Close"));
    EXPECT_EQ(window->VrBlotter1->Label25->text(),
              window->LangText(window->VrBlotter1->Lambda->Lit() ? 14 : 13));
    EXPECT_EQ(IniBytes(), before);

    CloseWindow();
    EXPECT_EQ(IniBytes(), before);
}

TEST_F(SettingsPanel, CloseStoresTheLanguageAndGivesTheMessageDialogFontAndCaption) {
    CreateWindow();
    window->FormShow();
    Open();
    Panel().langcombo->setCurrentIndex(5);
    Panel().langcomboChange(5);
    QFont changed = window->font();
    changed.setItalic(true);
    window->setFont(changed);
    ASSERT_NE(window->msgdlg->font(), changed);
    Close();
    EXPECT_TRUE(IniBytes().contains("Language=RU\r\n"));
    EXPECT_EQ(window->msgdlg->Button1->text(), window->LangText(70));
    EXPECT_EQ(window->msgdlg->font(), changed);

    Open();
    EXPECT_EQ(Panel().langcombo->currentText(), QStringLiteral("Russian"));
}

struct UnwritableCase {
    const char* name;
    QString iniName; // below the test folder
    bool isFolder;   // a folder where the file should be
};

class UnwritableIni : public SettingsPanel, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableIni, CloseShowsTheReasonAndChangesNothing) {
    const UnwritableCase& c = GetParam();
    portAvailable = {1, 3};
    iniPath = folder.filePath(c.iniName);
    if (c.isFolder) {
        ASSERT_TRUE(QDir().mkpath(iniPath));
    }
    CreateWindow();
    Open();
    Panel().combo->setCurrentIndex(1);
    Panel().calbol->setValue(2);
    const int opens = fake->openCount;
    Close();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message, QStringLiteral("Unable to write to ") + iniPath);
    EXPECT_EQ(messages.shown[0].button, window->LangText(70));
    ExpectOpen(true);
    EXPECT_EQ(fake->openCount, opens);
    EXPECT_EQ(window->ecu->PortNumber(), 1);
    EXPECT_EQ(window->calSens, 5);
    EXPECT_EQ(window->ecu->calibrationSensitivity, 5u);
    EXPECT_EQ(QFileInfo(iniPath).isDir(), c.isFolder);
}

INSTANTIATE_TEST_SUITE_P(Ini, UnwritableIni,
                         ::testing::Values(UnwritableCase{"FolderInItsPlace", "ecusetup.ini", true},
                                           UnwritableCase{"MissingFolder", "gone/ecusetup.ini", false}),
                         [](const ::testing::TestParamInfo<UnwritableCase>& info) {
                             return std::string(info.param.name);
                         });

struct MoveCase {
    const char* name;
    bool opens;
    QString panel0;
    bool tipShown;
};

class MoveOnClose : public SettingsPanel, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveOnClose, ChangedPortMovesTheLinkAndShowsTheOutcome) {
    const MoveCase& c = GetParam();
    portAvailable = {1, 12};
    CreateWindow();
    Connect();
    Open();
    Panel().combo->setCurrentIndex(1);
    fake->failOpen = !c.opens;
    fake->error = c.opens ? "" : "/dev/ttyS11: Permission denied";
    Close();
    EXPECT_EQ(window->ecu->PortNumber(), 12);
    EXPECT_EQ(window->ecu->IsPortOpen(), c.opens);
    EXPECT_EQ(fake->lastOpened, 12);
    EXPECT_EQ(window->sb->PanelText(0), c.panel0);
    EXPECT_EQ(window->sb->Panel(0)->toolTip().contains("Permission denied"), c.tipShown);
    // The ECU is told to stop streaming before its port closes.
    const std::vector<uint8_t> written = Written();
    EXPECT_NE(std::find(written.begin(), written.end(), uint8_t{'x'}), written.end());
    ExpectOpen(false);
}

INSTANTIATE_TEST_SUITE_P(Port, MoveOnClose,
                         ::testing::Values(MoveCase{"Opens", true, "COM12", false},
                                           MoveCase{"Fails", false, "---", true}),
                         [](const ::testing::TestParamInfo<MoveCase>& info) {
                             return std::string(info.param.name);
                         });

struct QuestionCase {
    const char* name;
    int answer;
    bool openAfterOpening;
    int portAfterOpening;
    int questionsAfterClose;
    QString panel0AfterClose;
};

class EmptyPortList : public SettingsPanel, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(EmptyPortList, PortZeroAsksTheFitter) {
    const QuestionCase& c = GetParam();
    portAvailable = {};
    CreateWindow();
    ASSERT_TRUE(fake->isOpen()); // COM1 of the missing INI
    portAnswer = c.answer;
    Open();
    EXPECT_EQ(Panel().combo->count(), 0);
    EXPECT_EQ(Panel().combo->currentIndex(), -1);
    EXPECT_EQ(portQuestions, 1);
    EXPECT_EQ(window->ecu->IsPortOpen(), c.openAfterOpening);
    EXPECT_EQ(window->ecu->PortNumber(), c.portAfterOpening);
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("COM1"));

    Close();
    EXPECT_TRUE(IniBytes().contains("Comport=\r\n"));
    EXPECT_EQ(portQuestions, c.questionsAfterClose);
    EXPECT_EQ(window->sb->PanelText(0), c.panel0AfterClose);
    ExpectOpen(false);
}

INSTANTIATE_TEST_SUITE_P(Answer, EmptyPortList,
                         ::testing::Values(QuestionCase{"Ok", 5, true, 5, 2, "COM5"},
                                           QuestionCase{"Cancel", 0, false, 0, 1, "COM1"}),
                         [](const ::testing::TestParamInfo<QuestionCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SettingsPanel, PortTextWithoutComAsksAtStart) {
    WriteIni("[Main]\r\nComport=ttyUSB0\r\n");
    for (const int answer : {4, 0}) {
        SCOPED_TRACE(answer);
        portAnswer = answer;
        portQuestions = 0;
        CreateWindow();
        EXPECT_EQ(portQuestions, 1);
        EXPECT_EQ(window->ecu->IsPortOpen(), answer != 0);
        EXPECT_EQ(window->ecu->PortNumber(), answer);
        EXPECT_EQ(window->sb->PanelText(0), answer ? QStringLiteral("ttyUSB0") : QStringLiteral("COM ---"));
        CloseWindow();
    }
}

TEST_F(SettingsPanel, ClosingTheWindowWithThePanelOpenWritesNothing) {
    WriteIni("[Main]\r\nComport=COM1\r\nCalSens=5\r\n");
    CreateWindow();
    const QByteArray before = IniBytes();
    Open();
    Panel().calbol->setValue(9);
    window->FormClose();
    EXPECT_EQ(Panel().OpenIniFile(), nullptr);
    EXPECT_EQ(IniBytes(), before);
}

TEST_F(SettingsPanel, StripStaysUsableWhileThePanelIsOpen) {
    CreateWindow();
    Connect();
    Open();
    window->VrBlotter1->Button3->click();
    EXPECT_FALSE(Written().empty());
}

} // namespace
