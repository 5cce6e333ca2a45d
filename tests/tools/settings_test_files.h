#pragma once

#include "files/ecu_settings_record.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A record with a known value in every field, and the bytes of its file.
EcuSettingsRecord KnownRecord();
QByteArray FileBytes(const EcuSettingsRecord& record);

// Writes bytes as a file in the folder and answers its full path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
