#pragma once

#include <QString>

// What a file dialog offers; the program's filters are in the Windows form "Text|*.ext".
struct FileDialogRequest {
    QString filter;
    QString defaultExtension;
    bool overwritePrompt = false;
};

// The save and open dialogs behind a seam tests replace. An empty name means cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual QString ChooseSaveFile(const FileDialogRequest& request) = 0;
    virtual QString ChooseOpenFile(const FileDialogRequest& request) = 0;
};
