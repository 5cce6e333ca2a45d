// The window opens where the fitter left it: size, place and maximised state from a file of its own
// beside the INI, never off the screen, and the default size when that file is missing or damaged.
#include "tests/support/window_fixture.h"

#include "app/window_placement.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <optional>

namespace {

struct ReadCase {
    const char* name;
    QByteArray content;
    std::optional<WindowPlacement> expected;
};

class PlacementFileReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(PlacementFileReading, TakesOnlyAWholeWellFormedFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ecusetup.window"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().content);
    file.close();
    EXPECT_EQ(WindowPlacementFile::Read(path), GetParam().expected);
}

const ReadCase kReadCases[] = {
    {"Normal", "ecusetup window\n10 20 900 650 0\n", WindowPlacement{QRect(10, 20, 900, 650), false}},
    {"Maximised", "ecusetup window\r\n-5 0 1000 700 1\r\n", WindowPlacement{QRect(-5, 0, 1000, 700), true}},
    {"Empty", "", std::nullopt},
    {"NoHeader", "10 20 900 650 0\n", std::nullopt},
    {"FieldMissing", "ecusetup window\n10 20 900 650\n", std::nullopt},
    {"NotANumber", "ecusetup window\n10 20 wide 650 0\n", std::nullopt},
    {"ZeroWidth", "ecusetup window\n10 20 0 650 0\n", std::nullopt},
    {"HugeEdge", "ecusetup window\n10 20 900 99999999 0\n", std::nullopt},
    {"StateNotAFlag", "ecusetup window\n10 20 900 650 2\n", std::nullopt},
    {"Binary", QByteArray(300, '\xff'), std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Files, PlacementFileReading, ::testing::ValuesIn(kReadCases),
                         [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(PlacementFile, WritesWhatItReadsBack) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("a.window"));
    const WindowPlacement placement{QRect(-30, 40, 1234, 777), true};
    ASSERT_TRUE(WindowPlacementFile::Write(path, placement));
    EXPECT_EQ(WindowPlacementFile::Read(path), placement);
}

TEST(PlacementFile, LiesBesideTheIni) {
    EXPECT_EQ(WindowPlacementFile::PathBesideIni(QStringLiteral("/opt/ecu/ecusetup.ini")),
              QStringLiteral("/opt/ecu/ecusetup.window"));
}

struct FitCase {
    const char* name;
    QRect wanted;
    QRect expected;
};

class PlacementOnScreen : public ::testing::TestWithParam<FitCase> {};

// A 1366 x 728 working area on a screen right of the main one.
TEST_P(PlacementOnScreen, KeepsTheWindowWithinReach) {
    const QRect available(1920, 0, 1366, 728);
    EXPECT_EQ(WindowPlacementFile::FitInside(GetParam().wanted, available, QSize(800, 600)),
              GetParam().expected);
}

const FitCase kFitCases[] = {
    {"Inside", {2000, 50, 900, 650}, {2000, 50, 900, 650}},
    {"PastTheRightEdge", {3000, 50, 900, 650}, {2386, 50, 900, 650}},
    {"AboveTheTop", {2000, -300, 900, 650}, {2000, 0, 900, 650}},
    {"LargerThanTheScreen", {1800, -20, 1920, 1080}, {1920, 0, 1366, 728}},
    {"OnAScreenThatIsGone", {-2000, 5000, 900, 650}, {1920, 78, 900, 650}},
};

INSTANTIATE_TEST_SUITE_P(Places, PlacementOnScreen, ::testing::ValuesIn(kFitCases),
                         [](const ::testing::TestParamInfo<FitCase>& info) { return info.param.name; });

TEST(PlacementOnScreen, NeverBelowTheMinimumSize) {
    EXPECT_EQ(WindowPlacementFile::FitInside({0, 0, 1000, 700}, {0, 0, 640, 480}, QSize(800, 600)),
              QRect(0, 0, 800, 600));
}

class WindowPlacementKept : public WindowFixture {
protected:
    QString PlacementPath() const { return WindowPlacementFile::PathBesideIni(iniPath); }
    QRect Screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    void Reopen() {
        CloseWindow();
        CreateWindow();
    }
};

TEST_F(WindowPlacementKept, TheNextRunOpensWhereTheLastClosed) {
    CreateWindow();
    window->show();
    const QRect placed(Screen().topLeft(), QSize(TForm1::kMinWidth, TForm1::kMinHeight));
    window->setGeometry(placed);
    Reopen();
    EXPECT_EQ(window->geometry(), placed);
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    // The INI keeps only the program's settings: closing the window writes none.
    EXPECT_FALSE(QFile::exists(iniPath));
}

TEST_F(WindowPlacementKept, AMaximisedWindowOpensMaximised) {
    CreateWindow();
    window->show();
    window->showMaximized();
    Reopen();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(WindowPlacementKept, ADamagedFileOpensTheDefaultSize) {
    QFile file(PlacementPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ecusetup window\n0 0 -5 x 1\n");
    file.close();
    CreateWindow();
    EXPECT_EQ(window->size(), QSize(TForm1::kWidth, TForm1::kHeight));
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(WindowPlacementKept, APlaceOffTheScreenIsBroughtBack) {
    ASSERT_TRUE(
        WindowPlacementFile::Write(PlacementPath(), {QRect(Screen().right() + 500, 40, 900, 650), false}));
    CreateWindow();
    EXPECT_TRUE(Screen().contains(window->geometry())) << window->geometry().x();
}

TEST_F(WindowPlacementKept, AWindowNeverShownLeavesNoFile) {
    CreateWindow();
    CloseWindow();
    EXPECT_FALSE(QFile::exists(PlacementPath()));
}

} // namespace
