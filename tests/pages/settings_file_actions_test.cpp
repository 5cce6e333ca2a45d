#include "tests/pages/upload_fixture.h"
#include "tests/support/window_bench.h"

#include "files/ecu_settings_file.h"
#include "files/ecu_settings_record.h"
#include "files/settings_upload_dialog.h"
#include "pages/calibration_page.h"
#include "pages/cylinder_strip.h"
#include "pages/engine_map_editor.h"
#include "pages/map_point_conversions.h"
#include "pages/settings_file_actions.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <numeric>
#include <optional>

namespace {

using namespace EcuFrames;
using namespace UploadTesting;

void WriteFile(const QString& path, const QByteArray& content) {
    ASSERT_TRUE(WriteFileBytes(path, content));
}

class SettingsFileActionsTest : public UploadFixture {
protected:
    void Save(const QString& name) {
        files.saveAnswers.push_back(Path(name));
        window->VrBlotter1->TntButton2->click();
    }
};

TEST_F(SettingsFileActionsTest, SavedFileLoadsBackAsTheSameRecord) {
    Connect();
    Status status;
    status.baseCorrectionByte = 100;
    status.rpmDivider = 3;
    status.tankMax = 900;
    status.gasInjectorMask = 0x05;
    status.switchRpmIndex = 4;
    DeliverAndDispatch(status.Frame());
    DeliverAndDispatch(MapReportOfValues({30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41}));
    const EcuSettingsRecord state = EcuSettingsRecord::FromEcuState(*window->ecu);
    ASSERT_EQ(state.tankMax, 900);

    files.onChoose = [this] { EXPECT_FALSE(window->ecu->eventsEnabled) << "pages quiet while saving"; };
    Save("car");
    EXPECT_TRUE(window->ecu->eventsEnabled);
    EXPECT_EQ(ReadFileBytes(Path("car.DEF")), FileBytes(state));

    files.onChoose = [this] { EXPECT_FALSE(HandlersBound()) << "no handlers while loading"; };
    modalScript = [](TForm7&) {};
    Load("car");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].record, state);
    EXPECT_TRUE(HandlersBound());
    EXPECT_TRUE(window->ecu->eventsEnabled);
    EXPECT_TRUE(messages.shown.empty());

    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[0].filter, QStringLiteral("Ecu files|*.ECU"));
    EXPECT_EQ(files.requests[0].defaultExtension, QStringLiteral("ECU"));
    EXPECT_TRUE(files.requests[0].overwritePrompt);
    EXPECT_EQ(files.requests[1].filter, QStringLiteral("Ecu Files|*.ECU"));
    EXPECT_EQ(files.requests[1].defaultExtension, QStringLiteral("ECU"));
}

TEST_F(SettingsFileActionsTest, SaveWithTheLinkDownWritesTheStartValues) {
    Save("start.ECU");
    EcuSettingsRecord saved;
    const QByteArray bytes = ReadFileBytes(Path("start.ECU"));
    ASSERT_EQ(EcuSettingsRecord::Parse(
                  std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size()), saved),
              EcuSettingsRecord::Check::Passed);
    EXPECT_EQ(saved.tankMax, 1000);
    EXPECT_EQ(saved.tankMin, 10);
    EXPECT_EQ(saved.rpmDivider, 1);
    for (uint8_t point : saved.engineMap)
        EXPECT_EQ(point, 32);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsFileActionsTest, CancelledSaveWritesNothing) {
    window->VrBlotter1->TntButton2->click();
    EXPECT_TRUE(window->ecu->eventsEnabled);
    EXPECT_TRUE(QDir(folder.path()).entryList({"*.ECU", "*.DEF"}, QDir::Files).isEmpty());
}

TEST_F(SettingsFileActionsTest, FailedSaveShowsText19AndKeepsTheOldFile) {
    // No temporary name fits beside so long a name, so the save fails even for root.
    const QString name = QString(250, u'n') + QStringLiteral(".ECU");
    WriteFile(Path(name), "the old settings");
    Save(name);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message, window->LangText(19));
    EXPECT_EQ(messages.shown[0].button, window->LangText(70));
    EXPECT_EQ(ReadFileBytes(Path(name)), QByteArray("the old settings"));
    EXPECT_TRUE(window->ecu->eventsEnabled);
}

