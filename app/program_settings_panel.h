#pragma once

#include "app/ini_file.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QWidget>

#include <memory>

class TForm1;

// The program-settings panel: shown instead of the page area while the program's own settings (port,
// calibration sensitivity, language) are edited. The INI file is open exactly while it is shown and is
// written only by its Close button.
class ProgramSettingsPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLastPortNumber = 254;
    static constexpr int kMinSensitivity = 0;
    static constexpr int kMaxSensitivity = 10;

    explicit ProgramSettingsPanel(TForm1& window, QWidget* parent = nullptr);

    // The strip's "Program Settings" button: opens the panel.
    void Button17Click();
    // "Close": stores the settings, moves the link to a changed port and closes the panel.
    void Button20Click();
    // A language picked in the list takes effect at once; Close stores it.
    void langcomboChange(int position);
    // The window closes with the panel open: the edits are dropped, nothing is written.
    void FreeIniFile() { iniFile.reset(); }
    const IniFile* OpenIniFile() const { return iniFile.get(); }

    QGroupBox* GroupBox9;
    QLabel* Label15;
    QComboBox* combo;
    QLabel* Label50;
    QLabel* Label49;
    QSlider* calbol;
    QLabel* Label52;
    QLabel* Label53;
    QComboBox* langcombo;
    QPushButton* Button20;

private:
    void BuildControls();
    void RebuildPortList();
    void PreselectPort();
    // Answers whether the open on port n succeeded.
    bool MoveLinkTo(int n);
    void ShowPortOutcome(bool opened);
    void ShowPanel(bool open);

    TForm1& window;
    std::unique_ptr<IniFile> iniFile;
};
