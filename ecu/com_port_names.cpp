#include "ecu/com_port_names.h"

#include "ecu/user_config_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ComPortNames {

QString PortText(int number) {
    return QStringLiteral("COM%1").arg(number);
}

int PortNumberFromText(const QString& text) {
    if (!text.startsWith(QLatin1String("COM")))
        return 0;
    bool ok = false;
    const int n = text.mid(3).toInt(&ok, 10);
    return ok && n >= 0 && n <= 65535 ? n : 0;
}

QString DefaultPortsFolder() {
    const QString base =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    const QString beside = QDir(base).filePath(QStringLiteral("ports"));
    if (QFileInfo::exists(beside) || QFileInfo(base).isWritable())
        return beside;
    // An installed program cannot have a folder beside itself; the user's configuration folder serves.
    return QDir(UserConfigFolder()).filePath(QStringLiteral("ports"));
}

QString DevicePath(int number, const QString& portsFolder) {
    if (number <= 0)
        return {};
#ifdef Q_OS_WIN
    Q_UNUSED(portsFolder);
    return PortText(number);
#else
    const QString link = QDir(portsFolder).filePath(PortText(number));
    if (QFileInfo(link).isSymLink() || QFileInfo::exists(link))
        return link;
    struct Range {
        int first;
        const char* prefix;
    };
    static const Range kRanges[] = {{1, "/dev/ttyS"}, {33, "/dev/ttyUSB"}, {65, "/dev/ttyACM"}};
    for (const Range& r : kRanges) {
        if (number >= r.first && number < r.first + 32)
            return QString::fromLatin1(r.prefix) + QString::number(number - r.first);
    }
    return {};
#endif
}

} // namespace ComPortNames
