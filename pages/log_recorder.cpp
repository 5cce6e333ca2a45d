#include "pages/log_recorder.h"

#include <QFile>

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
    device = open ? open(path) : nullptr;
    if (!device)
        return false;
    if (!WriteAll(Header())) {
        Stop();
        return false;
    }
    return true;
}

bool LogRecorder::Write(const LogSample& sample) {
    if (!device)
        return false;
    if (WriteAll(Line(sample)))
        return true;
    Stop();
    return false;
}

void LogRecorder::Stop() {
    if (device)
        device->close();
    device.reset();
}

bool LogRecorder::WriteAll(const QByteArray& bytes) {
    return device->write(bytes) == bytes.size();
}
