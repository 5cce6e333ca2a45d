#pragma once

#include "ecu/serial_port.h"

#include <QString>

#include <functional>
#include <memory>

class MessagePresenter;
class FileChooser;

// Everything the main window takes from the outside world, so tests can put a fake in each place.
// An empty member means the real thing.
struct TForm1Seams {
    std::function<std::unique_ptr<SerialPort>()> makePort; // the link's serial port
    QString iniPath;                                       // default: beside the executable
    QString userConfigFolder; // default: UserConfigFolder(); backups of uploads go to its backups/
    MessagePresenter* messages = nullptr;  // default: the message dialog
    FileChooser* files = nullptr;          // default: the file dialogs
    SerialPort::PortQuestion portQuestion; // asked when port 0 is opened
    // Keeps processing GUI events while the condition holds (the two waits of the shutdown).
    std::function<void(const std::function<bool()>& keepWaiting)> processEventsWhile;
    std::function<void(int ms)> sleepMs; // the blocking wait of the shutdown
};
