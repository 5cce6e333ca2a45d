#include "tests/pages/upload_fixture.h"

#include "app/status_panels.h"
#include "ecu/qt_serial_port.h"
#include "sim/ecu_side_codec.h"
#include "sim/port_link.h"
#include "sim/pseudo_terminal.h"
#include "sim/virtual_ecu.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <chrono>
#include <memory>

namespace {

using namespace UploadTesting;
using std::chrono::milliseconds;

constexpr int kCom = 7;
constexpr int kTickMs = 25;

// The virtual ECU behind a real pseudo-terminal, served by the test in the model's own time: what the
// program wrote is read from the master side and handed to the model, what the model sends is written
// back. Pulling the cable closes both sides, as a pulled USB adapter takes its device away.
class EcuOnPseudoTerminal {
public:
    explicit EcuOnPseudoTerminal(std::string portsFolder) : folder(std::move(portsFolder)) {}

    bool Plug(std::string& why) {
        pty = ecusim::PseudoTerminal::Open(why);
        if (pty)
            link = ecusim::PortLink::Create(folder, kCom, pty->slavePath(), why);
        return pty && link;
    }
    void Unplug() {
        link.reset();
        pty.reset();
    }
    void Serve(milliseconds span) {
        nowUs += std::chrono::microseconds(span).count();
        if (!pty) {
            model.advance(span);
            return;
        }
        uint8_t block[512];
        for (std::size_t n; (n = pty->read(block, sizeof block)) > 0;) {
            model.receive(block, n);
            for (std::size_t i = 0; i < n; ++i)
                if (receiver.feed(block[i], nowUs))
                    heard.push_back(receiver.payload());
        }
        const ecusim::Bytes out = model.advance(span);
        if (!out.empty())
            pty->write(out.data(), out.size());
    }

    ecusim::VirtualEcu model;
    Payloads heard;

private:
    std::string folder;
    std::unique_ptr<ecusim::PseudoTerminal> pty;
    std::unique_ptr<ecusim::PortLink> link;
    ecusim::HostFrameReceiver receiver;
    int64_t nowUs = 0;
};

// The real window on its real serial port, the ECU on a pseudo-terminal. The model's time and the link's
// ticks move together in 25 ms steps; the port's bytes move through the kernel and the event loop.
class UploadOnPseudoTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!ecu.Plug(why))
            GTEST_SKIP() << "no pseudo-terminal here: " << why;
        const QString ini = folder.filePath(QStringLiteral("ecusetup.ini"));
        ASSERT_TRUE(WriteFileBytes(ini, "[Main]\r\nComport=COM7\r\n"));
        TForm1Seams seams;
        seams.makePort = [this] { return std::make_unique<QtSerialPort>(PortsFolder()); };
        seams.iniPath = ini;
        seams.userConfigFolder = folder.filePath(QStringLiteral("config"));
        seams.messages = &messages;
        seams.files = &files;
        seams.portQuestion = [] { return 0; };
        seams.processEventsWhile = [this](const std::function<bool()>& keepWaiting) {
            for (int round = 0; keepWaiting() && round < 1000; ++round)
                Step();
        };
        seams.sleepMs = [](int) {};
        window = std::make_unique<TForm1>(std::move(seams));
        auto* actions = window->findChild<SettingsFileActions*>();
        ASSERT_NE(actions, nullptr);
        actions->uploadSeams.runModal = [this](TForm7& dialog) {
            dialog.ttTimer();
            result = dialog.result();
        };
        actions->uploadSeams.sleepMs = [this](int ms) {
            owedMs += ms;
            if (onSleep)
                onSleep(ms);
        };
        actions->uploadSeams.processEvents = [this] {
            for (; owedMs >= kTickMs; owedMs -= kTickMs)
                Step();
            QCoreApplication::processEvents();
        };
    }
    void TearDown() override {
        if (window)
            window->FormClose();
    }

    QString PortsFolder() const { return folder.filePath(QStringLiteral("ports")); }
    // One step of 25 ms: the ECU serves, the event loop moves the bytes, the link ticks.
    void Step() {
        ecu.Serve(milliseconds(kTickMs));
        QCoreApplication::processEvents();
        window->ecu->LinkTick();
        if (window->ecu->WorkerPending())
            window->ecu->WorkerExecute();
        QCoreApplication::processEvents();
    }
    // Steps until the condition holds, with a deadline on the real clock for the kernel's part.
    bool StepUntil(const std::function<bool()>& done, int deadlineMs = 15000) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > deadlineMs)
                return false;
            Step();
        }
        return true;
    }
    bool ConnectedAndReported() {
        return StepUntil(
            [this] { return window->ecu->IsConnected() && window->ecu->StatusReportedSinceConnect(); });
    }

    QTemporaryDir folder;
    EcuOnPseudoTerminal ecu{PortsFolder().toStdString()};
    RecordingMessages messages;
    ScriptedFiles files;
    std::unique_ptr<TForm1> window;
    std::function<void(int ms)> onSleep;
    int owedMs = 0;
    int result = -1;
};

TEST_F(UploadOnPseudoTerminal, TheCablePulledInTheMiddleOfTheMapStopsTheUploadForGood) {
    ASSERT_TRUE(ConnectedAndReported()) << "link state " << window->ecu->linkState;
    for (int i = 0; i < 20; ++i)
        Step(); // whatever the window sent on connecting is through
    const ecusim::EcuSettings before = ecu.model.settings();
    ecu.heard.clear();

    int mapSleeps = 0;
    onSleep = [&](int ms) {
        if (ms == TForm7::kMapByteMs && ++mapSleeps == 6)
            ecu.Unplug();
    };
    const EcuSettingsRecord record = SampleRecord();
    const QString path = folder.filePath(QStringLiteral("car.ECU"));
    ASSERT_TRUE(WriteFileBytes(path, FileBytes(record)));
    files.openAnswers.push_back(path);
    window->VrBlotter1->TntButton3->click();

    // The settings before the map reached the ECU; the map and the start of streaming did not.
    std::string letters;
    for (const Bytes& frame : ecu.heard)
        letters += static_cast<char>(frame[0]);
    ASSERT_EQ(ecu.heard.size(), 14u) << letters;
    const Payloads all = SamplePayloads();
    for (std::size_t i = 0; i < ecu.heard.size(); ++i)
        EXPECT_EQ(ecu.heard[i][0], all[i][0]) << i;
    EXPECT_EQ(ecu.model.settings().rpmDivider, record.rpmDivider);
    EXPECT_EQ(ecu.model.settings().map, before.map);
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message, window->LangText(49));
    EXPECT_EQ(messages.shown[0].button, window->LangText(70));
    EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("---"));
    EXPECT_EQ(window->sb->PanelText(1), window->LangText(15));
    for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
        EXPECT_EQ(window->ecu->engineMap[i], before.map[i]) << "the editor keeps the ECU's map, point " << i;

    // Plugged back: the link finds the ECU again by itself, and nothing more of the file goes out.
    ecu.heard.clear();
    std::string why;
    ASSERT_TRUE(ecu.Plug(why)) << why;
    EXPECT_TRUE(ConnectedAndReported()) << "link state " << window->ecu->linkState;
    EXPECT_EQ(window->sb->PanelText(1), window->LangText(16));
    for (const Bytes& frame : ecu.heard)
        EXPECT_TRUE(frame[0] == 'y' || frame[0] == 'v' || frame[0] == '*')
            << "only the link's own requests, not '" << static_cast<char>(frame[0]) << "'";
    EXPECT_EQ(ecu.model.settings().map, before.map);
}

} // namespace
