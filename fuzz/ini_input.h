#pragma once

#include "app/ini_file.h"
#include "app/program_settings.h"

#include "fuzz/scratch_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One hostile INI file: any bytes as the program's INI. Reading must give defined values, and
// writing them back must keep them. Answers what went wrong, or "" when all held. Shared by the fuzz
// target and the test that replays the kept cases.
namespace FuzzIniInput {

inline std::string Describe(const ProgramSettings::Values& v) {
    return "language '" + v.language.toStdString() + "', port '" + v.comport.toStdString() +
           "', sensitivity " + std::to_string(v.calSens);
}

inline std::string Run(const uint8_t* data, std::size_t size) {
    const QString path = WriteScratchFile(QStringLiteral("ecusetup.ini"), data, size);
    if (path.isEmpty())
        return "cannot prepare the file";

    const ProgramSettings::Values before = ProgramSettings::Read(path);
    const IniFile ini(path);
    for (const char* section : {"Main", "main", "", "[Main]"}) {
        for (const char* key : {"Comport", "", "=", "Language="})
            (void)ini.ReadString(section, key, QStringLiteral("-"));
    }

    IniFile writable(path);
    if (!ProgramSettings::Write(writable, before))
        return "writing the settings back failed";
    const ProgramSettings::Values after = ProgramSettings::Read(path);
    if (after.language != before.language || after.comport != before.comport ||
        after.calSens != before.calSens)
        return "read " + Describe(before) + ", after writing back " + Describe(after);
    return {};
}

} // namespace FuzzIniInput
