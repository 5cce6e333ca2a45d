#pragma once

#include "files/upload_dialog_seams.h"
#include "pages/page_context.h"

#include <QObject>

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

private:
    void LoadAndUpload(Tecu& ecu);
    void ShowFailure(int text);

    PageContext& ctx;
    QWidget& window;
    std::function<void()> BindEvents;
};
