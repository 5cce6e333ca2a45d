#include "pages/engine_map_editor.h"

#include "ecu/tecu.h"
#include "pages/held_mark.h"
#include "pages/map_chart_view.h"
#include "pages/map_point_conversions.h"
#include "pages/two_button_spinner.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAxisBottom = -1.001;
constexpr double kAxisTop = 1.0;
constexpr double kLabelledStep = 5 * MapPoint::kStepMs; // every fifth grid line carries a label
constexpr int kMarkerPixels = 6;
constexpr double kShapeFactor = 0.2;
constexpr int kGridColumns = EngineMapEditor::kPoints + 1;
constexpr int kControlWidth = 84;
constexpr int kAxisLabelPixels = 11;
constexpr int kShapeTickInterval = 10;
constexpr int kSpinnerWidth = 22;
constexpr int kSpinnerHeight = 44;
const QColor kSeriesColour(Qt::blue);
const QColor kBallColour(255, 140, 0, 170);

QImage SquareMarker() {
    QImage image(kMarkerPixels, kMarkerPixels, QImage::Format_ARGB32);
    image.fill(kSeriesColour);
    return image;
}

// Presses on the fixed cell step the selection; presses elsewhere select as usual.
class GridPressFilter : public QObject {
public:
    GridPressFilter(QTableWidget* grid, EngineMapEditor* editor) : QObject(grid), g(grid), owner(editor) {
        grid->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            auto* press = static_cast<QMouseEvent*>(event);
            const QModelIndex cell = g->indexAt(press->position().toPoint());
            if (cell.isValid() && owner->gMouseDown(press->button(), cell.row(), cell.column()))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableWidget* g;
    EngineMapEditor* owner;
};

} // namespace

EngineMapEditor::EngineMapEditor(PageContext& context, QTimer& sendTimer, QWidget* parent)
    : QGroupBox(parent), tt(sendTimer), ctx(context) {
    setObjectName(QStringLiteral("GroupBox1"));
    BuildChart();
    BuildGrid();
    BuildControls();

    auto* chartColumn = new QVBoxLayout;
    chartColumn->setSpacing(0);
    chartColumn->addWidget(ch, 1);
    chartColumn->addWidget(gridRow);
    auto* controls = new QVBoxLayout;
    auto* shaping = new QHBoxLayout;
    shaping->addWidget(bb);
    shaping->addWidget(VrSpinner1, 0, Qt::AlignVCenter);
    controls->addLayout(shaping, 1);
    controls->addWidget(BitBtn1);
    controls->addWidget(BitBtn2);
    controls->addWidget(Button16);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(chartColumn, 1);
    layout->addLayout(controls);

    connect(&tt, &QTimer::timeout, this, &EngineMapEditor::ttTimer);
}

void EngineMapEditor::BuildChart() {
    chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(2, 2, 2, 2));

    x = new QLineSeries;
    x->setObjectName(QStringLiteral("x"));
    QPen line(kSeriesColour);
    line.setWidth(2);
    x->setPen(line);
    x->setLightMarker(SquareMarker());
    x->setMarkerSize(kMarkerPixels);
    x->setPointsVisible(true);
    for (int i = 0; i < kPoints; ++i)
        x->append(i, 0.0);
    chart->addSeries(x);

    auto* top = new QCategoryAxis;
    top->setObjectName(QStringLiteral("chTopAxis"));
    top->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    top->setRange(-0.5, kPoints - 0.5);
    QFont labels = font();
    labels.setBold(false);
    labels.setPixelSize(kAxisLabelPixels);
    top->setLabelsFont(labels);
    // At 800 pixels "1000" is a little wider than its point's share: shown whole, it still clears the "-".
    top->setTruncateLabels(false);
    chart->addAxis(top, Qt::AlignTop);
    x->attachAxis(top);

    auto* left = new QValueAxis;
    left->setObjectName(QStringLiteral("chLeftAxis"));
    left->setRange(kAxisBottom, kAxisTop);
    left->setTickType(QValueAxis::TicksDynamic);
    left->setTickAnchor(0.0);
    left->setTickInterval(kLabelledStep);
    left->setMinorTickCount(4);
    left->setMinorGridLineColor(QColor(232, 232, 232));
    left->setLabelFormat(QStringLiteral("%.2f ms"));
    left->setLabelsFont(labels);
    chart->addAxis(left, Qt::AlignLeft);
    x->attachAxis(left);

    ch = new MapChartView(chart, this);
    ch->setObjectName(QStringLiteral("ch"));
    ch->afterDraw = [this](QPainter& painter) { chAfterDraw(painter); };
    ch->mouseMove = [this](int y, Qt::KeyboardModifiers modifiers) { chMouseMove(y, modifiers); };
    ch->mouseUp = [this](Qt::MouseButton button) { chMouseUp(button); };
    connect(x, &QLineSeries::pressed, this, [this](const QPointF& point) {
        chClickSeries(ch->PressedButton(), static_cast<int>(std::lround(point.x())));
    });
    connect(x, &QLineSeries::hovered, this, [this](const QPointF&, bool over) {
        if (over)
            ch->viewport()->setCursor(Qt::SizeVerCursor);
        else
            ch->viewport()->unsetCursor();
    });
}

