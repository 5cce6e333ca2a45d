#pragma once

#include "files/ecu_settings_record.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The settings and map an ECU held before a file was loaded into it, kept as settings files named by
// date and time, so that loading one of them puts the ECU back.
namespace SettingsBackup {

constexpr int kKept = 50;

// Writes the record whole, as "Save to File" does, to <folder>/yyyy-MM-dd_HH-mm-ss.ECU (a second backup
// within the same second gets _2, _3, ...), making the folder where needed; then removes the oldest
// backups beyond the most recent kKept. Other files in the folder are never touched. Answers the new
// file's path, or an empty text when it could not be written.
QString Write(const QString& folder, const EcuSettingsRecord& record, const QDateTime& when);

// The names of the backups in the folder, oldest first.
QStringList Names(const QString& folder);

} // namespace SettingsBackup
