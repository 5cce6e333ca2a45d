#pragma once

#include "files/ecu_settings_record.h"

#include <QList>
#include <QString>
#include <QStringList>

// A settings record in the words and units of the program's pages, for reading on a terminal.
namespace SettingsReport {

// One setting or map point: the caption the pages show beside it and its value as the pages show it.
struct Line {
    QString label;
    QString value;
    bool operator==(const Line&) const = default;
};

// Every setting, then the twelve map points, in a fixed order.
QList<Line> Lines(const EcuSettingsRecord& record);

// "label: value" for every line.
QStringList Show(const EcuSettingsRecord& record);

// "label: value in a -> value in b" for every line that differs; empty when the records agree.
QStringList Diff(const EcuSettingsRecord& a, const EcuSettingsRecord& b);

} // namespace SettingsReport
