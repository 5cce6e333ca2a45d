#pragma once

#include <QString>

// The program's folder in the user's configuration (~/.config/ecusetup): where the INI file and the
// ports folder go when the executable's own folder cannot be written, as for an installed program.
QString UserConfigFolder();
