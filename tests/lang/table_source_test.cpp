#include "app/lang/language_table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

// The build regenerates every table from app/lang/source into GENERATED_TABLES_DIR; the tables built
// into the program must be byte for byte what their readable sources give.
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(TableSource, BuiltinTablesAreByteExactToTheirSources) {
    const QDir generated(QStringLiteral(GENERATED_TABLES_DIR));
    for (const LanguageInfo& language : LanguageTable::Languages()) {
        const QString name = QString::fromLatin1(language.displayName);
        SCOPED_TRACE(name.toStdString());
        const QString resource = LanguageTable::ResourcePath(name);
        ASSERT_FALSE(resource.isEmpty());
        const QByteArray builtIn = ReadAll(resource);
        EXPECT_TRUE(builtIn.startsWith("\xFF\xFE"));
        EXPECT_TRUE(builtIn.endsWith(QByteArray("\r\0\n\0", 4)));
        EXPECT_EQ(builtIn, ReadAll(generated.filePath(name.toLower() + ".utf16")));
    }
}

TEST(TableSource, EverySourceIsBuiltIn) {
    const QDir generated(QStringLiteral(GENERATED_TABLES_DIR));
    QStringList fromSources;
    for (const QString& file : generated.entryList({QStringLiteral("*.utf16")}, QDir::Files, QDir::Name)) {
        fromSources.append(file.chopped(6).toUpper());
    }
    EXPECT_EQ(fromSources, LanguageTable::ResourceNames());
}

} // namespace
