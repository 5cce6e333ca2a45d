#include "app/ini_file.h"

#include <QFile>
#include <QSaveFile>

namespace {
QString SectionName(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']') ? t.mid(1, t.size() - 2).trimmed() : QString();
}
bool IsSection(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']');
}
QString KeyOf(const QString& line) {
    const int eq = line.indexOf('=');
    return eq < 0 ? QString() : line.left(eq).trimmed();
}
} // namespace

IniFile::IniFile(QString iniPath) : path(std::move(iniPath)) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable = file.exists();
        return;
    }
    const QString text = QString::fromLatin1(file.readAll());
    lines = text.split('\n');
    for (QString& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
}

int IniFile::FindSection(const QString& section) const {
    for (int i = 0; i < lines.size(); ++i) {
        if (IsSection(lines[i]) && SectionName(lines[i]).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::SectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < lines.size() && !IsSection(lines[i]))
        ++i;
    return i;
}

int IniFile::FindKey(int sectionLine, const QString& key) const {
    const int end = SectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        if (KeyOf(lines[i]).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const {
    const int s = FindSection(section);
    const int k = s < 0 ? -1 : FindKey(s, key);
    if (k < 0)
        return fallback;
    return lines[k].mid(lines[k].indexOf('=') + 1).trimmed();
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString line = key + '=' + value;
    int s = FindSection(section);
    if (s < 0) {
        lines.append('[' + section + ']');
        lines.append(line);
    } else if (const int k = FindKey(s, key); k >= 0) {
        lines[k] = line;
    } else {
        // After the section's last non-empty line, so a blank separator line stays at the end.
        int at = SectionEnd(s);
        while (at > s + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, line);
    }
    return Flush();
}

bool IniFile::Flush() {
    if (unreadable)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}
