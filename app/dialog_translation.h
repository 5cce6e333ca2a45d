#pragma once

#include <QString>
#include <QTranslator>

// Qt's own translation of its standard dialogs (file dialog, button boxes) for the chosen language.
// Qt ships none for some languages: their dialogs stay English.
class DialogTranslation {
public:
    ~DialogTranslation();

    // Replaces the installed translation with the one for the two-letter language code; answers
    // whether Qt has one. Open dialogs retranslate at once.
    bool Switch(const QString& languageCode);

private:
    static QString Folder();

    QTranslator translator;
    bool installed = false;
};
