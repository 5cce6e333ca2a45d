#pragma once

#include <QGroupBox>
#include <QWidget>

// The program-settings panel: shown instead of the page area while the program's own settings are
// edited.
class ProgramSettingsPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProgramSettingsPanel(QWidget* parent = nullptr);

    QGroupBox* GroupBox9;
};
