#include "app/tform1.h"

#include "app/caption_table.h"
#include "app/message_dialog.h"
#include "app/page_tabs.h"
#include "app/program_settings.h"
#include "app/program_settings_panel.h"
#include "app/qt_file_chooser.h"
#include "app/select_port_dialog.h"
#include "app/status_panels.h"
#include "app/window_placement.h"
#include "ecu/com_port_names.h"
#include "ecu/tecu.h"
#include "ecu/user_config_folder.h"
#include "pages/calibration_page.h"
#include "pages/cylinder_strip.h"
#include "pages/graphic_page.h"
#include "pages/injector_test_page.h"
#include "pages/options_page.h"
#include "pages/sensors_page.h"
#include "pages/settings_file_actions.h"
#include "pages/status_page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>

namespace {
constexpr int kTabWidth = 98;
constexpr int kTabHeight = 30;
constexpr int kShutdownWaitMs = 100;
const char* const kCharsetProperty = "charset";
} // namespace

TForm1::TForm1(TForm1Seams windowSeams, QWidget* parent)
    : QMainWindow(parent), seams(std::move(windowSeams)) {
    fileDialogs = std::make_unique<QtFileChooser>(this);
    context.language = &languageTable;
    context.messages = this;
    context.files = seams.files ? seams.files : fileDialogs.get();
    BuildFrame();
    BuildPages();
    qApp->installEventFilter(this);
    FormCreate();
    RestorePlacement();
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    FormClose();
}

void TForm1::BuildFrame() {
    setObjectName(QStringLiteral("Form1"));
    resize(kWidth, kHeight);
    setMinimumSize(kMinWidth, kMinHeight);
    // The strip stays on the left and every control where the fitter knows it in every language; Qt's
    // Arabic and Farsi translations would otherwise mirror the program, and its painted scales with it.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // Tahoma where the machine has it; else a font of about its width, so the captions fit as drawn.
    // DejaVu Sans carries the Arabic and Farsi letters, Loma the Thai ones.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Loma")});
    font.setPixelSize(kFontPixels);
    font.setBold(true);
    setFont(font);

    auto* client = new QWidget(this);
    auto* row = new QHBoxLayout(client);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    VrBlotter1 = new CylinderStrip(context, client);
    VrBlotter2 = new QWidget(client);
    VrBlotter2->setObjectName(QStringLiteral("VrBlotter2"));
    VrBlotter3 = new ProgramSettingsPanel(*this, client);
    connect(VrBlotter1->Button17, &QPushButton::clicked, VrBlotter3, &ProgramSettingsPanel::Button17Click);
    row->addWidget(VrBlotter1);
    row->addWidget(VrBlotter2, 1);
    row->addWidget(VrBlotter3, 1);
    setCentralWidget(client);

    sb = new StatusPanels(this);
    setStatusBar(sb);
}

