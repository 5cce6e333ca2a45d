#include "tests/pages/upload_fixture.h"

#include "app/status_panels.h"
#include "files/settings_backup.h"
#include "pages/calibration_page.h"

#include <QFile>

#include <optional>
#include <string>

namespace {

using namespace EcuFrames;
using namespace UploadTesting;

enum class Fault { PortLostBefore, WriteFailsAt, SilentAfterBusy, BusyThenAnswers };

const char* FaultName(Fault f) {
    switch (f) {
    case Fault::PortLostBefore:
        return "port lost before";
    case Fault::WriteFailsAt:
        return "write fails at";
    case Fault::SilentAfterBusy:
        return "silent after busy at";
    case Fault::BusyThenAnswers:
        return "busy, then answers, at";
    }
    return "";
}

// One step of the upload as the ECU sees it: how many of the upload's frames come before it, whether it
// sends one itself, and whether it comes after the map has been copied into the link's state.
struct Step {
    std::string name;
    int framesBefore;
    bool sendsFrame;
    bool afterCopy;
};

std::vector<Step> UploadSteps() {
    const Payloads frames = SamplePayloads();
    std::vector<Step> steps;
    for (int i = 0; i < 14; ++i)
        steps.push_back(
            {std::string(1, static_cast<char>(frames[i][0])) + " #" + std::to_string(i + 1), i, true, false});
    steps.push_back({"map copy", 14, false, false});
    steps.push_back({"t (map)", 14, true, true});
    steps.push_back({"* (streaming)", 15, true, true});
    return steps;
}

class UploadFaultsTest : public UploadFixture {
protected:
    bool MapCopied() const {
        const EcuSettingsRecord r = SampleRecord();
        for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
            if (window->ecu->engineMap[i] != r.engineMap[i])
                return false;
        return true;
    }
    int UploadFramesHeard() const { return static_cast<int>(ecuSide.heard.size()); }
    bool StepIsNext(const Step& s) const {
        return UploadFramesHeard() == s.framesBefore && MapCopied() == s.afterCopy;
    }
    bool StepJustTaken(const Step& s) const {
        return UploadFramesHeard() == s.framesBefore + (s.sendsFrame ? 1 : 0) &&
               MapCopied() == (s.afterCopy || !s.sendsFrame);
    }

