#include "app/program_settings.h"

#include "app/ini_file.h"

#include <QDir>
#include <QFileInfo>

namespace ProgramSettings {

QString IniPathFor(const QString& executablePath) {
    const QFileInfo info(executablePath);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf('.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.path() + '/' + base + QStringLiteral(".ini");
}

QString IniPathFor(const QString& executablePath, const QString& fallbackFolder) {
    const QString beside = IniPathFor(executablePath);
    const QFileInfo folder(QFileInfo(executablePath).path());
    if (folder.isDir() && folder.isWritable())
        return beside;
    return QDir(fallbackFolder).filePath(QFileInfo(beside).fileName());
}

int ParseCalSens(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toInt(&ok, 16);
    else
        value = t.toInt(&ok, 10);
    return ok ? value : kDefaultCalSens;
}

Values Read(const QString& iniPath) {
    const IniFile ini(iniPath);
    Values v;
    v.language = ini.ReadString(kSection, kLanguageKey, kDefaultLanguage);
    v.comport = ini.ReadString(kSection, kComportKey, kDefaultComport);
    v.calSens = ParseCalSens(ini.ReadString(kSection, kCalSensKey, QString::number(kDefaultCalSens)));
    return v;
}

bool Write(IniFile& ini, const Values& values) {
    return ini.WriteString(kSection, kComportKey, values.comport) &&
           ini.WriteString(kSection, kCalSensKey, QString::number(values.calSens)) &&
           ini.WriteString(kSection, kLanguageKey, values.language) && ini.Flush();
}

} // namespace ProgramSettings
