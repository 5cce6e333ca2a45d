#include "tools/ecusettings_cli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = EcuSettingsCli::Run(arguments, out, err);
    out.flush();
    err.flush();
    return code;
}
