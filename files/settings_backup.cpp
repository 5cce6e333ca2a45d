#include "files/settings_backup.h"

#include "files/ecu_settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>

namespace SettingsBackup {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
const QString kExtension = QStringLiteral(".ECU");

// A backup's name: its stamp, and the number of a later backup within the same second.
struct BackupName {
    QString name;
    QString stamp;
    int sequence;
};

const QRegularExpression& BackupPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)(?:_(\\d{1,4}))?\\.ECU$"));
    return pattern;
}

std::vector<BackupName> Backups(const QDir& dir) {
    std::vector<BackupName> found;
    for (const QString& name : dir.entryList({QStringLiteral("*") + kExtension}, QDir::Files)) {
        const QRegularExpressionMatch m = BackupPattern().match(name);
        if (m.hasMatch())
            found.push_back({name, m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    // The stamp sorts as text; the sequence as a number, so _10 comes after _9.
    std::sort(found.begin(), found.end(), [](const BackupName& a, const BackupName& b) {
        return std::tie(a.stamp, a.sequence) < std::tie(b.stamp, b.sequence);
    });
    return found;
}

QString FreeName(const QDir& dir, const QString& stamp) {
    QString name = stamp + kExtension;
    for (int sequence = 2; QFileInfo::exists(dir.filePath(name)); ++sequence)
        name = QStringLiteral("%1_%2%3").arg(stamp).arg(sequence).arg(kExtension);
    return name;
}

void RemoveOldest(QDir& dir) {
    const std::vector<BackupName> backups = Backups(dir);
    const auto surplus = static_cast<std::ptrdiff_t>(backups.size()) - kKept;
    for (std::ptrdiff_t i = 0; i < surplus; ++i)
        dir.remove(backups[static_cast<std::size_t>(i)].name);
}

} // namespace

QString Write(const QString& folder, const EcuSettingsRecord& record, const QDateTime& when) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return {};
    const QString path = dir.filePath(FreeName(dir, when.toString(kStampFormat)));
    if (!EcuSettingsFile::Save(path, record))
        return {};
    // Pruning is housekeeping: a backup that cannot be removed costs space, not the new one.
    RemoveOldest(dir);
    return path;
}

QStringList Names(const QString& folder) {
    QStringList names;
    for (const BackupName& b : Backups(QDir(folder)))
        names.push_back(b.name);
    return names;
}

} // namespace SettingsBackup