    // Arms the fault to land at the step; it is looked for before the first tick and in every round of
    // event processing.
    void Arm(Fault fault, const Step& step) {
        auto fired = std::make_shared<bool>(false);
        auto roundsSince = std::make_shared<int>(0);
        auto check = [this, fault, step, fired, roundsSince] {
            if (*fired) {
                if (fault == Fault::BusyThenAnswers && ++*roundsSince == 30)
                    Deliver(ecuSide.status.Frame());
                return;
            }
            switch (fault) {
            case Fault::PortLostBefore:
                if (StepIsNext(step)) {
                    *fired = true;
                    fake->failOpen = true; // the adapter stays away
                    fake->unplug();
                }
                break;
            case Fault::WriteFailsAt:
                if (StepIsNext(step)) {
                    *fired = true;
                    fake->failWrite = true;
                }
                break;
            case Fault::SilentAfterBusy:
            case Fault::BusyThenAnswers:
                if (StepJustTaken(step)) {
                    *fired = true;
                    Deliver(BusyReport());
                    ecuSide.silent = fault == Fault::SilentAfterBusy;
                }
                break;
            }
        };
        onEvents = check;
        modalScript = [check](TForm7& dialog) {
            check();
            dialog.ttTimer();
        };
    }
};

// Every step of the upload with every fault: what reached the ECU, what the fitter is told, how the
// dialog ends, and what the window shows afterwards.
TEST_F(UploadFaultsTest, EveryStepWithEveryFault) {
    const EcuSettingsRecord record = SampleRecord();
    const Payloads all = SamplePayloads();
    for (Fault fault :
         {Fault::PortLostBefore, Fault::WriteFailsAt, Fault::SilentAfterBusy, Fault::BusyThenAnswers}) {
        for (const Step& step : UploadSteps()) {
            if (fault == Fault::WriteFailsAt && !step.sendsFrame)
                continue;
            const std::string row = std::string(FaultName(fault)) + " " + step.name;
            StartWindow();
            ConnectAndReport();
            const auto mapBefore = window->ecu->engineMap;
            Arm(fault, step);
            Upload(record);
            ASSERT_EQ(dialogs.size(), 1u) << row;

            const bool completes = fault == Fault::BusyThenAnswers;
            int framesOut = step.framesBefore;
            if (fault == Fault::SilentAfterBusy && step.sendsFrame)
                ++framesOut;
            Payloads expected =
                completes ? Joined(all, ReadbackRequests()) : Payloads(all.begin(), all.begin() + framesOut);
            Payloads heard = dialogs[0].heard;
            // A link that lost a silent ECU asks for its map once a second on its own; that is not the
            // upload.
            if (!completes)
                std::erase(heard, Bytes{'y'});
            EXPECT_EQ(heard, expected) << row;

            if (completes) {
                EXPECT_TRUE(messages.shown.empty()) << row;
            } else {
                ASSERT_EQ(messages.shown.size(), 1u) << row;
                EXPECT_EQ(messages.shown[0].message, window->LangText(49)) << row;
                EXPECT_EQ(messages.shown[0].button, window->LangText(70)) << row;
            }
            EXPECT_EQ(dialogs[0].result, completes ? QDialog::Accepted : QDialog::Rejected) << row;

            const bool portGone = fault == Fault::PortLostBefore;
            const bool linkLost = portGone || fault == Fault::SilentAfterBusy;
            EXPECT_EQ(window->sb->PanelText(0), portGone ? QStringLiteral("---") : QStringLiteral("COM1"))
                << row;
            EXPECT_EQ(window->sb->PanelText(1), window->LangText(linkLost ? 15 : 16)) << row;
            EXPECT_TRUE(HandlersBound()) << row;

            // The editor shows the file's map only once it went to the ECU.
            const bool mapWentOut = completes || framesOut > 14;
            for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
                EXPECT_EQ(window->ecu->engineMap[i], mapWentOut ? record.engineMap[i] : mapBefore[i])
                    << row << " point " << i;
        }
    }
}

// A short write is as much a failure as one that queues nothing, and bytes that fail after they were
// queued end the upload too.
TEST_F(UploadFaultsTest, ShortOrLateWriteFailuresEndTheUpload) {
    struct Case {
        const char* name;
        std::function<void(FakeSerialPort&)> fault;
    };
    const Case cases[] = {
        {"short write", [](FakeSerialPort& p) { p.shortWrite = true; }},
        {"queued bytes failed", [](FakeSerialPort& p) { p.failQueuedWrite(); }},
    };
    for (const Case& c : cases) {
        StartWindow();
        ConnectAndReport();
        onEvents = [this, &c] {
            if (UploadFramesHeard() == 5 && !fake->shortWrite) {
                c.fault(*fake);
                onEvents = nullptr;
            }
        };
        Upload(SampleRecord());
        ASSERT_EQ(dialogs.size(), 1u) << c.name;
        Payloads heard = dialogs[0].heard;
        const Payloads all = SamplePayloads();
        EXPECT_EQ(heard, Payloads(all.begin(), all.begin() + 5)) << c.name;
        EXPECT_EQ(dialogs[0].result, QDialog::Rejected) << c.name;
        ASSERT_EQ(messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages.shown[0].message, window->LangText(49)) << c.name;
    }
}

// The link reopens a lost port by itself about a second later; the upload that failed must not go on
// there, even with the failure message still open.
TEST_F(UploadFaultsTest, APortThatComesBackGetsNothingMoreOfTheUpload) {
    ConnectAndReport();
    onEvents = [this] {
        if (UploadFramesHeard() == 6) {
            onEvents = nullptr;
            fake->unplug(); // and plugged straight back
        }
    };
    messages.onShow = [this] {
        for (int i = 0; i < 3; ++i)
            window->ecu->LinkTick();
        EXPECT_TRUE(window->ecu->IsPortOpen()) << "reopened while the message is shown";
    };
    Upload(SampleRecord());
    ASSERT_EQ(dialogs.size(), 1u);
    const Payloads heard = dialogs[0].heard;
    ASSERT_GE(heard.size(), 6u);
    const Payloads all = SamplePayloads();
    EXPECT_EQ(Payloads(heard.begin(), heard.begin() + 6), Payloads(all.begin(), all.begin() + 6));
    for (std::size_t i = 6; i < heard.size(); ++i)
        EXPECT_EQ(heard[i], Bytes{'y'}) << "only the link's own map request, frame " << i;
    EXPECT_EQ(window->sb->PanelText(1), window->LangText(15));
}

// A loss while the file dialog is open: the upload sends nothing, and the window shows the loss once
// its handlers are back.
TEST_F(UploadFaultsTest, ALossWhileTheFileIsChosenSendsNothingAndShowsTheLoss) {
    for (bool fileChosen : {false, true}) {
        StartWindow();
        ConnectAndReport();
        ASSERT_TRUE(WriteFileBytes(Path("upload.ECU"), FileBytes(SampleRecord())));
        if (fileChosen)
            files.openAnswers.push_back(Path("upload.ECU"));
        files.onChoose = [this] {
            fake->failOpen = true;
            fake->unplug();
        };
        window->VrBlotter1->TntButton3->click();
        files.onChoose = nullptr;
        EXPECT_TRUE(Heard().empty()) << fileChosen;
        EXPECT_EQ(window->sb->PanelText(0), QStringLiteral("---")) << fileChosen;
        EXPECT_EQ(window->sb->PanelText(1), window->LangText(15)) << fileChosen;
        EXPECT_EQ(messages.shown.size(), fileChosen ? 1u : 0u) << fileChosen;
    }
}

// "Completed" means the ECU holds the file: a setting that did not take, or no report back at all,
// is a communication error, shown once.
TEST_F(UploadFaultsTest, ASettingThatDidNotTakeShowsText49Once) {
    struct Case {
        const char* name;
        std::function<void(ScriptedEcu&)> ecu;
    };
    std::vector<Case> cases;
    for (char letter : std::string("nmupdcebl"
                                   "hft"))
        cases.push_back({"ignores ", [letter](ScriptedEcu& e) { e.ignored = static_cast<uint8_t>(letter); }});
    cases.push_back({"never answers the readback", [](ScriptedEcu& e) { e.answersRequests = false; }});
    // Without a report in between, the second tank frame carries the tank Max the ECU held before.
    cases.push_back(
        {"reports nothing after the settings", [](ScriptedEcu& e) { e.reportsAfterSettings = false; }});
    for (const Case& c : cases) {
        StartWindow();
        ecuSide.status.statusBits |= 0x80; // fast change on, so the file's "off" is a change
        ConnectAndReport();
        c.ecu(ecuSide);
        const std::string name =
            c.name + std::string(ecuSide.ignored ? 1 : 0, static_cast<char>(ecuSide.ignored));
        Upload(SampleRecord());
        ASSERT_EQ(dialogs.size(), 1u) << name;
        EXPECT_EQ(dialogs[0].result, QDialog::Rejected) << name;
        ASSERT_EQ(messages.shown.size(), 1u) << name;
        EXPECT_EQ(messages.shown[0].message, window->LangText(49)) << name;
        EXPECT_EQ(messages.shown[0].button, window->LangText(70)) << name;
        const Payloads& heard = dialogs[0].heard;
        const Payloads asked = ReadbackRequests();
        EXPECT_NE(std::search(heard.begin(), heard.end(), asked.begin(), asked.end()), heard.end()) << name;
    }
}

// The wait for the reports is counted in the link's ticks: about the link's own timeout.
TEST_F(UploadFaultsTest, TheReadbackWaitsAsLongAsTheLinkTimeout) {
    ConnectAndReport();
    int ticksAtReadback = -1;
    onEvents = [this, &ticksAtReadback] {
        if (ticksAtReadback < 0 && UploadFramesHeard() == 18)
            ticksAtReadback = static_cast<int>(window->ecu->linkTicks);
    };
    ecuSide.answersRequests = false;
    Upload(SampleRecord());
    ASSERT_GE(ticksAtReadback, 0);
    const int waited = static_cast<int>(window->ecu->linkTicks) - ticksAtReadback;
    EXPECT_GE(waited, 100);
    EXPECT_LE(waited, 102);
    ASSERT_EQ(messages.shown.size(), 1u);
}

// A calibration left running would send its base corrections and requests between the upload's frames.
TEST_F(UploadFaultsTest, LoadFromFileStopsARunningCalibrationFirst) {
    ecuSide.status.reducerTemperature = 7000; // warm: the calibration runs at once
    ConnectAndReport();
    window->ts3->startbtnClick();
    ASSERT_TRUE(window->ecu->calibrationActive);
    // In its correction steps: gas shorter than petrol, so every gas cycle sends "n" and "2".
    window->ecu->calibrationStep = 5;
    window->ecu->petrolAverage = 500;
    Upload(SampleRecord());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].heard, Joined(SamplePayloads(), ReadbackRequests()));
    EXPECT_EQ(dialogs[0].result, QDialog::Accepted);
    EXPECT_FALSE(window->ecu->calibrationActive);
    EXPECT_TRUE(window->ts3->startbtn->isEnabled());
    EXPECT_FALSE(window->ts3->stopbtn->isEnabled());
}

