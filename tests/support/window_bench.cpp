#include "tests/support/window_bench.h"

#include "ecu/tecu.h"

#include <QFile>

WindowBench::WindowBench(const ecusim::EcuConfig& config, const QByteArray& ini) : model(config) {
    const QString iniPath = folder.filePath(QStringLiteral("ecusetup.ini"));
    QFile file(iniPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(ini);
    file.close();

    TForm1Seams seams;
    seams.makePort = [this] {
        auto port = std::make_unique<SimSerialPort>(model);
        serial = port.get();
        return port;
    };
    seams.iniPath = iniPath;
    seams.userConfigFolder = folder.filePath(QStringLiteral("config"));
    seams.messages = &messages;
    seams.files = &files;
    seams.portQuestion = [] { return 0; }; // never the real "Select Port" dialog
    seams.processEventsWhile = [this](const std::function<bool()>& keepWaiting) {
        for (int round = 0; keepWaiting() && round < 1000; ++round)
            step();
    };
    seams.sleepMs = [this](int ms) { runFor(Millis(ms)); };
    form = std::make_unique<TForm1>(std::move(seams));
    nextTick = Millis(form->ecu->LinkInterval());
}

WindowBench::~WindowBench() {
    form->FormClose();
    serial = nullptr;
}

bool WindowBench::connect(Millis limit) {
    const bool connected = runUntil([this] { return form->ecu && form->ecu->IsConnected(); }, limit);
    runFor(Millis(500));
    return connected;
}

void WindowBench::step() {
    Tecu* link = form->ecu;
    if (!link || !serial)
        return;
    advance(*link, *serial);
    if (onStep)
        onStep(elapsed);
}
