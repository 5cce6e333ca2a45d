#pragma once

#include "widgets/value_range.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

class QPainter;

// A round dial with a needle. Angles are in degrees, clockwise from 12 o'clock: a tachometer with
// start angle 240 and arc 240 sweeps from lower left over the top to lower right. A dial whose arc
// is 180 degrees or less draws only its sector, so it can stand at the edge of a frame.
class AngularMeter : public QWidget {
    Q_OBJECT

public:
    // A coloured band along the scale, in scale units; the ends may come in either order and are
    // held inside the range when drawn.
    struct Zone {
        double from = 0.0;
        double to = 0.0;
        QColor color;
        bool operator==(const Zone&) const = default;
    };
    // What is written at the long ticks: nothing, the scale values, or the given texts.
    enum class ScaleLabels { None, Numbers, Texts };

    static constexpr int kMaxTickCount = 500;

    explicit AngularMeter(QWidget* parent = nullptr);

    // The ends may come in either order; a range with an end that is not finite is ignored. The
    // position is held inside the new range.
    void SetRange(double minimum, double maximum);
    double Minimum() const { return range.low; }
    double Maximum() const { return range.high; }
    // Held inside the range: a value beyond either end puts the needle at that end.
    void SetPosition(double value);
    double Position() const { return position; }

    void SetStartAngle(double degrees); // not finite: ignored
    double StartAngle() const { return startAngle; }
    void SetArcAngle(double degrees); // held inside 0 to 360; not finite: ignored
    double ArcAngle() const { return arcAngle; }
    // Angle of a value on this dial: StartAngle() at the minimum, StartAngle() + ArcAngle() at the
    // maximum (not reduced to 0..360), the value held inside the range first.
    double AngleFor(double value) const;
    // Where the needle is drawn: it follows Position() whenever its tip would move a quarter of a
    // pixel or more, so noise too small to see costs no repaint.
    double NeedleAngle() const { return AngleFor(shownPosition); }
    // Where the mark of a value lies, in widget coordinates, at a share of the dial's radius (1 is
    // the rim): for texts that the dial's owner places round the scale.
    QPointF ScalePoint(double value, double radiusShare) const;

    // Number of divisions of the scale: TickCount() + 1 marks from end to end (a full circle
    // leaves out the last, which would lie on the first). Held inside 0 to kMaxTickCount.
    void SetTickCount(int divisions);
    int TickCount() const { return tickCount; }
    // Every n-th mark, counted from the start mark, is long; 0 makes none long.
    void SetLongTickInterval(int n);
    int LongTickInterval() const { return longTickInterval; }

    void SetZones(const QList<Zone>& zones);
    QList<Zone> Zones() const { return zones; }

    // Text inside the dial, opposite the middle of the arc on a round dial.
    void SetCaption(const QString& text);
    QString Caption() const { return caption; }

    void SetScaleLabels(ScaleLabels kind);
    ScaleLabels Labels() const { return labels; }
    // With ScaleLabels::Texts: one text per long tick in order; a list of another length is
    // spread evenly from the start to the end of the arc.
    void SetLabelTexts(const QStringList& texts);
    QStringList LabelTexts() const { return labelTexts; }
    // Decimals of the numbers with ScaleLabels::Numbers; held inside 0 to 6.
    void SetLabelDecimals(int decimals);
    int LabelDecimals() const { return labelDecimals; }

    void SetFaceColor(const QColor& color);
    QColor FaceColor() const { return faceColor; }
    // Ticks, labels and caption.
    void SetScaleColor(const QColor& color);
    QColor ScaleColor() const { return scaleColor; }
    void SetNeedleColor(const QColor& color);
    QColor NeedleColor() const { return needleColor; }

    QSize sizeHint() const override { return {160, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Layout;
    struct Label {
        double fraction;
        QString text;
    };

    bool FullFace() const { return arcAngle > 180.0; }
    Layout ComputeLayout() const;
    QList<Label> LabelPlaces() const;
    void PaintFace(QPainter& p, const Layout& l) const;
    void PaintZones(QPainter& p, const Layout& l) const;
    void PaintTicks(QPainter& p, const Layout& l) const;
    void PaintLabels(QPainter& p, const Layout& l) const;
    void PaintCaption(QPainter& p, const Layout& l) const;
    QPolygonF NeedleShape(double r) const;
    QRect NeedleRect(double value) const;
    void PaintNeedle(QPainter& p) const; // on the kept face's centre and radius
    QPixmap BlankPicture(QSize pixels) const;
    static QRectF HubRect(QPointF centre, double r);
    // Draws the hub over the needle's foot into its own kept picture.
    void PaintHub(QPointF centre, double r);
    // The kept face matches the widget's size and pixel ratio.
    bool FaceIsCurrent() const;
    // How far the needle's tip travels between two values, in pixels.
    double TipTravel(double from, double to) const;
    // Draws everything but the needle into the kept face.
    void PaintStill(const Layout& l);
    // The look changed: the kept face is drawn again at the next paint.
    void DropFace();

    ValueRange range{0.0, 100.0};
    double position = 0.0;
    double shownPosition = 0.0;
    double startAngle = 240.0;
    double arcAngle = 240.0;
    int tickCount = 10;
    int longTickInterval = 2;
    QList<Zone> zones;
    QString caption;
    ScaleLabels labels = ScaleLabels::Numbers;
    QStringList labelTexts;
    int labelDecimals = 0;
    QColor faceColor{250, 250, 246};
    QColor scaleColor{20, 20, 20};
    QColor needleColor{200, 30, 20};
    QPixmap faceCache;
    QPixmap hubCache;
    QPoint hubAt;
    QPointF faceCentre;
    double faceRadius = 0.0;
};
