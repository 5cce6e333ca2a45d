#include "tests/support/window_fixture.h"

#include "tests/support/handshake.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>

using namespace EcuFrames;

namespace {
constexpr int kWaitRounds = 10000; // a wait that never ends fails the test instead of hanging it

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    for (uint8_t b : bytes)
        out += (b >= 0x20 && b < 0x7f) ? std::string(1, static_cast<char>(b)) : "<" + std::to_string(b) + ">";
    return out;
}
} // namespace

WindowFixture::WindowFixture() : iniPath(folder.filePath(QStringLiteral("ecusetup.ini"))) {}

WindowFixture::~WindowFixture() {
    CloseWindow();
}

void WindowFixture::WriteIni(const QByteArray& content) {
    QFile file(iniPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void WindowFixture::CreateWindow() {
    TForm1Seams seams;
    seams.makePort = [this] {
        auto port = std::make_unique<FakeSerialPort>();
        port->available.insert(portAvailable.begin(), portAvailable.end());
        port->failOpen = !portOpens;
        fake = port.get();
        return port;
    };
    seams.iniPath = iniPath;
    seams.userConfigFolder = folder.filePath(QStringLiteral("config"));
    seams.portQuestion = [this] {
        ++portQuestions;
        return portAnswer;
    };
    seams.messages = &messages;
    seams.files = &files;
    seams.processEventsWhile = [this](const std::function<bool()>& keepWaiting) {
        for (int round = 0; keepWaiting(); ++round) {
            if (round >= kWaitRounds) {
                ADD_FAILURE() << "a wait of the shutdown never ends";
                return;
            }
            if (waitStep)
                waitStep();
            QCoreApplication::processEvents();
        }
    };
    seams.sleepMs = [this](int ms) {
        fake->onClose = [this] {
            shutdownLog.push_back(Hex(fake->takeWritten()));
            shutdownLog.push_back("closed");
        };
        shutdownLog.push_back(Hex(fake->takeWritten()));
        shutdownLog.push_back("sleep " + std::to_string(ms));
    };
    window = std::make_unique<TForm1>(std::move(seams));
}

void WindowFixture::Connect(int major, int minor) {
    ASSERT_TRUE(window && fake);
    if (!fake->isOpen()) {
        ASSERT_TRUE(window->ecu->OpenPort());
    }
    RunHandshake(*window->ecu, *fake, static_cast<uint8_t>(major), static_cast<uint8_t>(minor));
    RunPendingWorker();
    ASSERT_TRUE(window->ecu->IsConnected());
    Written();
}

void WindowFixture::DeliverAndDispatch(const Bytes& bytes) {
    Deliver(bytes);
    RunPendingWorker();
}

void WindowFixture::RunPendingWorker() {
    if (window->ecu->WorkerPending())
        window->ecu->WorkerExecute();
}

void WindowFixture::Ticks(int n) {
    for (int i = 0; i < n; ++i)
        window->ecu->LinkTick();
}

void WindowFixture::ShowPage(QWidget* page) {
    window->PageControl1->setCurrentWidget(page);
}

void WindowFixture::CloseWindow() {
    if (!window)
        return;
    window->FormClose();
    fake = nullptr; // went with the link
    window.reset();
}
