#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace {

// ecusim refuses a log it cannot replay before it makes its port: one line on stderr and exit code 3.
TEST(EcusimReplay, RefusesALogThatCannotServeWithOneLineAndExitCodeThree) {
    struct Case {
        const char* what;
        const char* text; // nullptr: no file at all
    };
    const Case cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"another header", "RPM;inj;map;v;\r\n850;245;312;450;G;\r\n"},
        {"no good line", "RPM;inj;map;v;mode;\r\n850;245;312;450;X;\r\n-1;0;0;0;B;\r\n"},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        const QString path = folder.filePath(QString::fromLatin1(c.what) + QStringLiteral(".log"));
        if (c.text)
            std::ofstream(path.toStdString(), std::ios::binary) << c.text;
        QProcess ecusim;
        ecusim.start(QStringLiteral(ECUSIM_PATH),
                     {QStringLiteral("--replay"), path, QStringLiteral("--ports-dir"), folder.path(),
                      QStringLiteral("--quiet")});
        ASSERT_TRUE(ecusim.waitForFinished(10000)) << c.what;
        EXPECT_EQ(ecusim.exitCode(), 3) << c.what;
        const QByteArray error = ecusim.readAllStandardError();
        EXPECT_EQ(error.count('\n'), 1) << c.what << ": " << error.constData();
        EXPECT_TRUE(error.startsWith("ecusim: ")) << c.what;
        EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("COM*")}, QDir::System).isEmpty())
            << c.what << ": no port was made";
    }
}

} // namespace
