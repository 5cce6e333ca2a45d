#pragma once

#include "files/ecu_settings_record.h"
#include "files/upload_dialog_seams.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <functional>

class Tecu;
class MessagePresenter;
class FileCopyAnimation;
class QLabel;
class QProgressBar;
class QPushButton;

// The modal dialog that writes a verified settings record into the ECU, one command per setting,
// waiting for the ECU after each, then the map, then live streaming again; it closes with the OK result
// only when the ECU then reports that it holds the file. A fault of the line ends it at once.
class TForm7 : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "ORVANTO ECU SETUP";
    static constexpr int kClientWidth = 431;
    static constexpr int kClientHeight = 240;
    static constexpr int kBarMax = 29;
    static constexpr int kFirstTickMs = 1000;
    static constexpr int kSettleRounds = 10;
    static constexpr int kPollMs = 10;
    static constexpr int kBusyPollLimit = 1000; // about ten seconds of a busy ECU
    static constexpr int kMapByteMs = 100;
    // How long the ECU has to report back what it holds after the upload: as long as the link itself
    // waits for a report before it calls the ECU lost.
    static constexpr uint32_t kReadbackTicks = 100;

    TForm7(Tecu& link, MessagePresenter& messages, std::function<QString(int)> langText,
           QWidget* parent = nullptr, UploadDialogSeams seams = {});

    void FormCreate();
    // Lends the record for the life of the modal dialog; returns when the dialog has closed.
    void UploadSettings(const EcuSettingsRecord& record);
    void ttTimer();
    // False when the ECU stayed busy for too long, or the line failed.
    bool WaitForEcu();
    // Cancel, Esc and the close box end the dialog only before the upload has started.
    void reject() override;

    FileCopyAnimation* Animate1;
    QLabel* Label1;
    QProgressBar* pr;
    QPushButton* Btn1;
    QTimer tt;

    const EcuSettingsRecord* settings = nullptr;
    Tecu& ecu;

private:
    bool RunSequence();
    bool LineFailed() const;
    bool EcuHoldsTheFile();
    void CopyMap();
    void StepBar();
    void Sleep(int ms);
    void ProcessEvents();

    MessagePresenter& messages;
    std::function<QString(int)> LangText;
    UploadDialogSeams seams;
    bool running = false;
    uint32_t lineFaultsAtOpen = 0;
};
