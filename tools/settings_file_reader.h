#pragma once

#include "files/ecu_settings_record.h"

#include <QString>

// Reads one settings file for the command-line tool and says in plain words what is wrong with it.
namespace SettingsFileReader {

enum class Outcome { Good, CannotRead, WrongHeader, BadChecksum };

struct Result {
    Outcome outcome = Outcome::CannotRead;
    QString path;             // the file actually read
    qint64 size = 0;          // its length in bytes, when it could be read
    QString reason;           // the system's words when it could not be read
    EcuSettingsRecord record; // only meaningful when Good
    bool ok() const { return outcome == Outcome::Good; }
};

// Reads the file the program's Load would read: a name without an extension always means "name.DEF",
// even when a file of the bare name exists.
Result Read(const QString& fileName);

// One line in plain words: what is wrong (or that the file is good), naming the file.
QString Describe(const Result& result);

// A note when the file is longer than the record: the program reads only the first 160 bytes.
// Empty for any other file.
QString ExtraBytesNote(const Result& result);

} // namespace SettingsFileReader
