#include "tools/settings_file_reader.h"

#include "files/ecu_settings_file.h"

#include <QFile>
#include <QFileInfo>

#include <span>

namespace SettingsFileReader {

namespace {

constexpr qint64 kRecordSize = EcuSettingsRecord::kSize;

QString ChoosePath(const QString& fileName) {
    const QString withExtension = EcuSettingsFile::WithDefaultExtension(fileName);
    if (!QFileInfo::exists(fileName) && QFileInfo::exists(withExtension))
        return withExtension;
    return fileName;
}

Outcome FromCheck(EcuSettingsRecord::Check check) {
    switch (check) {
    case EcuSettingsRecord::Check::Passed:
        return Outcome::Good;
    case EcuSettingsRecord::Check::WrongHeader:
        return Outcome::WrongHeader;
    case EcuSettingsRecord::Check::BadChecksum:
        break;
    }
    return Outcome::BadChecksum;
}

} // namespace

Result Read(const QString& fileName) {
    Result result;
    result.path = ChoosePath(fileName);
    // A folder opens on some systems and reads as nothing; it is not a file that can be read.
    if (QFileInfo(result.path).isDir()) {
        result.reason = QStringLiteral("it is a folder");
        return result;
    }
    QFile file(result.path);
    const auto failed = [&] {
        result.reason = file.errorString();
        return result;
    };
    if (!file.open(QIODevice::ReadOnly))
        return failed();
    const QByteArray bytes = file.read(kRecordSize);
    if (file.error() != QFileDevice::NoError)
        return failed();
    result.size = file.size();
    const auto data = std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
    result.outcome = FromCheck(EcuSettingsRecord::Parse(data, result.record));
    if (!result.ok())
        result.record = {};
    return result;
}

QString Describe(const Result& result) {
    const QString& path = result.path;
    switch (result.outcome) {
    case Outcome::Good:
        return QStringLiteral("%1: a good settings file").arg(path);
    case Outcome::CannotRead:
        return QStringLiteral("%1: cannot read the file (%2)").arg(path, result.reason);
    case Outcome::WrongHeader:
        if (result.size < EcuSettingsRecord::kHeaderSize)
            return QStringLiteral("%1: not a settings file (only %2 bytes, a settings file has %3)")
                .arg(path)
                .arg(result.size)
                .arg(kRecordSize);
        return QStringLiteral("%1: not a settings file (it does not begin with \"%2\")")
            .arg(path, QLatin1String(EcuSettingsRecord::kHeaderText));
    case Outcome::BadChecksum:
        break;
    }
    if (result.size < kRecordSize)
        return QStringLiteral("%1: damaged settings file (cut short: %2 of %3 bytes)")
            .arg(path)
            .arg(result.size)
            .arg(kRecordSize);
    return QStringLiteral("%1: damaged settings file (the checksum does not match)").arg(path);
}

QString ExtraBytesNote(const Result& result) {
    if (result.outcome == Outcome::CannotRead || result.size <= kRecordSize)
        return {};
    return QStringLiteral("%1: note: %2 bytes, only the first %3 are the settings; the rest is ignored")
        .arg(result.path)
        .arg(result.size)
        .arg(kRecordSize);
}

} // namespace SettingsFileReader
