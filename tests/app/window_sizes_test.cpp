// The window at every size a fitter meets, from its minimum to a full workshop screen: on every page
// nothing is cut by its parent, the form's controls do not cover one another, every dial's face lies
// inside its widget and every read-out's text fits its label.
#include "tests/support/window_fixture.h"

#include "app/program_settings_panel.h"
#include "pages/cylinder_strip.h"
#include "pages/live_values.h"
#include "pages/status_page.h"
#include "widgets/angular_meter.h"
#include "widgets/static_text_label.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <ostream>
#include <string>

namespace {

struct WindowSize {
    const char* name;
    QSize size;
};

const WindowSize kSizes[] = {
    {"Minimum", {TForm1::kMinWidth, TForm1::kMinHeight}},
    {"Default", {TForm1::kWidth, TForm1::kHeight}},
    {"Laptop", {1280, 900}},
    {"FullHd", {1920, 1080}},
};

void PrintTo(const WindowSize& size, std::ostream* out) {
    *out << size.size.width() << "x" << size.size.height();
}

std::string Where(const QWidget& w) {
    QStringList path;
    for (const QWidget* at = &w; at && !at->isWindow(); at = at->parentWidget())
        path.prepend(at->objectName().isEmpty() ? QString::fromLatin1(at->metaObject()->className())
                                                : at->objectName());
    return path.join(QLatin1Char('/')).toStdString();
}

// The form's own controls; Qt's inner parts carry "qt_" names or none.
bool IsFormControl(const QWidget& w) {
    return !w.objectName().isEmpty() && !w.objectName().startsWith(QLatin1String("qt_"));
}

QList<QWidget*> ShownChildren(const QWidget& parent) {
    QList<QWidget*> shown;
    for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible() && !child->isWindow())
            shown.append(child);
    return shown;
}

// Scale texts stand on their dial by design.
bool MayOverlap(const QWidget& a, const QWidget& b) {
    const auto onDial = [](const QWidget& text, const QWidget& other) {
        return dynamic_cast<const StaticTextLabel*>(&text) && qobject_cast<const AngularMeter*>(&other);
    };
    return onDial(a, b) || onDial(b, a);
}

class WindowSizes : public WindowFixture, public ::testing::WithParamInterface<WindowSize> {
protected:
    void SetUp() override {
        CreateWindow();
        window->show();
        window->resize(GetParam().size);
        Settle();
        ASSERT_EQ(window->size(), GetParam().size);
    }

    void Settle() { QApplication::processEvents(); }

    // Every page in turn, then the program-settings panel.
    template <class Check> void ForEachView(Check check) {
        for (int page = 0; page < window->PageControl1->count(); ++page) {
            window->PageControl1->setCurrentIndex(page);
            Settle();
            check();
        }
        window->VrBlotter1->Button17->click();
        Settle();
        check();
    }

    // The longest texts the Status page's read-outs carry.
    void ShowWidestReadOuts() {
        window->tsdurum->Label70->setText(QStringLiteral("8000"));
        window->tsdurum->Label57->setText(LiveValues::GasPressureText(0xFFFF));
        window->tsdurum->Label59->setText(LiveValues::InjectionTimeText(9999));
    }

    void ExpectLaidOut(const QWidget& parent) {
        const QList<QWidget*> children = ShownChildren(parent);
        for (qsizetype i = 0; i < children.size(); ++i) {
            const QWidget& child = *children[i];
            EXPECT_TRUE(parent.rect().contains(child.geometry()))
                << Where(child) << " at " << Text(child.geometry()) << " leaves its parent "
                << Text(parent.rect());
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                const QWidget& other = *children[j];
                if (!IsFormControl(child) || !IsFormControl(other) || MayOverlap(child, other))
                    continue;
                EXPECT_FALSE(child.geometry().intersects(other.geometry()))
                    << Where(child) << " " << Text(child.geometry()) << " covers " << Where(other) << " "
                    << Text(other.geometry());
            }
            ExpectLaidOut(child);
        }
    }

    void ExpectReadOutsFit(const QWidget& root) {
        for (const QLabel* label : root.findChildren<QLabel*>()) {
            if (!label->isVisible() || label->wordWrap() || label->text().isEmpty() ||
                label->textFormat() == Qt::RichText)
                continue;
            const QSize needed = label->fontMetrics().size(Qt::TextSingleLine, label->text());
            const QRect room = label->contentsRect();
            EXPECT_LE(needed.width(), room.width())
                << Where(*label) << ": \"" << label->text().toStdString() << "\" in " << Text(room);
            EXPECT_LE(label->fontMetrics().ascent(), room.height()) << Where(*label);
        }
    }

    void ExpectDialFacesInside() {
        for (const AngularMeter* dial : window->findChildren<AngularMeter*>()) {
            if (!dial->isVisible())
                continue;
            const QRectF inside(dial->rect());
            for (double share : {0.0, 0.25, 0.5, 0.75, 1.0}) {
                const double value = dial->Minimum() + share * (dial->Maximum() - dial->Minimum());
                const QPointF rim = dial->ScalePoint(value, 1.0);
                EXPECT_TRUE(inside.contains(rim)) << Where(*dial) << ": rim at " << rim.x() << "," << rim.y()
                                                  << " outside " << Text(dial->rect());
            }
        }
    }

    static std::string Text(QRect r) {
        return QStringLiteral("%1,%2 %3x%4")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .toStdString();
    }
};

TEST_P(WindowSizes, EveryViewLaysOutWhole) {
    ShowWidestReadOuts();
    ForEachView([&] {
        ExpectLaidOut(*window);
        ExpectReadOutsFit(*window);
    });
}

TEST_P(WindowSizes, DialFacesStayInsideTheirWidgets) {
    window->PageControl1->setCurrentWidget(window->tsdurum);
    Settle();
    ExpectDialFacesInside();
}

TEST_P(WindowSizes, TheLastTabKeepsClearOfTheWindowsEdge) {
    const QTabBar* tabs = window->PageControl1->tabBar();
    const QRect last = tabs->tabRect(tabs->count() - 1);
    const int edge = window->mapFromGlobal(tabs->mapToGlobal(last.topRight())).x();
    EXPECT_LT(edge, window->width() - 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowSizes, ::testing::ValuesIn(kSizes),
                         [](const ::testing::TestParamInfo<WindowSize>& info) { return info.param.name; });

} // namespace
