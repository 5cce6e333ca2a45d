#pragma once

#include <QStringList>
#include <QTextStream>

// The ecusettings command line: show, diff and check of settings files.
namespace EcuSettingsCli {

// Exit codes, the same for every verb where they apply.
enum ExitCode {
    kOk = 0,
    kDiffer = 1,      // diff: the files hold different settings
    kError = 2,       // usage error, or any file problem in diff
    kCannotRead = 3,  // show and check
    kWrongHeader = 4, // show and check
    kBadChecksum = 5, // show and check
};

// Runs one command; `arguments` excludes the program name. Results go to `out`, problems to `err`.
int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace EcuSettingsCli
