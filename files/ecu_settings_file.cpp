#include "files/ecu_settings_file.h"

#include <QFile>
#include <QSaveFile>

namespace EcuSettingsFile {

namespace {

bool IsSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\' || c == u':';
#else
    return c == u'/';
#endif
}

LoadFailure FromCheck(EcuSettingsRecord::Check check) {
    switch (check) {
    case EcuSettingsRecord::Check::Passed:
        return LoadFailure::None;
    case EcuSettingsRecord::Check::WrongHeader:
        return LoadFailure::WrongHeader;
    case EcuSettingsRecord::Check::BadChecksum:
        break;
    }
    return LoadFailure::BadChecksum;
}

} // namespace

int LoadFailureText(LoadFailure failure) {
    switch (failure) {
    case LoadFailure::None:
        break;
    case LoadFailure::CannotRead:
        return 20;
    case LoadFailure::WrongHeader:
        return 21;
    case LoadFailure::BadChecksum:
        return 22;
    }
    return -1;
}

QString WithDefaultExtension(const QString& fileName) {
    qsizetype start = fileName.size();
    while (start > 0 && !IsSeparator(fileName[start - 1]))
        --start;
    const QStringView filePart = QStringView(fileName).mid(start);
    if (filePart.isEmpty() || filePart.contains(u'.'))
        return fileName;
    return fileName + QStringLiteral(".DEF");
}

bool Save(const QString& fileName, const EcuSettingsRecord& record) {
    const EcuSettingsRecord::Bytes bytes = record.Serialise();
    QSaveFile file(WithDefaultExtension(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // An unwritten QSaveFile is discarded with its temporary file; the old file is never touched.
    if (file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) != qint64{bytes.size()})
        return false;
    return file.commit();
}

LoadResult Load(const QString& fileName) {
    return LoadAt(WithDefaultExtension(fileName));
}

LoadResult LoadAt(const QString& path) {
    LoadResult result;
    QFile file(path);
    const auto cannotRead = [&] {
        result.failure = LoadFailure::CannotRead;
        result.reason = file.errorString();
        return result;
    };
    if (!file.open(QIODevice::ReadOnly))
        return cannotRead();
    const QByteArray bytes = file.read(EcuSettingsRecord::kSize);
    if (file.error() != QFileDevice::NoError)
        return cannotRead();
    result.size = file.size();
    // Parse leaves the record as it is, empty, unless the bytes pass.
    const auto data = std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
    result.failure = FromCheck(EcuSettingsRecord::Parse(data, result.record));
    return result;
}

} // namespace EcuSettingsFile
