#pragma once

#include <QString>

class IniFile;

// The program's own settings, kept in section "Main" of the INI file beside the executable.
namespace ProgramSettings {

inline constexpr const char* kSection = "Main";
inline constexpr const char* kLanguageKey = "Language";
inline constexpr const char* kComportKey = "Comport";
inline constexpr const char* kCalSensKey = "CalSens";
inline constexpr const char* kDefaultLanguage = "EN";
inline constexpr const char* kDefaultComport = "COM1";
inline constexpr int kDefaultCalSens = 5;

// The executable's path with its extension replaced by ".ini", or ".ini" appended when it has none.
QString IniPathFor(const QString& executablePath);
// The same name beside the executable when its folder can be written (a program unpacked or built in
// place), else in the given folder (the user's configuration folder, for an installed program).
QString IniPathFor(const QString& executablePath, const QString& fallbackFolder);

// A decimal integer, or hexadecimal with "0x"; anything else gives the default.
int ParseCalSens(const QString& text);

struct Values {
    QString language = kDefaultLanguage;
    QString comport = kDefaultComport;
    int calSens = kDefaultCalSens;
};

Values Read(const QString& iniPath);

// Writes "Comport", "CalSens" and "Language" in that order, each through to the file at once, then
// flushes. Stops at the first write that fails and answers false.
bool Write(IniFile& ini, const Values& values);

} // namespace ProgramSettings
