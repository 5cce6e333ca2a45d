#pragma once

#include "tests/support/file_bytes.h"
#include "tests/support/window_fixture.h"

#include "files/ecu_settings_record.h"
#include "files/settings_upload_dialog.h"
#include "pages/cylinder_strip.h"
#include "pages/settings_file_actions.h"

#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace UploadTesting {

using EcuFrames::Bytes;
using Payloads = std::vector<Bytes>;

inline EcuSettingsRecord SampleRecord() {
    EcuSettingsRecord r;
    r.baseCorrection = 65;
    r.gasInjectorMask = 0x0B;
    r.rpmPin = 1;
    r.mapSensor = 1;
    r.fastChange = 0;
    r.injectorProtection = 30;
    r.rpmDivider = 4;
    r.switchTemperature = 0x0123;
    r.switchRpmIndex = 5;
    r.minGasPressure = 0x0302;
    r.tankMax = 999;
    r.tankMin = 17;
    for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
        r.engineMap[i] = static_cast<uint8_t>(20 + 3 * i);
    return r;
}

// What the upload of the sample record sends to an ECU that reports its status after each setting, so
// that the second tank frame carries the tank Max it has just taken.
inline Payloads SamplePayloads() {
    Bytes map{'t'};
    for (uint8_t point : SampleRecord().engineMap)
        map.push_back(static_cast<uint8_t>(127 - point));
    return {{'x'},
            {'n', 62},
            {'n', 62},
            {'m', 0x0B},
            {'u', 1},
            {'p', 30},
            {'d', 4},
            {'c', 0x23},
            {'e', 5},
            {'b', 0x02, 0x03},
            {'l', 0xE7, 0x03, 10, 0},
            {'l', 0xE7, 0x03, 17, 0},
            {'h', 1},
            {'f', 0},
            map,
            {'*'}};
}

// The two requests with which the upload asks the ECU what it now holds.
inline Payloads ReadbackRequests() {
    return {{'2'}, {'y'}};
}

