#pragma once

#include "files/ecu_settings_file.h"
#include "files/ecu_settings_record.h"

#include "fuzz/scratch_file.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// One hostile settings file: any bytes read as a file and as a record. A file is accepted only with
// its header and checksum, the reader agrees with the record check, and an accepted record survives
// saving and reading again. Answers what went wrong, or "" when all held. Shared by the fuzz target
// and the test that replays the kept cases.
namespace FuzzSettingsFileInput {

using Check = EcuSettingsRecord::Check;
using Failure = EcuSettingsFile::LoadFailure;

inline Failure Expected(Check check) {
    switch (check) {
    case Check::Passed:
        return Failure::None;
    case Check::WrongHeader:
        return Failure::WrongHeader;
    case Check::BadChecksum:
        return Failure::BadChecksum;
    }
    return Failure::CannotRead;
}

inline std::string Run(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    EcuSettingsRecord record;
    const Check check = EcuSettingsRecord::Parse(bytes, record);
    if (check == Check::Passed) {
        const EcuSettingsRecord::Bytes saved = record.Serialise();
        EcuSettingsRecord again;
        if (EcuSettingsRecord::Parse(saved, again) != Check::Passed || !(again == record))
            return "an accepted record does not survive saving";
    } else if (!(record == EcuSettingsRecord{})) {
        return "a refused record was filled in";
    }

    const QString path = WriteScratchFile(QStringLiteral("hostile.DEF"), data, size);
    if (path.isEmpty())
        return "cannot prepare the file";
    const EcuSettingsFile::LoadResult loaded = EcuSettingsFile::Load(path);
    if (loaded.failure != Expected(check))
        return "the file reader and the record check disagree";
    if (loaded.ok() && !(loaded.record == record))
        return "the file reader gives another record";
    if (!loaded.ok() && EcuSettingsFile::LoadFailureText(loaded.failure) < 0)
        return "a refused file has no message";
    return {};
}

} // namespace FuzzSettingsFileInput
