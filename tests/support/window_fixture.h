#pragma once

#include "app/file_chooser.h"
#include "app/message_presenter.h"
#include "app/tform1.h"
#include "ecu/tecu.h"
#include "tests/support/ecu_frames.h"
#include "tests/support/fake_serial_port.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Records every modal message instead of showing it.
class RecordingMessages : public MessagePresenter {
public:
    struct Shown {
        QString message;
        QString button;
    };
    void ShowModalMessage(const QString& message, const QString& buttonCaption) override {
        shown.push_back({message, buttonCaption});
        if (onShow)
            onShow();
    }
    std::vector<Shown> shown;
    std::function<void()> onShow; // runs while the "dialog" is open
};

// Answers the file dialogs from a script; an empty queue answers "cancelled".
class ScriptedFiles : public FileChooser {
public:
    QString ChooseSaveFile(const FileDialogRequest& request) override { return Answer(request, saveAnswers); }
    QString ChooseOpenFile(const FileDialogRequest& request) override { return Answer(request, openAnswers); }

    std::deque<QString> saveAnswers;
    std::deque<QString> openAnswers;
    std::vector<FileDialogRequest> requests;
    std::function<void()> onChoose; // runs while the "dialog" is open

private:
    QString Answer(const FileDialogRequest& request, std::deque<QString>& answers) {
        requests.push_back(request);
        if (onChoose)
            onChoose();
        if (answers.empty())
            return {};
        QString name = answers.front();
        answers.pop_front();
        return name;
    }
};

// The real main window on a fake serial port, with its INI in a temporary folder and every dialog
// and wait replaced. Nothing here sleeps or blocks.
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture();
    ~WindowFixture() override;

    // Writes the INI the window reads at start; call before CreateWindow.
    void WriteIni(const QByteArray& content);
    void CreateWindow();
    // Runs the handshake to a connected link, version 2.7 unless given.
    void Connect(int major = 2, int minor = 7);
    void Deliver(const EcuFrames::Bytes& bytes) { fake->deliver(bytes); }
    // A report delivered and handed to the window by one worker pass.
    void DeliverAndDispatch(const EcuFrames::Bytes& bytes);
    // The worker pass the link has asked for, as the event loop would run it.
    void RunPendingWorker();
    void Ticks(int n);
    std::vector<uint8_t> Written() { return fake->takeWritten(); }
    void ShowPage(QWidget* page);
    void CloseWindow();

    QTemporaryDir folder;
    QString iniPath;
    FakeSerialPort* fake = nullptr; // owned by the link
    std::vector<int> portAvailable{1};
    bool portOpens = true;
    // The answer to the port question for port 0 (0 is "Cancel"), and how often it was asked.
    int portAnswer = 0;
    int portQuestions = 0;
    RecordingMessages messages;
    ScriptedFiles files;
    std::unique_ptr<TForm1> window;
    // The shutdown's waits, in order: "sleep 100" and the bytes written before each.
    std::vector<std::string> shutdownLog;
    std::function<void()> waitStep; // one round of "processing events" in a wait
};
