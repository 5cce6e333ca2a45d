#include "pages/graphic_page.h"

#include "app/file_chooser.h"
#include "app/format_number.h"
#include "app/message_presenter.h"
#include "ecu/tecu.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGraphicsLineItem>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

struct CurveLook {
    const char* check;
    const char* readout;
    const char* series;
    const char* title; // never shown
    QColor colour;
};

const CurveLook kLooks[GraphicPage::kCurves] = {
    {"ch1", "Label42", "Series1", "RPM", QColor(Qt::red)},
    {"ch2", "Label68", "Series2", "ENJ", QColor(Qt::yellow)},
    {"ch3", "Label43", "Series3", "MAP", QColor(Qt::cyan)},
    {"ch4", "Label69", "Series4", "VAKUM", QColor(Qt::magenta)},
};

// The ECU's values are sampled into the series in this order.
constexpr int kAddOrder[GraphicPage::kCurves] = {0, 1, 3, 2};

// Each read-out undoes its curve's scaling, so one pointer row reads in all four units at once.
const std::function<QString(double)> kReadouts[GraphicPage::kCurves] = {
    [](double v) { return QString::number(static_cast<qint64>(std::trunc(v * 10))); },
    [](double v) { return FormatNumber(v * 0.02, 2) + QStringLiteral(" mS"); },
    [](double v) { return FormatNumber(v * 0.004887585532746823, 2) + QStringLiteral(" V"); },
    [](double v) {
        return FormatNumber(std::max(0.0, v * 0.0044803225806451605), 2) + QStringLiteral(" bar");
    },
};

constexpr int kLineWidth = 2;
constexpr int kReadoutGap = 6; // after the widest reading, before the next check box
constexpr int kButtonWidth = 96;
constexpr double kRangeMargin = 0.04; // keeps a flat curve at the edge clear of the frame
// Beyond this the read-out is of a pointer far outside any sane range; it would not fit an integer.
constexpr double kReadoutLimit = 1e12;

const QColor kPlotBackground(0x10, 0x10, 0x18);
const QColor kGridColour(0x48, 0x48, 0x58);
const QColor kCrosshairColour(0x40, 0x70, 0xff);

} // namespace

GraphicPage::GraphicPage(PageContext& context, QWidget* parent)
    : EcuPage(context, QStringLiteral("TabSheet2"), parent) {
    logt = new QTimer(this);
    logt->setObjectName(QStringLiteral("logt"));
    logt->setInterval(kTickMs);
    connect(logt, &QTimer::timeout, this, &GraphicPage::logtTimer);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(BuildPanel());
    BuildChart();
    page->addWidget(Chart1, 1);
}

GraphicPage::~GraphicPage() {
    logt->stop();
}

QWidget* GraphicPage::BuildPanel() {
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    QCheckBox** checks[kCurves] = {&ch1, &ch2, &ch3, &ch4};
    QLabel** readouts[kCurves] = {&Label42, &Label68, &Label43, &Label69};
    for (int i = 0; i < kCurves; ++i) {
        Curve& curve = curves[i];
        curve.check = *checks[i] = new QCheckBox(panel);
        curve.check->setObjectName(QString::fromLatin1(kLooks[i].check));
        // A palette, not a style sheet: a style sheet would cut the box off from the window's font.
        QPalette colours = curve.check->palette();
        colours.setColor(QPalette::Window, kLooks[i].colour);
        colours.setColor(QPalette::WindowText, Qt::black);
        curve.check->setPalette(colours);
        curve.check->setBackgroundRole(QPalette::Window);
        curve.check->setAutoFillBackground(true);
        curve.check->setContentsMargins(3, 2, 6, 2);
        connect(curve.check, &QCheckBox::toggled, this, [this, i] { chClick(i); });
        curve.readout = *readouts[i] = new QLabel(QStringLiteral("0"), panel);
        curve.readout->setObjectName(QString::fromLatin1(kLooks[i].readout));
        // As wide as the widest reading, so the four curves and the buttons share one row at 800 pixels
        // even with a long caption.
        curve.readout->setMinimumWidth(
            curve.readout->fontMetrics().horizontalAdvance(FormatNumber(88.88, 2) + QStringLiteral(" bar")) +
            kReadoutGap);
        // Two curves a row, each read-out beside its check box.
        grid->addWidget(curve.check, i / 2, (i % 2) * 2);
        grid->addWidget(curve.readout, i / 2, (i % 2) * 2 + 1);
    }
    grid->setColumnStretch(4, 1);
    auto makeButton = [panel](const char* name, int row, int column, QGridLayout* layout) {
        auto* button = new QPushButton(panel);
        button->setObjectName(QString::fromLatin1(name));
        button->setMinimumWidth(kButtonWidth);
        layout->addWidget(button, row, column);
        return button;
    };
    Button19 = makeButton("Button19", 0, 5, grid);
    Button22 = makeButton("Button22", 0, 6, grid);
    Button18 = makeButton("Button18", 1, 6, grid);
    connect(Button19, &QPushButton::clicked, this, &GraphicPage::Button19Click);
    connect(Button22, &QPushButton::clicked, this, &GraphicPage::Button22Click);
    connect(Button18, &QPushButton::clicked, this, &GraphicPage::Button18Click);
    return panel;
}

