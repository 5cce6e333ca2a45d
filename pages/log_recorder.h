#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// One line of the log: the values of one graph tick.
struct LogSample {
    uint32_t rpm = 0;
    uint32_t injection = 0; // cylinder 1, 0.01 ms
    uint32_t gasPressure = 0;
    uint32_t lambda = 0;
    char mode = 'B'; // 'G' on gas, 'B' on petrol
};

// The log file: 8-bit text with CR LF, a header and one line per tick. Every line goes to the device
// at once, so the file is complete up to the last tick whenever the program ends.
class LogRecorder {
public:
    // Opens the device for a chosen file name, created or emptied; null when that fails.
    using Opener = std::function<std::unique_ptr<QIODevice>(const QString& path)>;

    static QByteArray Header();
    static QByteArray Line(const LogSample& sample);

    LogRecorder();
    ~LogRecorder();

    void SetOpener(Opener opener) { open = std::move(opener); }
    // Creates or empties the file and writes the header; false when either fails (nothing stays open).
    bool Start(const QString& path);
    // False when the line did not reach the file in full; the file is cut back to its last whole line
    // and closed then.
    bool Write(const LogSample& sample);
    void Stop();
    bool IsOpen() const { return device != nullptr; }

private:
    bool WriteAll(const QByteArray& bytes);
    void CutBackAndStop();

    Opener open;
    std::unique_ptr<QIODevice> device;
    qint64 wholeLines = 0; // bytes of the file that end with a whole line
};
