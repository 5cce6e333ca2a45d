#include "tools/settings_file_reader.h"

#include "files/ecu_settings_file.h"

namespace SettingsFileReader {

namespace {

constexpr qint64 kRecordSize = EcuSettingsRecord::kSize;

Outcome FromLoad(EcuSettingsFile::LoadFailure failure) {
    switch (failure) {
    case EcuSettingsFile::LoadFailure::None:
        return Outcome::Good;
    case EcuSettingsFile::LoadFailure::CannotRead:
        return Outcome::CannotRead;
    case EcuSettingsFile::LoadFailure::WrongHeader:
        return Outcome::WrongHeader;
    case EcuSettingsFile::LoadFailure::BadChecksum:
        break;
    }
    return Outcome::BadChecksum;
}

} // namespace

Result Read(const QString& fileName) {
    Result result;
    result.path = EcuSettingsFile::WithDefaultExtension(fileName);
    const EcuSettingsFile::LoadResult loaded = EcuSettingsFile::LoadAt(result.path);
    result.outcome = FromLoad(loaded.failure);
    result.size = loaded.size;
    result.reason = loaded.reason;
    result.record = loaded.record;
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
