#pragma once

#include "app/lang/language_table.h"

#include <QString>

class Tecu;
class MessagePresenter;
class FileChooser;

// What every page needs from the main window. The link exists from FormCreate to FormClose only,
// so pages read `ecu` when they act and never keep it.
struct PageContext {
    Tecu* ecu = nullptr;
    const LanguageTable* language = nullptr;
    MessagePresenter* messages = nullptr;
    FileChooser* files = nullptr;

    QString LangText(int index) const {
        return language ? language->LangText(index) : LanguageTable::kMissingText;
    }
};
