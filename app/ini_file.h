#pragma once

#include <QString>
#include <QStringList>

// A plain INI file in the 8-bit code page. Reading keeps every line; each write replaces the key's
// line (or adds it to its section) and writes the file at once, so a file that cannot be written is
// noticed at the first write. Section and key names compare without regard to case.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& Path() const { return path; }
    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
    // False when the file could not be written; the text in memory then still holds the new value.
    // A file that exists but could not be read is never written, so its content is not lost.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool Flush();

private:
    int FindSection(const QString& section) const;
    int FindKey(int sectionLine, const QString& key) const;
    int SectionEnd(int sectionLine) const;

    QString path;
    QStringList lines;
    bool unreadable = false;
};
