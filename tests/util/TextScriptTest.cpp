// Every text the program prints or shows is Bulgarian in Cyrillic letters: a
// Latin letter that looks like a Cyrillic one ("O", "y", "T") prints alike
// but breaks searching and copying. What is read:
// - the program's own sources (documents, captions, messages, seeded
//   nomenclatures, item type names): app, calc, cli, declarations,
//   employees, items, operations, reference, reports, storage, util;
// - the help pages (help/);
// - the shipped nomenclature files (noms/*.csv, Windows-1251) and the item
//   chart (noms/DATA3.TXT, DOS Cyrillic).
#include "util/CodePage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

bool isCyrillic(QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; }
bool isLatin(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Latin letters that print like Cyrillic ones.
bool looksCyrillic(const QString &word)
{
    static const QString lookalikes = QStringLiteral("ABCEHKMOPTXYaceopxy");
    for (QChar c : word)
        if (!lookalikes.contains(c))
            return false;
    return true;
}

// The faults of one text: a word of both scripts ("Oс"), or a Latin
// look-alike joined to Cyrillic by "/" or "-" ("в/y", "OT/КЪМ").
QStringList mixedWords(QString text)
{
    // Escapes in C++ literals are not letters of the text.
    static const QRegularExpression escapes(QStringLiteral(R"(\\[ntr"\\])"));
    text.replace(escapes, QStringLiteral(" "));
    static const QRegularExpression group(QStringLiteral(R"([A-Za-z\x{0400}-\x{04FF}]+(?:[/\-][A-Za-z\x{0400}-\x{04FF}]+)*)"));
    static const QRegularExpression joint(QStringLiteral(R"([/\-])"));
    QStringList found;
    for (auto it = group.globalMatch(text); it.hasNext();) {
        const QString g = it.next().captured();
        bool cyrillic = false;
        for (QChar c : g)
            cyrillic |= isCyrillic(c);
        if (!cyrillic)
            continue;
        for (const QString &word : g.split(joint)) {
            bool latin = false, cyr = false;
            for (QChar c : word) {
                latin |= isLatin(c);
                cyr |= isCyrillic(c);
            }
            if ((latin && cyr) || (latin && looksCyrillic(word)))
                found << g;
        }
    }
    return found;
}

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (path.endsWith(QLatin1String("DATA3.TXT")))
        return plavex::util::fromCp1251(plavex::util::dosToCp1251(bytes));
    if (path.contains(QLatin1String("/noms/")) && path.endsWith(QLatin1String(".csv")))
        return plavex::util::fromCp1251(bytes);
    return QString::fromUtf8(bytes);
}

} // namespace

TEST(TextScript, AFaultIsFoundWhereverItHides)
{
    EXPECT_EQ(mixedWords(QStringLiteral("\"Oс. доход:\"")), QStringList{QStringLiteral("Oс")});
    EXPECT_EQ(mixedWords(QStringLiteral("в/y 12.00")), QStringList{QStringLiteral("в/y")});
    EXPECT_EQ(mixedWords(QStringLiteral("ЗА ПЛАЩАНЕ OT/КЪМ")), QStringList{QStringLiteral("OT/КЪМ")});
    EXPECT_TRUE(mixedWords(QStringLiteral("\"\\nМоля\" IBAN на получателя, Web-портали, BIC")).isEmpty());
}

TEST(TextScript, NoLatinLetterInsideACyrillicWord)
{
    const QDir root(QStringLiteral(PLAVEX_SOURCE_TREE));
    QStringList files;
    for (const char *folder : {"app", "calc", "cli", "declarations", "employees", "items", "operations", "reference", "reports",
                               "storage", "util", "help"}) {
        QDirIterator it(root.filePath(QString::fromLatin1(folder)), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QLatin1String(".cpp")) || path.endsWith(QLatin1String(".h"))
                || path.endsWith(QLatin1String(".html")) || path.endsWith(QLatin1String(".md")))
                files << path;
        }
    }
    QDirIterator noms(root.filePath(QStringLiteral("noms")), {QStringLiteral("*.csv"), QStringLiteral("DATA3.TXT")}, QDir::Files);
    while (noms.hasNext())
        files << noms.next();
    ASSERT_GT(files.size(), 100);
    ASSERT_TRUE(files.contains(root.filePath(QStringLiteral("noms/DATA3.TXT"))));

    QStringList faults;
    for (const QString &path : files) {
        const QStringList lines = readText(path).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i)
            for (const QString &word : mixedWords(lines[i]))
                faults << QStringLiteral("%1:%2: %3").arg(root.relativeFilePath(path)).arg(i + 1).arg(word);
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}
