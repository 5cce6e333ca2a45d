#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// Where the main window stood when it was last closed, kept in a file of its own beside the INI so
// the INI keeps only the program's settings.
struct WindowPlacement {
    QRect normal; // the window's client rectangle when not maximised
    bool maximised = false;
    bool operator==(const WindowPlacement&) const = default;
};

namespace WindowPlacementFile {

// "ecusetup.ini" gives "ecusetup.window" in the same folder.
QString PathBesideIni(const QString& iniPath);
// Missing, unreadable or malformed: nothing, and the window opens at its default size.
std::optional<WindowPlacement> Read(const QString& path);
// Written whole or not at all; answers false when it could not be written.
bool Write(const QString& path, const WindowPlacement& placement);

// The rectangle moved, and shrunk if need be (never below minimum), to lie inside available: a
// screen that has become smaller since never leaves the window out of reach.
QRect FitInside(QRect wanted, QRect available, QSize minimum);

} // namespace WindowPlacementFile