inline Payloads Joined(Payloads a, const Payloads& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace UploadTesting

// The ECU at the far end of the fake port: takes every setting command it hears, reports its status
// after each one unless told not to, and answers the status and map requests.
class ScriptedEcu {
public:
    EcuFrames::Status status;
    std::array<uint8_t, 12> mapWire{}; // as it travels: 127 minus each point
    bool reportsAfterSettings = true;
    bool answersRequests = true;
    bool silent = false;
    uint8_t ignored = 0;           // a command letter it hears but does not take
    UploadTesting::Payloads heard; // every frame from the host, in order

    ScriptedEcu() { mapWire.fill(127 - 32); }

    // Takes what the host wrote since the last call and answers it.
    void Serve(FakeSerialPort& port) {
        const std::vector<uint8_t> bytes = port.takeWritten();
        line.insert(line.end(), bytes.begin(), bytes.end());
        while (line.size() >= 3 && line.size() >= 5u + line[2]) {
            if (line[0] != 0x00 || line[1] != 0xF0) {
                line.erase(line.begin());
                continue;
            }
            const UploadTesting::Bytes payload(line.begin() + 3, line.begin() + 3 + line[2]);
            line.erase(line.begin(), line.begin() + 5 + line[2]);
            heard.push_back(payload);
            Take(payload, port);
        }
        // Streaming, as after the start command: a live report whenever the host looks.
        if (streaming)
            Answer(port, EcuFrames::Live{}.Frame());
    }
    void Answer(FakeSerialPort& port, const UploadTesting::Bytes& frame) {
        if (!silent)
            port.deliver(frame);
    }

private:
    static uint16_t Word(const UploadTesting::Bytes& p, int at) {
        return static_cast<uint16_t>(p[at] | p[at + 1] << 8);
    }
    void SetBit(int bit, uint8_t on) {
        status.statusBits =
            static_cast<uint8_t>(on ? status.statusBits | 1 << bit : status.statusBits & ~(1 << bit));
    }
    bool TakeSetting(const UploadTesting::Bytes& p) {
        switch (p[0]) {
        case 'n':
            status.baseCorrectionByte = p[1];
            return true;
        case 'm':
            status.gasInjectorMask = p[1];
            return true;
        case 'u':
            SetBit(1, p[1]);
            return true;
        case 'p':
            status.injectorProtection = p[1];
            return true;
        case 'd':
            status.rpmDivider = p[1];
            return true;
        case 'c':
            status.switchTemperature = p[1];
            return true;
        case 'e':
            status.switchRpmIndex = p[1];
            return true;
        case 'b':
            status.minGasPressure = Word(p, 1);
            return true;
        case 'l':
            status.tankMax = Word(p, 1);
            status.tankMin = Word(p, 3);
            return true;
        case 'h':
            SetBit(5, p[1]);
            return true;
        case 'f':
            SetBit(7, p[1]);
            return true;
        case 't':
            std::copy(p.begin() + 1, p.begin() + 13, mapWire.begin());
            return true;
        default:
            return false;
        }
    }
    void Take(const UploadTesting::Bytes& p, FakeSerialPort& port) {
        if (p.empty() || p[0] == ignored)
            return;
        if (p[0] == '*' || p[0] == 'x')
            streaming = p[0] == '*';
        if (TakeSetting(p)) {
            if (reportsAfterSettings && p[0] != 't')
                Answer(port, status.Frame());
        } else if (p[0] == '2' && answersRequests) {
            Answer(port, status.Frame());
        } else if (p[0] == 'y' && answersRequests) {
            Answer(port, EcuFrames::MapReport(mapWire));
        }
    }

    std::vector<uint8_t> line;
    bool streaming = false;
};

// The window on a fake port with the scripted ECU behind it, its upload dialog run without a modal loop
// in simulated time: each sleep lets that much time pass, each round of event processing lets the ECU
// answer and runs the link's tick when it is due, as the link timer would.
class UploadFixture : public WindowFixture {
protected:
    // One upload dialog as the test saw it.
    struct ShownDialog {
        EcuSettingsRecord record;
        int result = -1;
        int bar = -1;
        UploadTesting::Payloads heard; // what the ECU heard while the dialog was open
    };

    void SetUp() override { StartWindow(); }

    void StartWindow() {
        CreateWindow();
        ecuSide = ScriptedEcu();
        dialogs.clear();
        sleeps.clear();
        messages.shown.clear();
        elapsedMs = nextTickMs = 0;
        actions = window->findChild<SettingsFileActions*>();
        ASSERT_NE(actions, nullptr);
        actions->uploadSeams.runModal = [this](TForm7& dialog) {
            current = &dialog;
            modalScript(dialog);
            dialogs.push_back({*dialog.settings, dialog.result(), dialog.pr->value(), Heard()});
            current = nullptr;
        };
        actions->uploadSeams.sleepMs = [this](int ms) {
            sleeps.push_back(ms);
            elapsedMs += ms;
            if (onSleep)
                onSleep(static_cast<int>(sleeps.size()));
        };
        actions->uploadSeams.processEvents = [this] { ProcessEvents(); };
    }

    void ProcessEvents() {
        ecuSide.Serve(*fake);
        if (onEvents)
            onEvents();
        if (fake && elapsedMs >= nextTickMs) {
            window->ecu->LinkTick();
            RunPendingWorker();
            nextTickMs = elapsedMs + window->ecu->LinkInterval();
        }
        if (fake)
            ecuSide.Serve(*fake);
    }

    // Connected, with the ECU's settings and map reported as it holds them.
    void ConnectAndReport() {
        Connect();
        DeliverAndDispatch(ecuSide.status.Frame());
        DeliverAndDispatch(EcuFrames::MapReport(ecuSide.mapWire));
        Heard();
    }

    QString Path(const QString& name) const { return folder.filePath(name); }
    void Load(const QString& name) {
        files.openAnswers.push_back(Path(name));
        window->VrBlotter1->TntButton3->click();
    }
    void Upload(const EcuSettingsRecord& record) {
        ASSERT_TRUE(WriteFileBytes(Path("upload.ECU"), FileBytes(record)));
        Load("upload.ECU");
    }
    // What the ECU heard since the last call.
    UploadTesting::Payloads Heard() {
        if (fake)
            ecuSide.Serve(*fake);
        UploadTesting::Payloads out;
        out.swap(ecuSide.heard);
        return out;
    }
    int SleptMs(int ms) const { return static_cast<int>(std::count(sleeps.begin(), sleeps.end(), ms)); }
    bool HandlersBound() const { return window->ecu->OnRpm.bound() && window->ecu->OnMapReceived.bound(); }
    QString BackupsFolder() const { return folder.filePath(QStringLiteral("config/backups")); }

    ScriptedEcu ecuSide;
    SettingsFileActions* actions = nullptr;
    TForm7* current = nullptr;
    std::function<void(TForm7&)> modalScript = [](TForm7& dialog) { dialog.ttTimer(); };
    std::function<void(int sleepNumber)> onSleep;
    std::function<void()> onEvents; // each round of event processing, before the tick
    std::vector<ShownDialog> dialogs;
    std::vector<int> sleeps;
    int elapsedMs = 0;
    int nextTickMs = 0;
};
