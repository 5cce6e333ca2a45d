#include "pages/settings_file_actions.h"

#include "app/file_chooser.h"
#include "app/message_presenter.h"
#include "ecu/tecu.h"
#include "files/ecu_settings_file.h"
#include "files/settings_backup.h"
#include "files/settings_upload_dialog.h"

#include <QDateTime>
#include <QWidget>

namespace {
constexpr int kFinishText = 70;
constexpr int kCommunicationErrorText = 49;
constexpr int kBackupFailedText = 19;

FileDialogRequest SaveRequest() {
    return {QStringLiteral("Ecu files|*.ECU"), QStringLiteral("ECU"), true};
}

FileDialogRequest OpenRequest() {
    return {QStringLiteral("Ecu Files|*.ECU"), QStringLiteral("ECU"), false};
}
} // namespace

SettingsFileActions::SettingsFileActions(PageContext& context, QWidget& parentWindow,
                                         std::function<void()> bindEvents)
    : QObject(&parentWindow), ctx(context), window(parentWindow), BindEvents(std::move(bindEvents)) {
    setObjectName(QStringLiteral("settingsFileActions"));
}

// The pages stay quiet while the save dialog is open; the link need not be connected.
void SettingsFileActions::TntButton2Click() {
    Tecu* ecu = ctx.ecu;
    if (!ecu)
        return;
    ecu->eventsEnabled = false;
    const QString fileName = ctx.files->ChooseSaveFile(SaveRequest());
    if (!fileName.isEmpty() && !EcuSettingsFile::Save(fileName, EcuSettingsRecord::FromEcuState(*ecu)))
        ShowFailure(EcuSettingsFile::kSaveFailedText);
    ecu->eventsEnabled = true;
}

// A file only goes to a connected ECU; no handler runs until the upload is over.
void SettingsFileActions::TntButton3Click() {
    Tecu* ecu = ctx.ecu;
    if (!ecu || !ecu->IsConnected())
        return;
    if (ecu->calibrationActive)
        emit calibrationStopRequested();
    ecu->ClearEventHandlers();
    LoadAndUpload(*ecu);
    BindEvents();
    ecu->eventsEnabled = true;
    ecu->RefreshAll();
}

void SettingsFileActions::LoadAndUpload(Tecu& ecu) {
    const QString fileName = ctx.files->ChooseOpenFile(OpenRequest());
    if (fileName.isEmpty())
        return;
    const EcuSettingsFile::LoadResult loaded = EcuSettingsFile::Load(fileName);
    if (!loaded.ok()) {
        ShowFailure(EcuSettingsFile::LoadFailureText(loaded.failure));
        return;
    }
    if (!BackUpEcuSettings(ecu))
        return;
    TForm7 dialog(
        ecu, *ctx.messages, [this](int index) { return ctx.LangText(index); }, &window, uploadSeams);
    dialog.setFont(window.font());
    dialog.UploadSettings(loaded.record);
}

// Before anything of the file goes out: what the ECU holds now, so that loading the backup puts it back.
// Settings not yet reported on this connection would be start values or another ECU's, not a backup.
bool SettingsFileActions::BackUpEcuSettings(const Tecu& ecu) {
    if (!ecu.StatusReportedSinceConnect()) {
        ShowFailure(kCommunicationErrorText);
        return false;
    }
    if (SettingsBackup::Write(backupsFolder, EcuSettingsRecord::FromEcuState(ecu),
                              QDateTime::currentDateTime())
            .isEmpty()) {
        ShowFailure(kBackupFailedText);
        return false;
    }
    return true;
}

void SettingsFileActions::ShowFailure(int text) {
    ctx.messages->ShowModalMessage(ctx.LangText(text), ctx.LangText(kFinishText));
}
