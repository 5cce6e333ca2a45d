#include "app/dialog_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

DialogTranslation::~DialogTranslation() {
    if (installed)
        QCoreApplication::removeTranslator(&translator);
}

QString DialogTranslation::Folder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool DialogTranslation::Switch(const QString& languageCode) {
    if (installed) {
        QCoreApplication::removeTranslator(&translator);
        installed = false;
    }
    // English is Qt's own source language: nothing to load.
    if (languageCode.isEmpty() || languageCode == QLatin1String("EN"))
        return true;
    if (!translator.load(QStringLiteral("qtbase_") + languageCode.toLower(), Folder()))
        return false;
    installed = QCoreApplication::installTranslator(&translator);
    return installed;
}
