#pragma once

#include "files/ecu_settings_record.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <span>

// Files as bytes, for the tests of the settings files.
inline QByteArray AsFileBytes(std::span<const uint8_t> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The whole file of a record.
inline QByteArray FileBytes(const EcuSettingsRecord& record) {
    return AsFileBytes(record.Serialise());
}

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// False when the file could not be written whole.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