TEST_F(SettingsFileActionsTest, LoadWhileNotConnectedDoesNothingAtAll) {
    files.openAnswers.push_back(Path("any.ECU"));
    for (const char* state : {"connecting", "lost"}) {
        if (std::string(state) == "lost") {
            Connect();
            Ticks(150);
            ASSERT_FALSE(window->ecu->IsConnected());
        }
        Written();
        window->VrBlotter1->TntButton3->click();
        EXPECT_TRUE(files.requests.empty()) << state;
        EXPECT_TRUE(messages.shown.empty()) << state;
        EXPECT_TRUE(Written().empty()) << state;
        EXPECT_TRUE(HandlersBound()) << state;
    }
}

TEST_F(SettingsFileActionsTest, BadFilesShowTheirTextAndSendNothing) {
    EcuSettingsRecord::Bytes wrongCase = SampleRecord().Serialise();
    wrongCase[1] = 'O';
    // Keep the checksum right, so only the header can fail.
    const uint32_t sum = EcuSettingsRecord::Checksum(wrongCase);
    for (int i = 0; i < 4; ++i)
        wrongCase[EcuSettingsRecord::kChecksumOffset + i] = static_cast<uint8_t>(sum >> (8 * i));
    QByteArray reservedChanged = FileBytes(SampleRecord());
    reservedChanged[115] = 1;
    struct Case {
        const char* name;
        QByteArray content; // null: no such file
        int text;
    };
    const Case cases[] = {
        {"missing.ECU", {}, 20},
        {"header.ECU", AsFileBytes(wrongCase), 21},
        {"reserved.ECU", reservedChanged, 22},
        {"short.ECU", FileBytes(SampleRecord()).left(150), 22},
    };
    Connect();
    for (const Case& c : cases) {
        messages.shown.clear();
        if (!c.content.isNull())
            WriteFile(Path(c.name), c.content);
        Load(c.name);
        ASSERT_EQ(messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages.shown[0].message, window->LangText(c.text)) << c.name;
        EXPECT_EQ(messages.shown[0].button, window->LangText(70)) << c.name;
        EXPECT_TRUE(dialogs.empty()) << c.name;
        EXPECT_TRUE(Written().empty()) << c.name;
        EXPECT_TRUE(HandlersBound()) << c.name;
    }
}

TEST_F(SettingsFileActionsTest, DialogShowsItsTextsInTheWindowsFont) {
    ConnectAndReport();
    modalScript = [this](TForm7& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ORVANTO ECU SETUP"));
        EXPECT_EQ(dialog.Label1->text(), window->LangText(47));
        EXPECT_EQ(dialog.Btn1->text(), window->LangText(48));
        EXPECT_EQ(dialog.size(), QSize(431, 240));
        EXPECT_EQ(dialog.font(), window->font());
        EXPECT_EQ(dialog.pr->minimum(), 0);
        EXPECT_EQ(dialog.pr->maximum(), 29);
        EXPECT_EQ(dialog.pr->value(), 0);
        EXPECT_TRUE(dialog.tt.isActive());
        EXPECT_EQ(dialog.tt.interval(), 1000);
    };
    Upload(SampleRecord());
    EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(SettingsFileActionsTest, UploadSendsEverySettingInOrderAndRestartsStreaming) {
    ConnectAndReport();
    Upload(SampleRecord());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].heard, Joined(SamplePayloads(), ReadbackRequests()));
    EXPECT_EQ(dialogs[0].result, QDialog::Accepted);
    EXPECT_EQ(dialogs[0].bar, 29);
    EXPECT_EQ(SleptMs(10), 17 * 10 + 1) << "ten short sleeps in each of the 17 waits, one for the readback";
    EXPECT_EQ(SleptMs(100), 12) << "one per map byte";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(HandlersBound());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(window->ecu->engineMap[i], 20 + 3 * i);
}

