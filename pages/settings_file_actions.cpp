#include "pages/settings_file_actions.h"

#include "app/file_chooser.h"
#include "app/message_presenter.h"
#include "ecu/tecu.h"
#include "files/ecu_settings_file.h"
#include "files/settings_upload_dialog.h"

#include <QWidget>

namespace {
constexpr int kFinishText = 70;

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
    TForm7 dialog(
        ecu, *ctx.messages, [this](int index) { return ctx.LangText(index); }, &window, uploadSeams);
    dialog.setFont(window.font());
    dialog.UploadSettings(loaded.record);
}

void SettingsFileActions::ShowFailure(int text) {
    ctx.messages->ShowModalMessage(ctx.LangText(text), ctx.LangText(kFinishText));
}
