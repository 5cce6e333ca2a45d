#pragma once

#include <QLabel>
#include <QStatusBar>

#include <array>

// The status bar `sb`: four fixed-width panels, text centred (port, link, version, empty).
class StatusPanels : public QStatusBar {
    Q_OBJECT

public:
    static constexpr int kPanels = 4;
    static constexpr std::array<int, kPanels> kWidths{70, 250, 150, 50};

    explicit StatusPanels(QWidget* parent = nullptr);

    void SetPanelText(int panel, const QString& text);
    QString PanelText(int panel) const;
    QLabel* Panel(int panel) const { return panels.at(panel); }

private:
    std::array<QLabel*, kPanels> panels{};
};
