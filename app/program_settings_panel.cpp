#include "app/program_settings_panel.h"

#include "app/lang/language_table.h"
#include "app/message_dialog.h"
#include "app/program_settings.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "ecu/com_port_names.h"
#include "ecu/tecu.h"
#include "pages/cylinder_strip.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {
constexpr int kGroupWidth = 617;
constexpr int kGroupHeight = 457;
constexpr int kGroupStretch = 1000; // the group takes the room up to its size, the margins the rest
constexpr int kListWidth = 145;
constexpr int kBarWidth = 150;
constexpr int kBarHeight = 45;
constexpr int kButtonWidth = 169;
constexpr int kButtonHeight = 41;
constexpr int kGroupGap = 24; // between the three settings and before Close
constexpr int kFinishCaption = 70;

template <class Widget> Widget* Named(const char* name, QWidget* parent) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* CentredLabel(const char* name, QWidget* parent) {
    auto* label = Named<QLabel>(name, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

ProgramSettingsPanel::ProgramSettingsPanel(TForm1& mainWindow, QWidget* parent)
    : QWidget(parent), window(mainWindow) {
    setObjectName(QStringLiteral("VrBlotter3"));
    GroupBox9 = Named<QGroupBox>("GroupBox9", this);
    // Its full size where there is room; narrower beside the strip at 800 pixels rather than cut.
    GroupBox9->setMaximumSize(kGroupWidth, kGroupHeight);
    GroupBox9->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QGridLayout(this);
    layout->addWidget(GroupBox9, 1, 1);
    for (int edge : {0, 2}) {
        layout->setRowStretch(edge, 1);
        layout->setColumnStretch(edge, 1);
    }
    layout->setRowStretch(1, kGroupStretch);
    layout->setColumnStretch(1, kGroupStretch);
    BuildControls();
    connect(Button20, &QPushButton::clicked, this, &ProgramSettingsPanel::Button20Click);
    // Only a pick by the user: selecting the loaded language on opening must not reload it.
    connect(langcombo, &QComboBox::activated, this, &ProgramSettingsPanel::langcomboChange);
}

void ProgramSettingsPanel::BuildControls() {
    Label15 = CentredLabel("Label15", GroupBox9);
    combo = Named<QComboBox>("combo", GroupBox9);
    combo->setFixedWidth(kListWidth);
    Label50 = CentredLabel("Label50", GroupBox9);
    Label49 = Named<QLabel>("Label49", GroupBox9);
    // Absolute: a label would turn its alignment round for Arabic or Farsi text and leave the bar.
    Label49->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    calbol = Named<QSlider>("calbol", GroupBox9);
    calbol->setOrientation(Qt::Horizontal);
    calbol->setRange(kMinSensitivity, kMaxSensitivity);
    calbol->setTickPosition(QSlider::TicksBelow);
    calbol->setTickInterval(1);
    calbol->setPageStep(1);
    calbol->setFixedSize(kBarWidth, kBarHeight);
    Label52 = Named<QLabel>("Label52", GroupBox9);
    Label52->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    Label53 = CentredLabel("Label53", GroupBox9);
    langcombo = Named<QComboBox>("langcombo", GroupBox9);
    langcombo->setFixedWidth(kListWidth);
    for (const LanguageInfo& language : LanguageTable::Languages())
        langcombo->addItem(QString::fromLatin1(language.displayName));
    Button20 = Named<QPushButton>("Button20", GroupBox9);
    Button20->setFixedSize(kButtonWidth, kButtonHeight);

    // The bar stays in the middle; its labels end and start at its two ends.
    auto* sensitivity = new QGridLayout;
    sensitivity->setHorizontalSpacing(0);
    sensitivity->addWidget(Label49, 0, 0);
    sensitivity->addWidget(calbol, 0, 1);
    sensitivity->addWidget(Label52, 0, 2);
    sensitivity->setColumnStretch(0, 1);
    sensitivity->setColumnStretch(2, 1);

    auto* column = new QVBoxLayout(GroupBox9);
    column->addStretch(1);
    column->addWidget(Label15);
    column->addWidget(combo, 0, Qt::AlignHCenter);
    column->addSpacing(kGroupGap);
    column->addWidget(Label50);
    column->addLayout(sensitivity);
    column->addSpacing(kGroupGap);
    column->addWidget(Label53);
    column->addWidget(langcombo, 0, Qt::AlignHCenter);
    column->addSpacing(kGroupGap);
    column->addWidget(Button20, 0, Qt::AlignHCenter);
    column->addStretch(1);
}

void ProgramSettingsPanel::ShowPanel(bool open) {
    window.VrBlotter2->setVisible(!open);
    setVisible(open);
    window.VrBlotter1->Button17->setEnabled(!open);
}

void ProgramSettingsPanel::Button17Click() {
    if (!window.ecu || iniFile)
        return;
    ShowPanel(true);
    iniFile = std::make_unique<IniFile>(window.IniPath());
    RebuildPortList();
    PreselectPort();
    // Opening the panel while the link's port is closed moves the link to the first port found; the
    // outcome shows only when the panel is closed.
    if (const int n = ComPortNames::PortNumberFromText(combo->currentText()); n != window.ecu->PortNumber())
        MoveLinkTo(n);
    calbol->setValue(window.calSens);
    langcombo->setCurrentIndex(
        langcombo->findText(QString::fromLatin1(window.languageTable.LangTextAnsi(0))));
}

void ProgramSettingsPanel::RebuildPortList() {
    combo->clear();
    SerialPort& port = window.ecu->Port();
    for (int n = 0; n <= kLastPortNumber; ++n) {
        if (!port.isAvailable(n))
            continue;
        combo->addItem(ComPortNames::PortText(n));
        combo->setItemData(combo->count() - 1, ComPortNames::DevicePath(n), Qt::ToolTipRole);
    }
}

void ProgramSettingsPanel::PreselectPort() {
    const Tecu& ecu = *window.ecu;
    if (ecu.IsPortOpen())
        combo->setCurrentIndex(combo->findText(ComPortNames::PortText(ecu.PortNumber())));
    else
        combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
}

bool ProgramSettingsPanel::MoveLinkTo(int n) {
    Tecu& ecu = *window.ecu;
    ecu.Disconnect();
    ecu.SetPort(n);
    return ecu.OpenPort();
}

void ProgramSettingsPanel::ShowPortOutcome(bool opened) {
    Tecu& ecu = *window.ecu;
    // After the port question the link may sit on a port the list did not name: show that one.
    window.sb->SetPanelText(0, opened ? ComPortNames::PortText(ecu.PortNumber()) : QStringLiteral("---"));
    window.sb->Panel(0)->setToolTip(QString::fromStdString(ecu.Port().lastError()));
}

void ProgramSettingsPanel::Button20Click() {
    if (!window.ecu || !iniFile)
        return;
    ProgramSettings::Values values;
    values.comport = combo->currentText();
    values.calSens = calbol->value();
    values.language = LanguageTable::CodeForPosition(langcombo->currentIndex());
    // Nothing else changes when the file cannot be written: the panel stays open for another try.
    if (!ProgramSettings::Write(*iniFile, values)) {
        window.ShowModalMessage(QStringLiteral("Unable to write to %1").arg(iniFile->Path()),
                                window.LangText(kFinishCaption));
        return;
    }
    Tecu& ecu = *window.ecu;
    window.calSens = values.calSens;
    ecu.SetCalibrationSensitivity(static_cast<uint32_t>(window.calSens));

    const int n = ComPortNames::PortNumberFromText(values.comport);
    if (n != ecu.PortNumber())
        ShowPortOutcome(MoveLinkTo(n));

    ShowPanel(false);
    iniFile.reset();
    ecu.RefreshAll();
    // The message dialog follows a change of language.
    if (window.msgdlg) {
        window.msgdlg->setFont(window.font());
        window.msgdlg->Button1->setText(window.LangText(kFinishCaption));
    }
}

void ProgramSettingsPanel::langcomboChange(int position) {
    const auto& languages = LanguageTable::Languages();
    if (position < 0 || position >= static_cast<int>(languages.size()))
        return;
    window.ApplyLanguage(QString::fromLatin1(languages[static_cast<size_t>(position)].displayName));
    // The lambda word is not a caption: its owner rewrites it in the new language now.
    window.VrBlotter1->ShowLambdaWord();
}
