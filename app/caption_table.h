#pragma once

#include <QObject>
#include <QString>

class LanguageTable;

// One control captioned from the language table: the prefix followed by the text of the index;
// a number replaces the placeholder of the text (the cylinder captions).
struct CaptionRow {
    const char* control;
    int index;
    const char* prefix;
    unsigned number;
};

namespace CaptionTable {

const CaptionRow* begin();
const CaptionRow* end();
QString CaptionFor(const CaptionRow& row, const LanguageTable& language);
// Captions every control of the table found below root; controls a page does not have are skipped.
void Apply(QObject& root, const LanguageTable& language);
// The caption a control shows now, whatever its kind; empty when it is not found.
QString CurrentCaption(const QObject& root, const char* control);

} // namespace CaptionTable