// A file with a good checksum can still hold map points beyond 0..127; they go out at the top end
// instead of wrapping into an unrelated correction.
TEST_F(SettingsFileActionsTest, MapPointsBeyondTheMapGoOutAtItsTopEnd) {
    ConnectAndReport();
    EcuSettingsRecord record = SampleRecord();
    record.engineMap[0] = 128;
    record.engineMap[5] = 255;
    Upload(record);
    EXPECT_EQ(window->ecu->engineMap[0], 127);
    EXPECT_EQ(window->ecu->engineMap[5], 127);
    EXPECT_EQ(window->ecu->engineMap[1], 23);
    EXPECT_TRUE(messages.shown.empty());
}

// A value the command refuses is not sent, and the upload goes on at the same pace; the ECU is not
// expected to report what was never sent.
TEST_F(SettingsFileActionsTest, RefusedOrClippedValuesStillTakeTheirWait) {
    struct Case {
        const char* name;
        std::function<void(EcuSettingsRecord&)> change;
        std::function<void(Payloads&)> expect; // from SamplePayloads; an emptied payload is not sent
    };
    const Case cases[] = {
        {"divider 0", [](auto& r) { r.rpmDivider = 0; }, [](auto& p) { p[6] = {}; }},
        {"divider 9", [](auto& r) { r.rpmDivider = 9; }, [](auto& p) { p[6] = {}; }},
        {"temperature 0", [](auto& r) { r.switchTemperature = 0; }, [](auto& p) { p[7] = {}; }},
        {"temperature 1020", [](auto& r) { r.switchTemperature = 1020; }, [](auto& p) { p[7] = {}; }},
        // The second tank frame then carries the tank Max the ECU still holds.
        {"tank max 1023", [](auto& r) { r.tankMax = 1023; },
         [](auto& p) {
             p[10] = {};
             p[11] = {'l', 0xE8, 0x03, 17, 0};
         }},
        {"tank min 0", [](auto& r) { r.tankMin = 0; }, [](auto& p) { p[11] = {}; }},
        {"base correction 200", [](auto& r) { r.baseCorrection = 200; },
         [](auto& p) {
             p[1] = p[2] = Bytes{'n', 0};
         }},
        {"switch rpm 12", [](auto& r) { r.switchRpmIndex = 12; },
         [](auto& p) {
             p[8] = Bytes{'e', 0};
         }},
    };
    for (const Case& c : cases) {
        StartWindow();
        ConnectAndReport();
        EcuSettingsRecord record = SampleRecord();
        c.change(record);
        Payloads expected = SamplePayloads();
        c.expect(expected);
        std::erase_if(expected, [](const Bytes& p) { return p.empty(); });
        Upload(record);
        ASSERT_EQ(dialogs.size(), 1u) << c.name;
        EXPECT_EQ(dialogs[0].heard, Joined(expected, ReadbackRequests())) << c.name;
        EXPECT_EQ(dialogs[0].result, QDialog::Accepted) << c.name;
        EXPECT_EQ(dialogs[0].bar, 29) << c.name;
        EXPECT_EQ(SleptMs(10), 171) << c.name;
    }
}

TEST_F(SettingsFileActionsTest, CancelWorksOnlyBeforeTheFirstTick) {
    ConnectAndReport();
    modalScript = [](TForm7& dialog) {
        dialog.Btn1->click();
        dialog.ttTimer(); // a tick that was already due changes nothing
    };
    Upload(SampleRecord());
    EXPECT_TRUE(Heard().empty());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].result, QDialog::Rejected);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_TRUE(HandlersBound());

    dialogs.clear();
    modalScript = [](TForm7& dialog) { dialog.ttTimer(); };
    onSleep = [this](int number) {
        if (number == 5) {
            current->Btn1->click();
            current->reject();
        }
    };
    Upload(SampleRecord());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].heard, Joined(SamplePayloads(), ReadbackRequests()));
    EXPECT_EQ(dialogs[0].result, QDialog::Accepted);
}