void EngineMapEditor::BuildGrid() {
    // The grid is placed by hand inside its row, so that its cells follow the chart's points.
    gridRow = new QWidget(this);
    g = new QTableWidget(1, kGridColumns, gridRow);
    g->setObjectName(QStringLiteral("g"));
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::ContiguousSelection);
    g->setSelectionBehavior(QAbstractItemView::SelectItems);
    g->horizontalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < kGridColumns; ++c) {
        auto* cell = new QTableWidgetItem;
        cell->setTextAlignment(Qt::AlignCenter);
        g->setItem(0, c, cell);
    }
    QTableWidgetItem* fixed = g->item(0, 0);
    fixed->setFlags(Qt::ItemIsEnabled);
    fixed->setBackground(palette().button());
    g->setFixedHeight(g->rowHeight(0) + 2 * g->frameWidth());
    gridRow->setFixedHeight(g->height());
    g->setCurrentCell(0, 1);
    new GridPressFilter(g, this);
}

QPushButton* EngineMapEditor::ActionButton(QAction* action, const QString& name) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus); // the grid keeps its selection and the focus
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] { button->setText(action->text()); });
    return button;
}

void EngineMapEditor::BuildControls() {
    bb = new QSlider(Qt::Vertical, this);
    bb->setObjectName(QStringLiteral("bb"));
    bb->setRange(-kShapeLimit, kShapeLimit);
    bb->setValue(0);
    bb->setTickPosition(QSlider::TicksBothSides);
    bb->setTickInterval(kShapeTickInterval);
    connect(bb, &QSlider::valueChanged, this, &EngineMapEditor::bbChange);
    new HeldMark(
        bb, [this] { bbMouseDown(); }, [this] { bbMouseUp(); });
    VrSpinner1 = new TwoButtonSpinner(Qt::Vertical, QStringLiteral("VrSpinner1"), this);
    VrSpinner1->setFixedSize(kSpinnerWidth, kSpinnerHeight);
    connect(VrSpinner1, &TwoButtonSpinner::upClick, this, &EngineMapEditor::VrSpinner1UpClick);
    connect(VrSpinner1, &TwoButtonSpinner::downClick, this, &EngineMapEditor::VrSpinner1DownClick);

    yukari = new QAction(this);
    yukari->setObjectName(QStringLiteral("yukari"));
    yukari->setShortcut(Qt::Key_F8);
    connect(yukari, &QAction::triggered, this, &EngineMapEditor::yukariExecute);
    asagi = new QAction(this);
    asagi->setObjectName(QStringLiteral("asagi"));
    asagi->setShortcut(Qt::Key_F7);
    connect(asagi, &QAction::triggered, this, &EngineMapEditor::asagiExecute);
    BitBtn1 = ActionButton(yukari, QStringLiteral("BitBtn1"));
    BitBtn2 = ActionButton(asagi, QStringLiteral("BitBtn2"));
    Button16 = new QPushButton(this);
    Button16->setObjectName(QStringLiteral("Button16"));
    connect(Button16, &QPushButton::clicked, this, &EngineMapEditor::Button16Click);
    for (QPushButton* button : {BitBtn1, BitBtn2, Button16})
        button->setFixedWidth(kControlWidth);
}

void EngineMapEditor::SetPointLabels(const QStringList& labels) {
    auto* top = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    for (const QString& old : top->categoriesLabels())
        top->remove(old);
    // Category labels must differ; the repeated "-" labels differ by invisible zero-width spaces.
    for (int i = 0; i < labels.size() && i < kPoints; ++i)
        top->append(labels[i] + QString(i, QChar(0x200B)), i);
}

