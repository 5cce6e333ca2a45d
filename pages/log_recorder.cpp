#include "pages/log_recorder.h"

#include <QFile>
#include <QFileDevice>

#include <cstdio>

namespace {

std::unique_ptr<QIODevice> OpenLogFile(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    // Unbuffered: a write that fails (disk full, stick pulled) fails here and not at some later flush.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return nullptr;
    return file;
}

} // namespace

LogRecorder::LogRecorder() : open(OpenLogFile) {}

LogRecorder::~LogRecorder() = default;

QByteArray LogRecorder::Header() {
    return QByteArrayLiteral("RPM;inj;map;v;mode;\r\n");
}

QByteArray LogRecorder::Line(const LogSample& sample) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%u;%u;%u;%u;%c;\r\n", sample.rpm, sample.injection,
                                     sample.gasPressure, sample.lambda, sample.mode);
    return QByteArray(line, length);
}

bool LogRecorder::Start(const QString& path) {
    Stop();
    wholeLines = 0;
    device = open ? open(path) : nullptr;
    if (!device)
        return false;
    if (!WriteAll(Header())) {
        CutBackAndStop();
        return false;
    }
    return true;
}

bool LogRecorder::Write(const LogSample& sample) {
    if (!device)
        return false;
    if (WriteAll(Line(sample)))
        return true;
    CutBackAndStop();
    return false;
}

// A full disk takes part of a line before it refuses: the file keeps only whole lines, so that every
// line a reader finds is one the program wrote.
void LogRecorder::CutBackAndStop() {
    if (auto* file = qobject_cast<QFileDevice*>(device.get()))
        file->resize(wholeLines);
    Stop();
}

void LogRecorder::Stop() {
    if (device)
        device->close();
    device.reset();
}

bool LogRecorder::WriteAll(const QByteArray& bytes) {
    if (device->write(bytes) != bytes.size())
        return false;
    wholeLines += bytes.size();
    return true;
}