void TForm1::BuildPages() {
    auto* area = new QHBoxLayout(VrBlotter2);
    area->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new PageTabWidget(kTabWidth, VrBlotter2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    // On the tab bar only: a style sheet on the tab widget would stop the pages inheriting the window font.
    PageControl1->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { height: %1px; padding: 0 4px; }").arg(kTabHeight));
    area->addWidget(PageControl1);

    tsdurum = new StatusPage(context);
    TabSheet2 = new GraphicPage(context);
    ts1 = new SensorsPage(context);
    ts2 = new OptionsPage(context);
    ts3 = new CalibrationPage(context);
    ts3->CalSens = [this] { return calSens; };
    ts4 = new InjectorTestPage(context);
    for (QWidget* page : std::initializer_list<QWidget*>{tsdurum, TabSheet2, ts1, ts2, ts3, ts4})
        PageControl1->addTab(page, QString());
    sinks = {VrBlotter1, tsdurum, TabSheet2, ts1, ts2, ts3, ts4};
    // The map editor's F7 and F8 work on every page.
    addActions(ts3->MapActions());
    auto* fileActions = new SettingsFileActions(context, *this, [this] {
        BindEvents();
        ShowLinkStateMissedWhileUnbound();
    });
    fileActions->backupsFolder =
        QDir(seams.userConfigFolder.isEmpty() ? UserConfigFolder() : seams.userConfigFolder)
            .filePath(QStringLiteral("backups"));
    connect(fileActions, &SettingsFileActions::calibrationStopRequested, ts3, &CalibrationPage::stopbtnClick);
    connect(VrBlotter1->TntButton2, &QPushButton::clicked, fileActions,
            &SettingsFileActions::TntButton2Click);
    connect(VrBlotter1->TntButton3, &QPushButton::clicked, fileActions,
            &SettingsFileActions::TntButton3Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageShown);
}

QString TForm1::IniPath() const {
    if (!seams.iniPath.isEmpty())
        return seams.iniPath;
    const QString path =
        ProgramSettings::IniPathFor(QCoreApplication::applicationFilePath(), UserConfigFolder());
    // Beside the executable the folder is there already; in the user's configuration it may not be.
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

void TForm1::FormCreate() {
    setWindowTitle(QString::fromLatin1(kCaption));
    languageTable.Clear();

    const ProgramSettings::Values settings = ProgramSettings::Read(IniPath());
    ApplyLanguage(LanguageTable::DisplayNameForCode(settings.language));
    sb->SetPanelText(0, settings.comport);
    ts3->InitMapSeries();

    ecu = new Tecu(seams.makePort ? seams.makePort() : nullptr, this);
    context.ecu = ecu;
    ecu->Port().setPortQuestion(seams.portQuestion ? seams.portQuestion
                                                   : SelectPortDialog::QuestionFor(ecu->Port(), this));
    if (settings.comport.startsWith(QLatin1String("COM")))
        ecu->SetPort(ComPortNames::PortNumberFromText(settings.comport));
    calSens = settings.calSens;
    ecu->SetCalibrationSensitivity(static_cast<uint32_t>(calSens));

    if (!ecu->OpenPort()) {
        sb->SetPanelText(0, QStringLiteral("COM ---"));
        sb->Panel(0)->setToolTip(QString::fromStdString(ecu->Port().lastError()));
    }

    VrBlotter2->show();
    VrBlotter3->hide();
    BindEvents();
    ecu->eventsEnabled = true;
    ecu->RefreshAll();
}

void TForm1::FormShow() {
    msgdlg = new Tmsgdlg(this);
    msgdlg->setFont(font());
    msgdlg->Button1->setText(LangText(70));
}

void TForm1::FormClose() {
    if (closed)
        return;
    closed = true;
    KeepPlacement();
    // A map change waiting in the editor goes out before the link goes down.
    WaitWhile([this] { return ts3->MapSendPending(); });
    ecu->eventsEnabled = false;
    ecu->ClearEventHandlers();
    ecu->StopStreaming();
    Sleep(kShutdownWaitMs);
    ecu->Disconnect();
    WaitWhile([this] { return ecu->IsPortOpen(); });
    context.ecu = nullptr;
    delete ecu;
    ecu = nullptr;
    VrBlotter3->FreeIniFile();
    languageTable.Clear();
    delete msgdlg;
    msgdlg = nullptr;
}

QString TForm1::PlacementPath() const {
    return WindowPlacementFile::PathBesideIni(IniPath());
}

// On the screen the window last stood on, or the main one when that screen is gone; a missing or
// damaged file keeps the default size, centred.
void TForm1::RestorePlacement() {
    const std::optional<WindowPlacement> kept = WindowPlacementFile::Read(PlacementPath());
    if (!kept)
        return;
    const QScreen* screen = QGuiApplication::screenAt(kept->normal.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    setGeometry(WindowPlacementFile::FitInside(kept->normal, screen->availableGeometry(), minimumSize()));
    if (kept->maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// Only a window the fitter has seen has a place worth keeping.
void TForm1::KeepPlacement() {
    if (!shown)
        return;
    const bool maximised = windowState() & Qt::WindowMaximized;
    const QRect normal = maximised ? normalGeometry() : geometry();
    WindowPlacementFile::Write(PlacementPath(), {normal.isValid() ? normal : geometry(), maximised});
}

void TForm1::WaitWhile(const std::function<bool()>& keepWaiting) {
    if (seams.processEventsWhile) {
        seams.processEventsWhile(keepWaiting);
        return;
    }
    while (keepWaiting())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TForm1::Sleep(int ms) {
    if (seams.sleepMs)
        seams.sleepMs(ms);
    else
        QThread::msleep(static_cast<unsigned long>(ms));
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown) {
        shown = true;
        FormShow();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::ApplyLanguage(const QString& displayName) {
    dialogTranslation.Switch(
        LanguageTable::CodeForPosition(LanguageTable::PositionForDisplayName(displayName)));
    languageTable.Load(displayName);
    const int charset = languageTable.Charset();
    // Qt is Unicode throughout: the character set is kept as a hint for the window's font.
    setProperty(kCharsetProperty, charset);
    CaptionTable::Apply(*this, languageTable);
    // The table's captions are the start texts; the link and the fuel are shown as they stand now.
    if (ecu) {
        sb->SetPanelText(1, LangText(ecu->IsConnected() ? 16 : 15));
        VrBlotter1->ShowFuelMode(ecu->gasMode);
    }
}

void TForm1::ShowModalMessage(const QString& message, const QString& buttonCaption) {
    if (msgdlg)
        msgdlg->SetTexts(message, buttonCaption);
    if (seams.messages)
        seams.messages->ShowModalMessage(message, buttonCaption);
    else if (msgdlg)
        msgdlg->ShowModalMessage(message, buttonCaption);
}

bool TForm1::FormKeyDown(int key) {
    switch (key) {
    case Qt::Key_F2:
        VrBlotter1->TntButton1Click();
        return true;
    case Qt::Key_F4:
        VrBlotter1->Button3Click();
        return true;
    case Qt::Key_F5:
        VrBlotter1->Button2Click();
        return true;
    default:
        return false;
    }
}

// Key preview: the window sees every key of its own widgets before the focused control does.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::PageShown(int index) {
    QWidget* page = PageControl1->widget(index);
    if (page != tsdurum && page != TabSheet2 && page != ts4)
        return;
    repaint();
    if (ecu)
        ecu->RefreshAll();
}

template <class... Params, class... Args>
void TForm1::ForEachSink(void (EcuEventSink::*handler)(Params...), Args... args) {
    for (EcuEventSink* sink : sinks)
        (sink->*handler)(args...);
}

void TForm1::BindEvents() {
    ecu->eventsEnabled = false;
    ecu->ClearEventHandlers();
    ecu->OnRpm.bind(this, &TForm1::ShowRpm);
    ecu->OnRpmPinChanged.bind(this, &TForm1::ShowRpmPin);
    for (int n = 0; n < Tecu::kCylinders; ++n)
        ecu->OnInjectionTime[n].bind([this, n](int32_t v) { ShowInjectionTime(n + 1, v); });
    ecu->OnCylinderStatus.bind(this, &TForm1::ShowCylinderStatus);
    ecu->OnGasModeChanged.bind(this, &TForm1::ShowFuelMode);
    ecu->OnLambda.bind(this, &TForm1::ShowLambda);
    ecu->OnSwitchTemperatureChanged.bind(this, &TForm1::ShowSwitchTemperature);
    ecu->OnReducerTemperature.bind(this, &TForm1::ShowReducerTemperature);
    ecu->OnTankSensor.bind(this, &TForm1::ShowTankSensor);
    ecu->OnRpmDividerChanged.bind(this, &TForm1::ShowRpmDivider);
    ecu->OnTankMaxChanged.bind(this, &TForm1::ShowTankMax);
    ecu->OnTankMinChanged.bind(this, &TForm1::ShowTankMin);
    ecu->OnBaseCorrectionChanged.bind(this, &TForm1::ShowBaseCorrection);
    ecu->OnInjectorProtectionChanged.bind(this, &TForm1::ShowInjectorProtection);
    ecu->OnLinkLost.bind(this, &TForm1::ShowLinkLost);
    ecu->OnConnected.bind(this, &TForm1::ShowConnected);
    ecu->OnMapReceived.bind(this, &TForm1::ShowEngineMap);
    ecu->OnCalibrationProgress.bind(this, &TForm1::ShowCalibrationProgress);
    ecu->OnInjectorTestChanged.bind(this, &TForm1::ShowInjectorTest);
    ecu->OnGasInjectorsChanged.bind(this, &TForm1::ShowGasInjectors);
    ecu->OnGasPressure.bind(this, &TForm1::ShowGasPressure);
    ecu->OnMinGasPressureChanged.bind(this, &TForm1::ShowMinGasPressure);
    ecu->OnMapSensorChanged.bind(this, &TForm1::ShowMapSensor);
    ecu->OnFastChangeChanged.bind(this, &TForm1::ShowFastChange);
    ecu->OnSwitchRpmChanged.bind(this, &TForm1::ShowSwitchRpm);
    ecu->OnPortLost.bind(this, &TForm1::ShowPortLost);
    ecu->OnPortReopened.bind(this, &TForm1::ShowPortReopened);
    ecu->eventsEnabled = true;
}

void TForm1::ShowConnected() {
    sb->SetPanelText(1, LangText(16));
    sb->SetPanelText(2, QStringLiteral("Ecu Ver:%1.%2").arg(ecu->ecuVersionMajor).arg(ecu->ecuVersionMinor));
    ForEachSink(&EcuEventSink::ShowConnected);
    ecu->eventsEnabled = true;
    ecu->RefreshAll();
    ecu->RequestMap();
}

// The adapter is away: panel 0 says so until the link has the port again.
void TForm1::ShowPortLost() {
    sb->SetPanelText(0, QStringLiteral("---"));
}

void TForm1::ShowPortReopened() {
    sb->SetPanelText(0, ComPortNames::PortText(ecu->PortNumber()));
}

// A loss of the port or the link while the handlers were detached raised its events into empty slots.
void TForm1::ShowLinkStateMissedWhileUnbound() {
    if (!ecu->IsPortOpen() && ecu->ReopeningLostPort())
        ShowPortLost();
    if (!ecu->IsConnected())
        ShowLinkLost();
}

void TForm1::ShowLinkLost() {
    sb->SetPanelText(1, LangText(15));
    ForEachSink(&EcuEventSink::ShowLinkLost);
}

void TForm1::ShowRpm(int32_t v) {
    ForEachSink(&EcuEventSink::ShowRpm, v);
}
void TForm1::ShowRpmPin(int32_t v) {
    ForEachSink(&EcuEventSink::ShowRpmPin, v);
}
void TForm1::ShowInjectionTime(int cylinder, int32_t v) {
    ForEachSink(&EcuEventSink::ShowInjectionTime, cylinder, v);
}
void TForm1::ShowCylinderStatus(int32_t v) {
    ForEachSink(&EcuEventSink::ShowCylinderStatus, v);
}
void TForm1::ShowFuelMode(int32_t v) {
    ForEachSink(&EcuEventSink::ShowFuelMode, v);
}
void TForm1::ShowLambda(int32_t v) {
    ForEachSink(&EcuEventSink::ShowLambda, v);
}
void TForm1::ShowSwitchTemperature(int32_t v) {
    ForEachSink(&EcuEventSink::ShowSwitchTemperature, v);
}
void TForm1::ShowReducerTemperature(int32_t v) {
    ForEachSink(&EcuEventSink::ShowReducerTemperature, v);
}
void TForm1::ShowTankSensor(int32_t v) {
    ForEachSink(&EcuEventSink::ShowTankSensor, v);
}
void TForm1::ShowRpmDivider(int32_t v) {
    ForEachSink(&EcuEventSink::ShowRpmDivider, v);
}
void TForm1::ShowTankMax(int32_t v) {
    ForEachSink(&EcuEventSink::ShowTankMax, v);
}
void TForm1::ShowTankMin(int32_t v) {
    ForEachSink(&EcuEventSink::ShowTankMin, v);
}
void TForm1::ShowBaseCorrection(int32_t v) {
    ForEachSink(&EcuEventSink::ShowBaseCorrection, v);
}
void TForm1::ShowInjectorProtection(int32_t v) {
    ForEachSink(&EcuEventSink::ShowInjectorProtection, v);
}
void TForm1::ShowEngineMap() {
    ForEachSink(&EcuEventSink::ShowEngineMap);
}
void TForm1::ShowCalibrationProgress(int32_t step, int32_t count, int32_t code) {
    ForEachSink(&EcuEventSink::ShowCalibrationProgress, step, count, code);
}
void TForm1::ShowInjectorTest(int32_t v) {
    ForEachSink(&EcuEventSink::ShowInjectorTest, v);
}
void TForm1::ShowGasInjectors(int32_t v) {
    ForEachSink(&EcuEventSink::ShowGasInjectors, v);
}
void TForm1::ShowGasPressure(int32_t v) {
    ForEachSink(&EcuEventSink::ShowGasPressure, v);
}
void TForm1::ShowMinGasPressure(int32_t v) {
    ForEachSink(&EcuEventSink::ShowMinGasPressure, v);
}
void TForm1::ShowMapSensor(int32_t v) {
    ForEachSink(&EcuEventSink::ShowMapSensor, v);
}
void TForm1::ShowFastChange(int32_t v) {
    ForEachSink(&EcuEventSink::ShowFastChange, v);
}
void TForm1::ShowSwitchRpm(int32_t v) {
    ForEachSink(&EcuEventSink::ShowSwitchRpm, v);
}