double EngineMapEditor::PointValue(int i) const {
    return x->at(i).y();
}

void EngineMapEditor::SetPoint(int i, double value) {
    x->replace(i, QPointF(i, value));
}

void EngineMapEditor::SetCell(int i, int step) {
    g->item(0, i + 1)->setText(QString::number(step));
}

bool EngineMapEditor::CellStep(int i, int& step) const {
    bool ok = false;
    step = g->item(0, i + 1)->text().toInt(&ok);
    return ok;
}

void EngineMapEditor::Redraw() {
    ch->viewport()->update();
}

void EngineMapEditor::ShowEngineMap() {
    if (!ctx.ecu)
        return;
    QList<QPointF> points;
    for (int i = 0; i < kPoints; ++i) {
        const int32_t b = ctx.ecu->engineMap[i];
        points.append(QPointF(i, MapPoint::ValueOfByte(b)));
        SetCell(i, b - MapPoint::kZero);
    }
    x->replace(points);
    Redraw();
}

// The link connects only after a map report, and the connection shows that map here; before that the
// chart and the state hold start values, and an edit would overwrite the ECU's own map with them.
bool EngineMapEditor::MapArrived() const {
    return ctx.ecu && ctx.ecu->IsConnected();
}

void EngineMapEditor::SendMapFromChart() {
    if (!MapArrived())
        return;
    for (int i = 0; i < kPoints; ++i)
        ctx.ecu->engineMap[i] = MapPoint::ByteOfValue(PointValue(i));
    ctx.ecu->SendMap();
    Redraw();
}

void EngineMapEditor::StepSelectedPoints(bool up) {
    if (!MapArrived())
        return;
    const QList<QTableWidgetSelectionRange> ranges = g->selectedRanges();
    if (ranges.isEmpty())
        return;
    int leftColumn = kGridColumns;
    int rightColumn = 0;
    for (const QTableWidgetSelectionRange& range : ranges) {
        leftColumn = std::min(leftColumn, range.leftColumn());
        rightColumn = std::max(rightColumn, range.rightColumn());
    }
    leftColumn = std::max(leftColumn, 1);
    // Cells without a number are skipped; with none stepped nothing is sent.
    bool stepped = false;
    for (int c = leftColumn; c <= rightColumn; ++c) {
        int step = 0;
        if (!CellStep(c - 1, step))
            continue;
        stepped = true;
        step = MapPoint::LimitStep(step + (up ? 1 : -1));
        SetCell(c - 1, step);
        SetPoint(c - 1, step * MapPoint::kStepMs);
    }
    if (!stepped)
        return;
    Redraw();
    tt.start();
}

void EngineMapEditor::ttTimer() {
    tt.stop();
    SendMapFromChart();
}

void EngineMapEditor::chClickSeries(Qt::MouseButton button, int index) {
    if (button != Qt::LeftButton || !MapArrived())
        return;
    dragIndex = std::clamp(index, 0, kPoints - 1);
    dragging = true;
}

void EngineMapEditor::chMouseMove(int y, Qt::KeyboardModifiers modifiers) {
    if (!dragging)
        return;
    const QRectF plot = chart->plotArea();
    const double top = plot.top();
    const double bottom = plot.bottom();
    if (bottom <= top)
        return;
    const double v = std::clamp(1.0 - (y - top) * 2.0 / (bottom - top), -1.0, 1.0);
    auto set = [&](int i) {
        SetPoint(i, v);
        SetCell(i, MapPoint::StepOfValue(v));
    };
    set(dragIndex);
    if (modifiers & Qt::ShiftModifier) {
        for (int i = 0; i < dragIndex; ++i)
            set(i);
    }
    if (modifiers & Qt::ControlModifier) {
        for (int i = dragIndex; i < kPoints; ++i)
            set(i);
    }
    Redraw();
}

void EngineMapEditor::chMouseUp(Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    dragging = false;
    SendMapFromChart();
}

double EngineMapEditor::PixelOf(double xPosition) const {
    return chart->mapToPosition(QPointF(xPosition, 0.0), x).x();
}