// The undo of an upload: what the ECU reported is kept before anything goes out.
TEST_F(UploadFaultsTest, TheEcuSettingsAreBackedUpBeforeTheFirstFrame) {
    ecuSide.status.baseCorrectionByte = 100;
    ecuSide.status.rpmDivider = 3;
    ecuSide.status.tankMax = 900;
    ecuSide.status.gasInjectorMask = 0x05;
    for (int i = 0; i < 12; ++i)
        ecuSide.mapWire[i] = static_cast<uint8_t>(127 - (40 + i));
    ConnectAndReport();
    const EcuSettingsRecord reported = EcuSettingsRecord::FromEcuState(*window->ecu);
    ASSERT_EQ(reported.tankMax, 900);
    ASSERT_EQ(reported.engineMap[3], 43);
    modalScript = [this](TForm7& dialog) {
        EXPECT_EQ(SettingsBackup::Names(BackupsFolder()).size(), 1u) << "written before the first frame";
        EXPECT_TRUE(Heard().empty());
        dialog.ttTimer();
    };
    Upload(SampleRecord());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].result, QDialog::Accepted);
    const QStringList names = SettingsBackup::Names(BackupsFolder());
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(ReadFileBytes(QDir(BackupsFolder()).filePath(names[0])), FileBytes(reported));
}

TEST_F(UploadFaultsTest, NoBackupNoUpload) {
    struct Case {
        const char* name;
        bool reported;     // the ECU's settings reported on this connection
        bool folderIsFile; // the backups folder cannot be made
        int text;
    };
    const Case cases[] = {
        {"backups folder cannot be made", true, true, 19},
        {"settings not yet reported", false, false, 49},
    };
    for (const Case& c : cases) {
        StartWindow();
        if (c.reported)
            ConnectAndReport();
        else
            Connect();
        Heard();
        if (c.folderIsFile) {
            QDir().mkpath(QFileInfo(BackupsFolder()).path());
            ASSERT_TRUE(WriteFileBytes(BackupsFolder(), "not a folder"));
        }
        Upload(SampleRecord());
        EXPECT_TRUE(dialogs.empty()) << c.name;
        EXPECT_TRUE(Heard().empty()) << c.name;
        ASSERT_EQ(messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages.shown[0].message, window->LangText(c.text)) << c.name;
        EXPECT_EQ(messages.shown[0].button, window->LangText(70)) << c.name;
        EXPECT_TRUE(HandlersBound()) << c.name;
        if (c.folderIsFile)
            QFile::remove(BackupsFolder());
    }
}

} // namespace