void GraphicPage::BuildChart() {
    auto* chart = new QChart();
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(kPlotBackground);
    chart->setPlotAreaBackgroundVisible(true);

    bottomAxis = new QValueAxis(chart);
    bottomAxis->setVisible(false);
    leftAxis = new QValueAxis(chart);
    leftAxis->setLabelsVisible(false);
    leftAxis->setGridLineColor(kGridColour);
    leftAxis->setMinorGridLineVisible(false);
    chart->addAxis(bottomAxis, Qt::AlignBottom);
    chart->addAxis(leftAxis, Qt::AlignLeft);

    QLineSeries** lines[kCurves] = {&Series1, &Series2, &Series3, &Series4};
    for (int i = 0; i < kCurves; ++i) {
        auto* line = *lines[i] = new QLineSeries(chart);
        line->setObjectName(QString::fromLatin1(kLooks[i].series));
        line->setName(QString::fromLatin1(kLooks[i].title));
        QPen pen(kLooks[i].colour);
        pen.setWidth(kLineWidth);
        line->setPen(pen);
        line->setPointsVisible(false);
        chart->addSeries(line);
        line->attachAxis(bottomAxis);
        line->attachAxis(leftAxis);
        line->setVisible(false);
        curves[i].line = line;
    }

    Chart1 = new QChartView(chart, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setRubberBand(QChartView::RectangleRubberBand);
    Chart1->setMouseTracking(true);
    Chart1->viewport()->setCursor(Qt::CrossCursor);
    Chart1->viewport()->installEventFilter(this);

    crosshair = new QGraphicsLineItem(chart);
    crosshair->setPen(QPen(kCrosshairColour, 1));
    crosshair->setZValue(100);
    connect(chart, &QChart::plotAreaChanged, this, &GraphicPage::Chart1AfterDraw);
    SetAxes();
}

bool GraphicPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Chart1->viewport())
        return EcuPage::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseMove) {
        const QPointF inChart =
            Chart1->chart()->mapFromScene(Chart1->mapToScene(mouse->position().toPoint()));
        Chart1MouseMove(qRound(inChart.y()));
    } else if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::RightButton) {
        // A right click undoes the whole zoom at once instead of Qt's one step out.
        Chart1->chart()->zoomReset();
        RefreshChart();
        return true;
    }
    return false;
}

void GraphicPage::chClick(int curve) {
    curves[curve].line->setVisible(curves[curve].check->isChecked());
    RefreshChart();
}

void GraphicPage::logtTimer() {
    if (!ctx.ecu)
        return;
    TakeSamples();
    AddPoints({logRpm * 0.1, logInjection * 0.5, static_cast<double>(logLambda),
               static_cast<double>(logGasPressure)});
}

void GraphicPage::TakeSamples() {
    const Tecu& ecu = *ctx.ecu;
    logRpm = static_cast<uint32_t>(ecu.rpm);
    logInjection = static_cast<uint32_t>(ecu.injectionTime[0]);
    logGasPressure = static_cast<uint32_t>(ecu.gasPressure);
    logLambda = static_cast<uint32_t>(ecu.lambda);
}

void GraphicPage::AddPoints(const std::array<double, kCurves>& values) {
    for (int i : kAddOrder)
        curves[i].history.Append(values[i]);
    WriteLogLine();
    if (VisiblePages() > shownPage + 1) {
        ++shownPage;
        Chart1->chart()->zoomReset(); // a zoom into the old page shows nothing of the new one
    }
    RefreshChart();
}

