#pragma once

#include "files/ecu_settings_record.h"
#include "tests/support/file_bytes.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A record with a known value in every field.
EcuSettingsRecord KnownRecord();

// Writes bytes as a file in the folder and answers its full path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
