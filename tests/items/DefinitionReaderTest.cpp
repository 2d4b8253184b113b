#include "tests/support/TestDatabase.h"

#include "items/DefinitionReader.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace plavex;
using items::DefinitionReader;
using plavex::test::TestDatabase;

namespace {

// A chart file as the older release wrote it: DOS Cyrillic, CR LF.
QByteArray dosLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += util::cp1251ToDos(util::toCp1251(line)) + "\r\n";
    return bytes;
}

QString text(TestDatabase &t, const QString &sql, const QVariantList &values = {})
{
    return fb::Statement::scalar(t.data->transaction(), sql, values).toString();
}

int lineCount(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    int n = 0;
    // A line beginning with "#" says where the figures come from: no row.
    for (const QByteArray &line : f.readAll().split('\n'))
        n += line.trimmed().isEmpty() || line.startsWith('#') ? 0 : 1;
    return n;
}

} // namespace

TEST(DefinitionReader, OldTypeNumbersBecomeItemTypes)
{
    const struct {
        int old;
        int type;
    } cases[] = {{38, 100}, {54, 101}, {49, 199}, {45, 145}, {39, 139}, {40, 140}, {42, 142}, {48, 148},
                 {97, 197}, {99, 199}, {1, 1},     {37, 37},   {0, 0},     {100, 100}, {139, 139}, {201, 201}};
    for (const auto &c : cases)
        EXPECT_EQ(DefinitionReader::typeFromOld(c.old), c.type) << c.old;
}

TEST(DefinitionReader, ContributionTakesItsFundFromItsName)
{
    const struct {
        int type;
        const char *name;
        std::array<bool, 4> words;
        const char *flags;
    } cases[] = {
        {139, "ДОО - лична вноска", {true, false, false, false}, "1000000000"},
        {139, "ЗО - лична вноска", {true, false, false, false}, "1010000000"},
        {139, "Лично ЗДР осигуряване", {false, false, false, false}, "0010000000"},
        {139, "Безработица ПКБ", {false, false, false, false}, "0001000000"},
        {139, "ДЗПО - лична вноска", {false, false, false, false}, "0000100000"}, // no "ЗО" inside "ДЗПО"
        {139, "ЗО неплатен отпуск ПКБ", {false, false, false, false}, "0011000000"},
        {139, "Социални разходи", {false, true, false, false}, "0100000000"},
        {139, "здравни", {false, false, false, false}, "0000000000"}, // the fund names are upper case
        {145, "Удръжка ЗО ПКБ ДЗПО", {true, false, false, false}, "1000000000"}, // only contributions
        {1, "Основна заплата", {true, true, true, true}, "1111000000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DefinitionReader::flagsFor(c.type, QString::fromUtf8(c.name), c.words), QLatin1String(c.flags)) << c.name;

    QString fault;
    const auto d = DefinitionReader::parseLine(QStringLiteral("  104 ЗО - лична вноска , 39 ,да,не,Не,ДА\r"), fault);
    ASSERT_TRUE(d) << fault.toStdString();
    EXPECT_EQ(d->code, 104);
    EXPECT_EQ(d->type, 139);
    EXPECT_EQ(d->name, QStringLiteral("ЗО - лична вноска"));
    EXPECT_EQ(d->flags, QStringLiteral("1011000000"));
}

TEST(DefinitionReader, NewDatabaseTakesTheChartAndSkipsItsFillers)
{
    TestDatabase t(util::Period(2008, 3));
    t.dir.writeFile(QStringLiteral("noms/DATA3.TXT"),
                    dosLines({"1 Основна заплата,1,да,да,да,да",
                              "",
                              "0 Празен ред,1,не,не,не,не",          // filler lines of the older charts
                              "9 ,6,не,не,не,не",
                              "12 Перо с име от повече от тридесет знака,45,не,не,не,не",
                              "103 ДЗПО - лична вноска,39,да,не,не,не"}));
    ASSERT_TRUE(t.open()) << t.prompter.messages.join(u'|').toStdString();

    const QString table = QStringLiteral("PERADEFS032008");
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from ") + table), 3 + 3);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from ") + table + QStringLiteral(" where PERODEFS_COD in (1000,2000,2010)")), 3);
    EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_IME from PERADEFS032008 where PERODEFS_COD=1")), QStringLiteral("Основна заплата"));
    EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_IME from PERADEFS032008 where PERODEFS_COD=12")),
              QStringLiteral("Перо с име от повече от тридес"));
    EXPECT_EQ(t.scalar(QStringLiteral("select PERODEFS_TYP from PERADEFS032008 where PERODEFS_COD=12")), 145);
    EXPECT_EQ(t.scalar(QStringLiteral("select PERODEFS_TYP from PERADEFS032008 where PERODEFS_COD=103")), 139);
    EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_HARS from PERADEFS032008 where PERODEFS_COD=103")), QStringLiteral("1000100000"));
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();
}