std::size_t GraphicPage::VisiblePages() const {
    std::size_t points = 0;
    for (const Curve& curve : curves) {
        if (curve.check->isChecked())
            points = std::max(points, curve.history.Count());
    }
    return GraphSeries::PageCount(points);
}

void GraphicPage::RefreshChart() {
    for (Curve& curve : curves)
        SyncLine(curve);
    SetAxes();
}

// Hands the chart the points of the page shown, and only those: one point more per tick, or the
// whole page (at most 300) when the page or the curve's visibility has changed.
void GraphicPage::SyncLine(Curve& curve) {
    if (!curve.check->isChecked()) {
        if (curve.line->count() > 0)
            curve.line->clear();
        return;
    }
    const std::size_t want = curve.history.PagePointCount(shownPage);
    const auto have = static_cast<std::size_t>(curve.line->count());
    if (curve.linePage == shownPage && have + 1 == want) {
        const std::size_t index = GraphSeries::PageStart(shownPage) + have;
        curve.line->append(static_cast<double>(index), curve.history.At(index));
    } else if (curve.linePage != shownPage || have != want) {
        curve.line->replace(curve.history.PagePoints(shownPage));
        curve.linePage = shownPage;
    }
}

void GraphicPage::SetAxes() {
    if (Chart1->chart()->isZoomed())
        return;
    // A partly filled page is drawn at the width of a full one, so the curves sweep from the left.
    const auto start = static_cast<double>(GraphSeries::PageStart(shownPage));
    bottomAxis->setRange(start, start + GraphSeries::kPointsPerPage - 1);

    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const Curve& curve : curves) {
        for (const QPointF& point : curve.line->points()) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    if (low > high)
        return; // nothing drawn: the axis keeps its range
    const double margin = high > low ? (high - low) * kRangeMargin : 1.0;
    leftAxis->setRange(low - margin, high + margin);
}

void GraphicPage::Chart1MouseMove(int row) {
    cursorY = row;
    const QRectF plot = Chart1->chart()->plotArea();
    if (plot.height() > 0) {
        const double value =
            leftAxis->max() - (row - plot.top()) / plot.height() * (leftAxis->max() - leftAxis->min());
        ShowReadouts(value);
    }
    Chart1AfterDraw();
    Chart1->viewport()->update();
}

void GraphicPage::ShowReadouts(double value) {
    if (!std::isfinite(value) || std::abs(value) > kReadoutLimit)
        return;
    for (int i = 0; i < kCurves; ++i)
        curves[i].readout->setText(kReadouts[i](value));
}

void GraphicPage::Chart1AfterDraw() {
    const QRectF plot = Chart1->chart()->plotArea();
    const double y = std::clamp(static_cast<double>(cursorY), plot.top(), plot.bottom());
    crosshair->setLine(plot.left(), y, plot.right(), y);
}

void GraphicPage::Button18Click() {
    for (Curve& curve : curves)
        curve.history.Clear();
    shownPage = 0;
    RefreshChart();
}

void GraphicPage::Button19Click() {
    if (logt->isActive())
        logt->stop();
    else
        logt->start();
    Button19->setText(ctx.LangText(logt->isActive() ? 17 : 18));
}

void GraphicPage::Button22Click() {
    if (recording) {
        EndRecording();
        return;
    }
    if (!ctx.files)
        return;
    const QString path = ctx.files->ChooseSaveFile(
        FileDialogRequest{QStringLiteral("Log files|*.log"), QStringLiteral("log"), true});
    if (path.isEmpty())
        return;
    if (!logFile.Start(path)) {
        ShowFileError();
        return;
    }
    recording = true;
    Button22->setText(ctx.LangText(84));
}

void GraphicPage::WriteLogLine() {
    if (!recording)
        return;
    logMode = ctx.ecu && ctx.ecu->gasMode ? 'G' : 'B';
    if (logFile.Write({logRpm, logInjection, logGasPressure, logLambda, logMode}))
        return;
    // A lost line must not go unnoticed while the button still says it records.
    EndRecording();
    ShowFileError();
}

void GraphicPage::EndRecording() {
    recording = false;
    logFile.Stop();
    Button22->setText(ctx.LangText(85));
}

void GraphicPage::ShowFileError() {
    if (ctx.messages)
        ctx.messages->ShowModalMessage(ctx.LangText(19), ctx.LangText(70));
}
