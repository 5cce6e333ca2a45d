#include "ecu/user_config_folder.h"

#include <QDir>
#include <QStandardPaths>

QString UserConfigFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("ecusetup"));
}
