#pragma once

#include "files/upload_dialog_seams.h"
#include "pages/page_context.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// "Save to File" and "Load from File" of the left strip: the ECU's settings and map to a settings
// file, and a verified file back into the connected ECU through the upload dialog.
class SettingsFileActions : public QObject {
    Q_OBJECT

public:
    // The window lends its font and parents the dialogs; bindEvents attaches its handlers again.
    SettingsFileActions(PageContext& context, QWidget& window, std::function<void()> bindEvents);

    void TntButton2Click();
    void TntButton3Click();

    UploadDialogSeams uploadSeams; // handed to every upload dialog
    // Where the ECU's settings are kept before a file is loaded into it.
    QString backupsFolder;

signals:
    // A running calibration would go on changing the base correction between the upload's commands.
    void calibrationStopRequested();

private:
    void LoadAndUpload(Tecu& ecu);
    bool BackUpEcuSettings(const Tecu& ecu);
    void ShowFailure(int text);

    PageContext& ctx;
    QWidget& window;
    std::function<void()> BindEvents;
};
