#pragma once

#include "app/dialog_translation.h"
#include "app/lang/language_table.h"
#include "app/message_presenter.h"
#include "app/tform1_seams.h"
#include "pages/page_context.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class Tecu;
class Tmsgdlg;
class QtFileChooser;
class StatusPanels;
class QTabWidget;
class CylinderStrip;
class StatusPage;
class GraphicPage;
class SensorsPage;
class OptionsPage;
class CalibrationPage;
class InjectorTestPage;
class ProgramSettingsPanel;
class EcuEventSink;

// The main window: owns the link for its whole life, the language table and the message dialog;
// the single subscriber of every link event, handing each value on to the strip and the pages.
class TForm1 : public QMainWindow, private MessagePresenter {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "ORVANTO ECU SETUP   (Ver:1.10) ";
    static constexpr int kWidth = 863;
    static constexpr int kHeight = 637;
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 600;
    static constexpr int kFontPixels = 13;

    explicit TForm1(TForm1Seams seams = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    void FormShow();
    void FormClose();
    void BindEvents();
    void ApplyLanguage(const QString& displayName);
    // Answers true when the key was one of the window's function keys and is used up.
    bool FormKeyDown(int key);
    QString LangText(int index) const { return languageTable.LangText(index); }
    void ShowModalMessage(const QString& message, const QString& buttonCaption) override;

    // --- link event handlers ---
    void ShowRpm(int32_t v);
    void ShowRpmPin(int32_t v);
    void ShowInjectionTime(int cylinder, int32_t v);
    void ShowCylinderStatus(int32_t v);
    void ShowFuelMode(int32_t v);
    void ShowLambda(int32_t v);
    void ShowSwitchTemperature(int32_t v);
    void ShowReducerTemperature(int32_t v);
    void ShowTankSensor(int32_t v);
    void ShowRpmDivider(int32_t v);
    void ShowTankMax(int32_t v);
    void ShowTankMin(int32_t v);
    void ShowBaseCorrection(int32_t v);
    void ShowInjectorProtection(int32_t v);
    void ShowLinkLost();
    void ShowConnected();
    void ShowPortLost();
    void ShowPortReopened();
    void ShowLinkStateMissedWhileUnbound();
    void ShowEngineMap();
    void ShowCalibrationProgress(int32_t step, int32_t count, int32_t code);
    void ShowInjectorTest(int32_t v);
    void ShowGasInjectors(int32_t v);
    void ShowGasPressure(int32_t v);
    void ShowMinGasPressure(int32_t v);
    void ShowMapSensor(int32_t v);
    void ShowFastChange(int32_t v);
    void ShowSwitchRpm(int32_t v);

    // Shown pages that catch up on the values they skipped while hidden.
    void PageShown(int index);
    // The INI file beside the executable, or the one the seams name.
    QString IniPath() const;

    Tecu* ecu = nullptr;
    LanguageTable languageTable;
    int calSens = 0;
    Tmsgdlg* msgdlg = nullptr;
    PageContext context;
    TForm1Seams seams;

    StatusPanels* sb;
    CylinderStrip* VrBlotter1;
    QWidget* VrBlotter2;
    QTabWidget* PageControl1;
    ProgramSettingsPanel* VrBlotter3;
    StatusPage* tsdurum;
    GraphicPage* TabSheet2;
    SensorsPage* ts1;
    OptionsPage* ts2;
    CalibrationPage* ts3;
    InjectorTestPage* ts4;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildFrame();
    void BuildPages();
    template <class... Params, class... Args>
    void ForEachSink(void (EcuEventSink::*handler)(Params...), Args... args);
    void WaitWhile(const std::function<bool()>& keepWaiting);
    // The window's size, place and maximised state between runs, in a file beside the INI.
    QString PlacementPath() const;
    void RestorePlacement();
    void KeepPlacement();
    void Sleep(int ms);

    std::vector<EcuEventSink*> sinks;
    std::unique_ptr<QtFileChooser> fileDialogs;
    DialogTranslation dialogTranslation;
    bool shown = false;
    bool closed = false;
};
