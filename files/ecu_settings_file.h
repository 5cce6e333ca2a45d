#pragma once

#include "files/ecu_settings_record.h"

#include <QString>

// Saving and loading one EcuSettingsRecord as a file of its 160 bytes.
namespace EcuSettingsFile {

// Language-table text shown when a save fails.
constexpr int kSaveFailedText = 19;

enum class LoadFailure {
    None,
    CannotRead,  // the file does not open or a read fails
    WrongHeader, // not a settings file (also a file too short to hold the header)
    BadChecksum, // damaged settings (also a file cut short after the header)
};

// The language-table text for a load failure: 20, 21 or 22; -1 for None, which shows nothing.
int LoadFailureText(LoadFailure failure);

struct LoadResult {
    LoadFailure failure = LoadFailure::None;
    EcuSettingsRecord record; // only meaningful when ok()
    qint64 size = 0;          // the file's length in bytes, when it could be read
    QString reason;           // the system's words when it could not be read
    bool ok() const { return failure == LoadFailure::None; }
};

// A name whose last path component has no dot gets ".DEF" appended; any other name, and a name
// with no file part at all (empty, or ending in a separator), is returned unchanged.
QString WithDefaultExtension(const QString& fileName);

// Writes the whole record beside the target and only then puts it in place of any existing file, so
// a failure anywhere leaves the old file as it was. Applies WithDefaultExtension. False on failure.
bool Save(const QString& fileName, const EcuSettingsRecord& record);

// Reads at most the record's 160 bytes, checks the header and then the checksum. Applies
// WithDefaultExtension. Bytes after the 160th are ignored.
LoadResult Load(const QString& fileName);
// The same for exactly this path.
LoadResult LoadAt(const QString& path);

} // namespace EcuSettingsFile
