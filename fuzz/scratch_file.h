#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// A file in a private folder that holds one input at a time. The folder lies in memory where the
// system offers it, since the INI writer syncs every save to disk and would otherwise set the pace.
inline QString WriteScratchFile(const QString& name, const uint8_t* data, std::size_t size) {
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/ecu-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/ecu-fuzz-XXXXXX"));
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        return {};
    return path;
}