// A company is not made from part of its chart: the first bad line is the
// one message, and no database is left.
TEST(DefinitionReader, NewDatabaseRefusesABrokenChart)
{
    const struct {
        QStringList lines;
        QString says;
    } cases[] = {
        {{"1 Основна заплата,1,да,да,да,да", "x2 Клас,3,да,да,да,да"}, QStringLiteral("DATA3.TXT, ред 2: \"x2\" не е число")},
        {{"1 Основна заплата,1,да,да,да,да", "7 Премия,6,не"}, QStringLiteral("DATA3.TXT, ред 2: ")},
        {{"8 Аванс, месечен,42,не,не,не,не"}, QStringLiteral("DATA3.TXT, ред 1: \"месечен\" не е число")},
    };
    for (const auto &c : cases) {
        TestDatabase t(util::Period(2008, 3));
        t.dir.writeFile(QStringLiteral("noms/DATA3.TXT"), dosLines(c.lines));
        EXPECT_FALSE(t.open());
        ASSERT_EQ(t.prompter.messages.size(), 1) << t.prompter.messages.join(u'|').toStdString();
        EXPECT_TRUE(t.prompter.messages[0].contains(c.says)) << t.prompter.messages[0].toStdString();
        EXPECT_FALSE(QFile::exists(t.dir.databasePath()));
    }
}

TEST(DefinitionReader, PresentCodesStayAndMissingStandardsComeBack)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    storage::DataModule &d = *t.data;
    const QString table = d.table(u"PERADEFS");
    d.insertRow(table, QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                {1, 2, QStringLiteral("Тарифна заплата"), QStringLiteral("1000000000")});
    d.deleteRows(table, QStringLiteral("PERODEFS_COD=?"), {2000});
    t.dir.writeFile(QStringLiteral("import/DATA3.TXT"),
                    dosLines({"1 Основна заплата,1,да,да,да,да", "2010 Сума за получаване,99,не,не,не,не",
                              "5 Извънреден труд,5,не,не,да,не", "5 Извънреден труд втори,5,не,не,не,не"}));

    DefinitionReader reader(d);
    const QString file = t.dir.path() + QStringLiteral("import/DATA3.TXT");
    EXPECT_EQ(reader.read(file, table), 1);
    EXPECT_EQ(reader.read(file, table), 0);
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();

    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from ") + table), 5);
    EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_IME from ") + table + QStringLiteral(" where PERODEFS_COD=1")),
              QStringLiteral("Тарифна заплата"));
    EXPECT_EQ(t.scalar(QStringLiteral("select PERODEFS_TYP from ") + table + QStringLiteral(" where PERODEFS_COD=2010")), 201);
    EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_IME from ") + table + QStringLiteral(" where PERODEFS_COD=5")),
              QStringLiteral("Извънреден труд"));
    EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_IME from ") + table + QStringLiteral(" where PERODEFS_COD=2000")),
              QStringLiteral("Общо удръжки"));

    // No file: the standard definitions still come back, silently.
    d.deleteRows(table, QStringLiteral("PERODEFS_COD=?"), {2000});
    EXPECT_EQ(reader.read(t.dir.path() + QStringLiteral("import/none.txt"), table), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from ") + table + QStringLiteral(" where PERODEFS_COD=2000")), 1);
    EXPECT_TRUE(t.prompter.messages.isEmpty());
}

TEST(ShippedNoms, NewDatabaseLoadsEveryShippedFileWhole)
{
    TestDatabase t(util::Period(2008, 1));
    const QString shipped = QStringLiteral(PLAVEX_SOURCE_DIR "/noms/");
    const QString noms = t.settings.nomsDir();
    for (const QString &f : QDir(shipped).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(shipped + f, noms + f)) << f.toStdString();
    ASSERT_TRUE(t.open());

    const int chart = lineCount(shipped + QStringLiteral("DATA3.TXT"));
    ASSERT_GT(chart, 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERADEFS012008")), 3 + chart);

    const struct {
        int year;
        int month;
        const char *table;
        const char *file;
    } loads[] = {
        {2008, 1, "NOI2008", "noi_proc2008.csv"},       {2008, 1, "DOD2008", "DOD2008.csv"},
        {2008, 1, "DOD2007", "DOD2007.csv"},            {2008, 1, "PRIL12008", "priloj1_2008.csv"},
        {2008, 1, "NKID2008", "nkid.csv"},              {2007, 12, "NOI200710", "noi_proc200710.csv"},
        {2007, 12, "NOI2007", "noi_proc2007.csv"},      {2007, 12, "DOD2006", "DOD2006.csv"},
        {2025, 6, "NOI2025", "noi_proc2025.csv"},       {2025, 6, "DOD2025", "DOD2025.csv"},
        {2025, 6, "DOD2024", "DOD2024.csv"},
    };
    for (const auto &l : loads) {
        t.data->changePeriod(l.year, l.month);
        const int lines = lineCount(shipped + QLatin1String(l.file));
        ASSERT_GT(lines, 0) << l.file;
        EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from ") + QLatin1String(l.table)), lines) << l.table;
    }
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();

    // A new employee's tax item is code 101; the contributions reach their funds.
    const struct {
        int code;
        int type;
        const char *flags;
    } chartRows[] = {{1, 1, "1111000000"},   {101, 140, "1000000000"}, {102, 139, "1000000000"},
                     {103, 139, "1000100000"}, {104, 139, "1010000000"}, {105, 139, "1001000000"},
                     {148, 148, "0000000000"}, {199, 199, "0000000000"}};
    for (const auto &r : chartRows) {
        EXPECT_EQ(t.scalar(QStringLiteral("select PERODEFS_TYP from PERADEFS012008 where PERODEFS_COD=?"), {r.code}), r.type) << r.code;
        EXPECT_EQ(text(t, QStringLiteral("select PERODEFS_HARS from PERADEFS012008 where PERODEFS_COD=?"), {r.code}),
                  QLatin1String(r.flags))
            << r.code;
    }
}
