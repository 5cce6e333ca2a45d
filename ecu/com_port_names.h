#pragma once

#include <QString>

// The program names serial ports "COM" and a number. On Linux a number maps to a device: an entry
// COMn in the folder "ports" beside the executable wins (a link to a stable adapter name or to the
// virtual ECU's pseudo-terminal); otherwise COM1..32 are ttyS0..31, COM33..64 ttyUSB0..31 and
// COM65..96 ttyACM0..31. On Windows COMn is the system's own name.
namespace ComPortNames {

QString PortText(int number);                // "COM12"
int PortNumberFromText(const QString& text); // "COM12" -> 12; anything else, or a bad number, -> 0
// "ports" beside the executable; ~/.config/ecusetup/ports when the executable's folder cannot be written
QString DefaultPortsFolder();
// The device for a port number; empty when the number maps to none.
QString DevicePath(int number, const QString& portsFolder = DefaultPortsFolder());

} // namespace ComPortNames