TEST_F(SettingsFileActionsTest, EcuThatStaysBusyFailsTheUploadAfterAboutTenSeconds) {
    ConnectAndReport();
    // Busy while it takes the injector bits (the fourth wait), and never heard from again.
    onSleep = [this](int number) {
        if (number == 35) {
            Deliver(BusyReport());
            ecuSide.silent = true;
        }
    };
    Upload(SampleRecord());
    ASSERT_EQ(dialogs.size(), 1u);
    Payloads heard = dialogs[0].heard;
    // The link, having lost the silent ECU, asks for its map once a second; that is not the upload.
    std::erase(heard, Bytes{'y'});
    const Payloads all = SamplePayloads();
    EXPECT_EQ(heard, Payloads(all.begin(), all.begin() + 4)) << "nothing after the failure, no '*'";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message, window->LangText(49));
    EXPECT_EQ(messages.shown[0].button, window->LangText(70));
    const int busyMs = std::accumulate(sleeps.begin() + 40, sleeps.end(), 0);
    EXPECT_GE(busyMs, 10000);
    EXPECT_LE(busyMs, 10100);
    EXPECT_EQ(dialogs[0].result, QDialog::Rejected);
    EXPECT_TRUE(HandlersBound());
}

// The whole road against the virtual ECU: the sleeps let simulated time pass, event processing
// delivers what the ECU sent meanwhile and runs the link's timer.
class SettingsUploadOnTheVirtualEcu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bench.connect());
        auto* actions = bench.window().findChild<SettingsFileActions*>();
        ASSERT_NE(actions, nullptr);
        actions->uploadSeams.runModal = [](TForm7& dialog) { dialog.ttTimer(); };
        actions->uploadSeams.sleepMs = [this](int ms) {
            owedMs += ms;
            sleptMs += ms;
        };
        actions->uploadSeams.processEvents = [this] {
            for (; owedMs >= WindowBench::kStep.count(); owedMs -= WindowBench::kStep.count())
                bench.runFor(WindowBench::kStep);
        };
    }
    void Upload(const EcuSettingsRecord& record) {
        const QString path = folder.filePath(QStringLiteral("car.ECU"));
        WriteFile(path, FileBytes(record));
        bench.files.openAnswers.push_back(path);
        bench.window().VrBlotter1->TntButton3->click();
    }

    QTemporaryDir folder;
    WindowBench bench;
    int owedMs = 0;
    int sleptMs = 0;
};

TEST_F(SettingsUploadOnTheVirtualEcu, TheEcuTakesTheFileAndTheEditorShowsItsMap) {
    const EcuSettingsRecord r = SampleRecord();
    Upload(r);
    EXPECT_TRUE(bench.messages.shown.empty());
    const ecusim::EcuSettings& s = bench.ecu().settings();
    EXPECT_EQ(s.baseCorrection, r.baseCorrection);
    EXPECT_EQ(s.gasInjectorMask, r.gasInjectorMask);
    EXPECT_EQ(s.rpmPin, r.rpmPin != 0);
    EXPECT_EQ(s.mapSensor, r.mapSensor != 0);
    EXPECT_EQ(s.fastChange, r.fastChange != 0);
    EXPECT_EQ(s.injectorProtection, r.injectorProtection);
    EXPECT_EQ(s.rpmDivider, r.rpmDivider);
    EXPECT_EQ(s.switchTemperature, r.switchTemperature & 0xFF);
    EXPECT_EQ(s.switchRpmIndex, r.switchRpmIndex);
    EXPECT_EQ(s.minGasPressure, r.minGasPressure);
    EXPECT_EQ(s.tankMax, r.tankMax);
    EXPECT_EQ(s.tankMin, r.tankMin);
    EXPECT_TRUE(bench.ecu().streaming());
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(s.map[i], r.engineMap[i]) << i;
        EXPECT_EQ(bench.window().ecu->engineMap[i], r.engineMap[i]) << i;
        EXPECT_DOUBLE_EQ(bench.window().ts3->GroupBox1->PointValue(i), MapPoint::ValueOfByte(r.engineMap[i]))
            << i;
    }
}

TEST_F(SettingsUploadOnTheVirtualEcu, AnEcuBusyForeverEndsTheUploadWithText49) {
    bench.ecu().faults().busyForever = true;
    Upload(SampleRecord());
    ASSERT_EQ(bench.messages.shown.size(), 1u);
    EXPECT_EQ(bench.messages.shown[0].message, bench.window().LangText(49));
    EXPECT_FALSE(bench.ecu().streaming()) << "streaming is not started after a failure";
    EXPECT_GE(sleptMs, 10000);
    EXPECT_LE(sleptMs, 11000);
}

} // namespace