EngineMapEditor::SpeedMarks EngineMapEditor::SpeedMarksFor(int32_t rpm) const {
    SpeedMarks marks;
    const double p0 = PixelOf(0);
    const double p1 = PixelOf(1);
    marks.lineX = static_cast<int>(p0);
    if (p1 > p0) {
        const double rpmPerPixel = kRpmPerPoint / (p1 - p0);
        marks.lineX = std::max(static_cast<int>(p0 + rpm / rpmPerPixel - kRpmPerPoint / rpmPerPixel),
                               static_cast<int>(p0));
    }
    marks.ballIndex = rpm < kRpmPerPoint ? 0 : std::min(rpm / kRpmPerPoint - 1, kPoints - 1);
    return marks;
}

// Cells 1 to 12 stand under their points: one point spacing each, the grid shifted to match.
void EngineMapEditor::FollowPointColumns() {
    const double p0 = PixelOf(0);
    const double p11 = PixelOf(kPoints - 1);
    if (p0 == lastP0 && p11 == lastP11)
        return;
    lastP0 = p0;
    lastP11 = p11;
    const int width = static_cast<int>(p11 - p0) / (kPoints - 1);
    if (width <= 0)
        return;
    for (int c = 0; c < kGridColumns; ++c)
        g->setColumnWidth(c, width);
    g->setColumnWidth(0, kFixedColumnWidth);
    g->setColumnWidth(kGridColumns - 1, kLastColumnWidth);
    const QPoint chartOrigin = ch->mapTo(this, ch->mapFromScene(chart->mapToScene(QPointF(0, 0))));
    const int left = chartOrigin.x() - gridRow->x() + static_cast<int>(p0) - width / 2 - kFixedColumnWidth -
                     g->frameWidth();
    g->setFixedWidth(kFixedColumnWidth + (kPoints - 1) * width + kLastColumnWidth + 2 * g->frameWidth());
    g->move(std::max(left, 0), 0);
}

void EngineMapEditor::DrawSpeedMarks(QPainter& painter) {
    const int32_t rpm = ctx.ecu ? ctx.ecu->rpm : 0;
    const SpeedMarks marks = SpeedMarksFor(rpm);
    const QRectF plot = chart->plotArea();
    painter.setTransform(QTransform::fromTranslate(chart->pos().x(), chart->pos().y()), true);
    painter.setPen(QPen(kSeriesColour, 1));
    painter.drawLine(QPointF(marks.lineX, plot.top()), QPointF(marks.lineX, plot.bottom()));
    const QPointF ball = chart->mapToPosition(x->at(marks.ballIndex), x);
    painter.setBrush(kBallColour);
    painter.drawEllipse(ball, kBallRadius, kBallRadius);
}

void EngineMapEditor::chAfterDraw(QPainter& painter) {
    FollowPointColumns();
    DrawSpeedMarks(painter);
}

bool EngineMapEditor::gMouseDown(Qt::MouseButton button, int row, int column) {
    if (row != 0 || column != 0)
        return false;
    if (button == Qt::LeftButton)
        StepSelectedPoints(true);
    else if (button == Qt::RightButton)
        StepSelectedPoints(false);
    return true;
}

void EngineMapEditor::bbChange(int position) {
    if (!MapArrived())
        return;
    const int base = ctx.ecu->engineMap[0] - MapPoint::kZero;
    for (int i = 1; i < kPoints; ++i) {
        const int n = MapPoint::LimitStep(static_cast<int>(position * std::sin(kShapeFactor * i) + base));
        ctx.ecu->engineMap[i] = n + MapPoint::kZero;
    }
    if (!bbHeld)
        ctx.ecu->SendMap();
    ShowEngineMap();
}

void EngineMapEditor::bbMouseDown() {
    bbHeld = true;
}

void EngineMapEditor::bbMouseUp() {
    bbHeld = false;
    if (MapArrived())
        ctx.ecu->SendMap();
}

void EngineMapEditor::VrSpinner1UpClick() {
    bb->setValue(bb->value() + 1);
}

void EngineMapEditor::VrSpinner1DownClick() {
    bb->setValue(bb->value() - 1);
}

void EngineMapEditor::yukariExecute() {
    StepSelectedPoints(true);
}

void EngineMapEditor::asagiExecute() {
    StepSelectedPoints(false);
}

void EngineMapEditor::Button16Click() {
    if (!MapArrived())
        return;
    const double y0 = PointValue(0);
    {
        const QSignalBlocker quiet(bb);
        bb->setValue(0);
    }
    for (int i = 1; i < kPoints; ++i) {
        SetPoint(i, y0);
        SetCell(i, MapPoint::StepOfValue(y0));
    }
    SendMapFromChart();
}
