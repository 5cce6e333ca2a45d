#include "app/qt_file_chooser.h"

QtFileChooser::QtFileChooser(QWidget* parent) : sd(parent), od(parent) {
    sd.setObjectName(QStringLiteral("sd"));
    sd.setAcceptMode(QFileDialog::AcceptSave);
    sd.setFileMode(QFileDialog::AnyFile);
    od.setObjectName(QStringLiteral("od"));
    od.setAcceptMode(QFileDialog::AcceptOpen);
    od.setFileMode(QFileDialog::ExistingFile);
}

QStringList QtFileChooser::QtFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    return out;
}

QString QtFileChooser::Run(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setNameFilters(QtFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtFileChooser::ChooseSaveFile(const FileDialogRequest& request) {
    return Run(sd, request);
}

QString QtFileChooser::ChooseOpenFile(const FileDialogRequest& request) {
    return Run(od, request);
}
