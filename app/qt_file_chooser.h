#pragma once

#include "app/file_chooser.h"

#include <QFileDialog>

// The real save and open dialogs `sd` and `od`.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent);

    QString ChooseSaveFile(const FileDialogRequest& request) override;
    QString ChooseOpenFile(const FileDialogRequest& request) override;

    // "Log files|*.log" becomes "Log files (*.log)".
    static QStringList QtFilters(const QString& filter);

    QFileDialog sd;
    QFileDialog od;

private:
    static QString Run(QFileDialog& dialog, const FileDialogRequest& request);
};
