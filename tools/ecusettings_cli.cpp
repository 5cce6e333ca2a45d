#include "tools/ecusettings_cli.h"

#include "tools/settings_file_reader.h"
#include "tools/settings_report.h"

namespace EcuSettingsCli {

namespace {

using SettingsFileReader::Outcome;

const char kUsage[] = "Usage: ecusettings show FILE\n"
                      "       ecusettings diff FILE_A FILE_B\n"
                      "       ecusettings check FILE\n"
                      "\n"
                      "  show   prints every setting and the engine map of a settings file\n"
                      "  diff   prints the settings that differ between two files\n"
                      "  check  verifies the header and the checksum of a settings file\n"
                      "\n"
                      "Exit codes: 0 good (diff: equal), 1 diff: the files differ, 2 usage error\n"
                      "(diff: any file problem), 3 cannot read, 4 not a settings file, 5 damaged\n"
                      "(bad checksum or cut short).\n";

void PrintLines(const QStringList& lines, QTextStream& out) {
    for (const QString& line : lines)
        out << line << '\n';
}

int CodeOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Good:
        return kOk;
    case Outcome::CannotRead:
        return kCannotRead;
    case Outcome::WrongHeader:
        return kWrongHeader;
    case Outcome::BadChecksum:
        break;
    }
    return kBadChecksum;
}

// Reads a file, telling on `err` what is wrong with it or that bytes beyond the record are ignored.
SettingsFileReader::Result ReadReporting(const QString& fileName, QTextStream& err) {
    SettingsFileReader::Result result = SettingsFileReader::Read(fileName);
    if (!result.ok())
        err << SettingsFileReader::Describe(result) << '\n';
    else if (const QString note = SettingsFileReader::ExtraBytesNote(result); !note.isEmpty())
        err << note << '\n';
    return result;
}

int Show(const QString& fileName, QTextStream& out, QTextStream& err) {
    const SettingsFileReader::Result file = ReadReporting(fileName, err);
    if (file.ok())
        PrintLines(SettingsReport::Show(file.record), out);
    return CodeOf(file.outcome);
}

int Check(const QString& fileName, QTextStream& out, QTextStream& err) {
    const SettingsFileReader::Result file = ReadReporting(fileName, err);
    if (file.ok())
        out << SettingsFileReader::Describe(file) << '\n';
    return CodeOf(file.outcome);
}

int Diff(const QString& a, const QString& b, QTextStream& out, QTextStream& err) {
    const SettingsFileReader::Result fileA = ReadReporting(a, err);
    const SettingsFileReader::Result fileB = ReadReporting(b, err);
    if (!fileA.ok() || !fileB.ok())
        return kError;
    const QStringList lines = SettingsReport::Diff(fileA.record, fileB.record);
    PrintLines(lines, out);
    return lines.isEmpty() ? kOk : kDiffer;
}

int UsageError(const QString& problem, QTextStream& err) {
    err << "ecusettings: " << problem << '\n' << kUsage;
    return kError;
}

} // namespace

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() == 1 && (arguments[0] == u"--help" || arguments[0] == u"-h")) {
        out << kUsage;
        return kOk;
    }
    if (arguments.isEmpty())
        return UsageError(QStringLiteral("no command given"), err);
    const QString& verb = arguments[0];
    const qsizetype files = arguments.size() - 1;
    if (verb == u"show" && files == 1)
        return Show(arguments[1], out, err);
    if (verb == u"check" && files == 1)
        return Check(arguments[1], out, err);
    if (verb == u"diff" && files == 2)
        return Diff(arguments[1], arguments[2], out, err);
    if (verb == u"show" || verb == u"check" || verb == u"diff")
        return UsageError(QStringLiteral("wrong number of files for %1").arg(verb), err);
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(verb), err);
}

} // namespace EcuSettingsCli
