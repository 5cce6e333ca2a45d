#include "app/lang/language_table.h"

#include "app/lang/utf16_lines.h"

#include <QDir>
#include <QFile>

#include <charconv>
#include <mutex>

// The tables live in a static library; without this call the linker may drop the resource data.
// Outside any namespace, as the resource initialiser is declared at global scope.
static void EnsureResourcesRegistered() {
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(language_tables); });
}

namespace {

constexpr QLatin1StringView kResourceFolder(":/Unicode");

// A whole decimal integer that fits an int (optional '-'); nothing else, not even blanks.
bool ParseDecimal(const QByteArray& text, int& value) {
    const char* begin = text.constData();
    const char* end = begin + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, 10);
    return !text.isEmpty() && ec == std::errc{} && ptr == end;
}

} // namespace

const std::array<LanguageInfo, 8>& LanguageTable::Languages() {
    static const std::array<LanguageInfo, 8> languages{{
        {"AR", "Arabic"},
        {"DE", "Deutsch"},
        {"EN", "English"},
        {"FA", "Farsian"},
        {"IT", "Italiano"},
        {"RU", "Russian"},
        {"TH", "Thai"},
        {"TR", "Turkish"},
    }};
    return languages;
}

QString LanguageTable::DisplayNameForCode(const QString& code) {
    for (const LanguageInfo& language : Languages()) {
        if (code == QLatin1String(language.code)) {
            return QString::fromLatin1(language.displayName);
        }
    }
    return QStringLiteral("English");
}

QString LanguageTable::CodeForPosition(int position) {
    if (position < 0 || position >= static_cast<int>(Languages().size())) {
        return {};
    }
    return QString::fromLatin1(Languages()[static_cast<std::size_t>(position)].code);
}

int LanguageTable::PositionForDisplayName(const QString& name) {
    const auto& languages = Languages();
    for (std::size_t i = 0; i < languages.size(); ++i) {
        if (name == QLatin1String(languages[i].displayName)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QStringList LanguageTable::ResourceNames() {
    EnsureResourcesRegistered();
    return QDir(kResourceFolder).entryList(QDir::Files, QDir::Name);
}

QString LanguageTable::ResourcePath(const QString& displayName) {
    if (displayName.isEmpty()) {
        return {};
    }
    for (const QString& name : ResourceNames()) {
        if (name.compare(displayName, Qt::CaseInsensitive) == 0) {
            return QString(kResourceFolder) + u'/' + name;
        }
    }
    return {};
}

bool LanguageTable::Load(const QString& displayName) {
    const QString path = ResourcePath(displayName);
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    LoadFromUtf16(file.readAll());
    return true;
}

void LanguageTable::LoadFromUtf16(const QByteArray& bytes) {
    lines = Utf16Lines::SplitBytes(bytes);
}

void LanguageTable::Clear() {
    lines.clear();
}

QString LanguageTable::LangText(int index) const {
    if (index < 0 || index >= lines.size()) {
        return kMissingText;
    }
    return lines[index];
}

QByteArray LanguageTable::LangTextAnsi(int index) const {
    return LangText(index).toLatin1();
}

QString LanguageTable::LangTextWithNumber(int index, unsigned number) const {
    QString text = LangText(index);
    const qsizetype at = text.indexOf(QLatin1String("%u"));
    if (at >= 0) {
        text.replace(at, 2, QString::number(number));
    }
    return text;
}

int LanguageTable::Charset() const {
    int charset = kDefaultCharset;
    return ParseDecimal(LangTextAnsi(kCharsetLine), charset) ? charset : kDefaultCharset;
}

int LanguageTable::LineCount() const {
    return static_cast<int>(lines.size());
}
