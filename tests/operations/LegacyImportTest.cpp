// Taking over the text files of the older release: a small folder of all
// nine files written here, in the DOS code page, read into a company.
#include "operations/LegacyImport.h"
#include "storage/fb/Statement.h"
#include "tests/support/Reliability.h"
#include "util/CodePage.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

using Files = std::map<QString, QStringList>;

// The company file: 36 lines, the two percentages left out.
QStringList company(const QString &month = QStringLiteral("01012006"))
{
    QStringList l{QStringLiteral("Фирма ООД"), QStringLiteral("Иван Иванов"), QStringLiteral("Мария Петрова"),
                  QStringLiteral("София"), QStringLiteral("5"), month, QStringLiteral("160")};
    while (l.size() < 32)
        l << QStringLiteral("0");
    l << QStringLiteral("0899") << QStringLiteral("9") << QStringLiteral("1234567890123") << QStringLiteral("1234567890");
    return l;
}

QString january2006()
{
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days << (QDate(2006, 1, d).dayOfWeek() <= 5 ? QStringLiteral("1") : QStringLiteral("0"));
    return days.join(u',');
}

// Two employees: number 1 with a salary of 1100, 12 % contribution and the
// tax; number 2 with a deduction of type 145 and one of type 144.
Files legacyFiles(const QString &month = QStringLiteral("01012006"))
{
    return {
        {"DATA1.TXT", company(month)},
        {"DATA6.TXT", {"Администрация,1,0", "Цех,2,1", "Нищо,0,0", "Дубъл,1,0"}},
        {"DATA2.TXT", {january2006() + ",Януари 2006,2006,1,0,0,0"}},
        {"DATA8.TXT", {"1 Счетоводител,3,2411", "ab", "3 Оператор на машини,2,8100"}},
        {"DATA3.TXT",
         {"101 Основна заплата,1,да,да,не,не", "401 ДОО лично,39,не,не,не,не", "501 ДОД,40,не,не,не,не",
          "601 Превод по сметка,49,не,не,не,не", "602 Запор,54,не,не,не,не", "603 Удръжка по списък,45,не,не,не,не",
          "604 Заем,44,не,не,не,не", "605 Общо,38,не,не,не,не"}},
        {"DATA5.TXT",
         {"1,Петър Петров,8001010008,ул. Роза 1,1,2,01022005,00000000,100203,050000,3,икономист,1,021234567,"
          "029876543,1,да,1,1,не,BG12X3456789012AB,1000,20,0,0.1234,5",
          "2,Анна Антонова,8505050505,,2,0,15032004,31122005,,,2,,3,,,1,да,1,1,не,,0,0,0,0"}},
        {"DATA5S.TXT",
         {"1,101,1100,0,0", "1,401,12,", "1,501", "2,603,50", "2,604,10,20,3,BG00ACCT", "1,601,100"}},
        {"DATA5O.TXT", {"1,2005,12,1000,22,900,20,950,21,800,2,968,96.8,132,0,0,0,0,1100,0,1,1"}},
        {"DATA15.TXT", {"001София,София-град", "002,Варна,варна", "003,,Русе"}},
    };
}

QByteArray dos(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += util::cp1251ToDos(util::toCp1251(line)) + "\r\n";
    return bytes;
}

// A folder of the older release's files.
class Legacy {
public:
    explicit Legacy(const Files &files = legacyFiles())
    {
        for (const auto &[name, lines] : files)
            write(name, dos(lines));
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write " + name.toStdString());
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

class LegacyImport : public ::testing::Test {
protected:
    LegacyImport() : c(QStringLiteral("012008"))
    {
        // A flat 10 % tax, so that the figures can be checked by hand.
        c.db.dir.writeNom(QStringLiteral("DOD2006.csv"), {QStringLiteral("2006;0;0;0.10")});
    }
    operations::ImportResult import(const Legacy &folder, util::Prompter &prompter)
    {
        return operations::importLegacy(*c.db.data, folder.path(), prompter);
    }
    operations::ImportResult import(const Legacy &folder) { return import(folder, c.db.prompter); }
    QVariant value(const QString &sql, const QVariantList &values = {})
    {
        return fb::Statement::scalar(c.db.data->transaction(), sql, values);
    }
    // The first column of every row, joined by blanks.
    QString column(const QString &sql)
    {
        fb::Statement q(c.db.data->transaction(), sql);
        QStringList rows;
        while (q.next())
            rows << q.toText(0).trimmed();
        return rows.join(u' ');
    }
    QString messages() const { return c.db.prompter.messages.join(u'|'); }

    CliCompany c;
};

// Fails the import once the reading of the named file has begun.
class FailingPrompter : public util::RecordingPrompter {
public:
    explicit FailingPrompter(QString file) : file_(std::move(file)) {}
    void progressStart(const QString &caption) override { armed_ = caption.endsWith(file_); }
    void progressStep(int done, int) override
    {
        if (armed_ && done >= 2)
            throw std::runtime_error("прекъснато");
    }

private:
    QString file_;
    bool armed_ = false;
};

// Employees 3 to 1000 added to `files`, each with a salary (and, when asked,
// an item 401): enough for a kill to land inside the import.
Files thousandEmployees(Files files, bool withItem)
{
    for (int n = 3; n <= 1000; ++n) {
        files["DATA5.TXT"] << QStringLiteral("%1,Служител %1,8001010008,,1,0,01012005,,,,1,,1,,,1,да,1,1,не,,0,0,0,0").arg(n);
        files["DATA5S.TXT"] << QStringLiteral("%1,101,%2,0,0").arg(n).arg(500 + n);
        if (withItem)
            files["DATA5S.TXT"] << QStringLiteral("%1,401,12,").arg(n);
    }
    return files;
}

// An import of `folder` killed once it says it reads the items: its
// employees are in, not committed. False when it ended before.
bool killedWhileReadingItems(const QString &dir, const QString &folder)
{
    auto p = test::startCli(dir, {"import-legacy", folder, "--yes"});
    QByteArray said;
    while (!said.contains("DATA5S.TXT") && p->state() != QProcess::NotRunning) {
        p->waitForReadyRead(50);
        said += p->readAllStandardError();
    }
    if (p->state() != QProcess::Running) {
        ADD_FAILURE() << "the import ended before it could be killed: " << said.toStdString();
        return false;
    }
    p->kill();
    p->waitForFinished();
    return true;
}

} // namespace

TEST_F(LegacyImport, AllNineFilesIntoAnEmptyMonth)
{
    Legacy folder;
    ASSERT_EQ(import(folder), operations::ImportResult::Imported) << messages().toStdString();
    EXPECT_TRUE(c.db.prompter.questions.isEmpty()); // the month of the data held nothing
    EXPECT_EQ(c.db.data->period(), util::Period(2006, 1));
    EXPECT_EQ(c.db.prompter.messages, QStringList());

    // Company: 36 lines leave the two percentages at their defaults; the
    // year's amounts of 2006.
    EXPECT_EQ(value("select count(*) from FIRMA012006").toInt(), 1);
    EXPECT_EQ(value("select FIRMA_IME from FIRMA012006").toString().trimmed(), QStringLiteral("Фирма ООД"));
    EXPECT_DOUBLE_EQ(value("select FIRMA_DATA3 from FIRMA012006").toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(value("select FIRMA_DOOPROCF3 from FIRMA012006").toDouble(), 0.4);
    EXPECT_DOUBLE_EQ(value("select FIRMA_INDDOO from FIRMA012006").toDouble(), 1400.0);
    EXPECT_DOUBLE_EQ(value("select FIRMA_OBMAJKI from FIRMA012006").toDouble(), 160.0);
    EXPECT_DOUBLE_EQ(value("select FIRMA_MINSALARY from FIRMA012006").toDouble(), 160.0);
    EXPECT_EQ(value("select FIRMA_BULSTAT from FIRMA012006").toString().trimmed(), QStringLiteral("1234567890123"));

    // Units without code 0 and the repeated code; calendars and positions by line number.
    EXPECT_EQ(column("select ZVENO_COD || ':' || trim(ZVENO_IME) from ZVENA012006 order by ZVENO_COD"),
              QStringLiteral("1:Администрация 2:Цех"));
    EXPECT_EQ(value("select CAL_RABDNI from CAL012006 where CAL_COD=1").toString(), QStringLiteral("0111110011111001111100111110011"));
    EXPECT_EQ(column("select DL_COD || ':' || trim(DL_IME) from DL012006 order by DL_COD"),
              QStringLiteral("1:Счетоводител 3:Оператор на машини"));

    // The old type numbers.
    for (const auto &[code, type] : {std::pair{101, 1}, {401, 139}, {501, 140}, {601, 199}, {602, 101}, {603, 145}, {604, 144},
                                     {605, 100}, {1000, 100}, {2000, 200}, {2010, 201}})
        EXPECT_EQ(value("select PERODEFS_TYP from PERADEFS012006 where PERODEFS_COD=?", {code}).toInt(), type) << code;

    // Employees: dates, service as YYMMDD, the bank text, the unit, the town.
    EXPECT_EQ(value("select PERSON_DATANAZ from PERSONS012006 where PERSON_NOMER=1").toDate(), QDate(2005, 2, 1));
    EXPECT_TRUE(value("select PERSON_DATAUWOL from PERSONS012006 where PERSON_NOMER=1").isNull());
    EXPECT_EQ(value("select PERSON_STAV1Y || '/' || PERSON_STAV1M || '/' || PERSON_STAV1D from PERSONS012006 where PERSON_NOMER=1").toString(),
              QStringLiteral("10/2/3"));
    EXPECT_EQ(value("select trim(PERSON_PART) || '|' || trim(PERSON_BKOD) from PERSONS012006 where PERSON_NOMER=1").toString(),
              QStringLiteral("BG12345678|90"));
    EXPECT_DOUBLE_EQ(value("select PERSON_DOOPROC from PERSONS012006 where PERSON_NOMER=1").toDouble(), 0.1234);
    EXPECT_EQ(value("select PERSON_ADDRGRAD from PERSONS012006 where PERSON_NOMER=1").toInt(), 5);
    EXPECT_EQ(value("select PERSON_ADDRGRAD from PERSONS012006 where PERSON_NOMER=2").toInt(), 1);
    EXPECT_EQ(value("select PERSON_DATAUWOL from PERSONS012006 where PERSON_NOMER=2").toDate(), QDate(2005, 12, 31));
    EXPECT_EQ(value("select trim(PERSON_NOS) || PERSON_NOSN || PERSON_GARVZ || PERSON_TRUSTR || PERSON_PENSIA from PERSONS012006 where PERSON_NOMER=2").toString(),
              QStringLiteral("011100"));

    // Items: the three totals once per employee, though number 1 comes back
    // after number 2; 145 takes one amount, 144 four fields.
    const QString items = "select count(*) from PERA012006 p join PERSONS012006 e on e.PERSON_ID=p.PERO_PERSONID where e.PERSON_NOMER=? and PERO_TYPE=?";
    for (int number : {1, 2})
        for (int type : {100, 200, 201})
            EXPECT_EQ(value(items, {number, type}).toInt(), 1) << number << " " << type;
    EXPECT_EQ(value("select count(*) from PERA012006").toInt(), 12);
    EXPECT_EQ(value("select count(distinct PERO_PEROID) from PERA012006").toInt(), 12);
    EXPECT_DOUBLE_EQ(value("select PERO_SUMA1 from PERA012006 where PERO_COD=603").toDouble(), 50.0);
    EXPECT_EQ(value("select PERO_SUMA1 || '|' || PERO_SUMA2 || '|' || PERO_D || '|' || trim(PERO_PARTIDA) from PERA012006 where PERO_COD=604").toString(),
              QStringLiteral("10.000|20.000|3|BG00ACCT"));

    // The earlier month and the towns with their regions.
    EXPECT_EQ(value("select PERSDATA_ODOO || '|' || PERSDATA_SDOD || '|' || PERSDATA_WCOSUMA || '|' || PERSDATA_DFBOL from PERSDATA where PERSDATA_GOD=2005 and PERSDATA_MES=12").toString(),
              QStringLiteral("19|96.80|1100.00|1"));
    EXPECT_EQ(column("select GRAD_COD || ':' || trim(GRAD_IME) || ':' || GRAD_OBSCOD from GRAD order by GRAD_COD"),
              QStringLiteral("1:София:22 2:Варна:3"));
    // The company's activity reached the positions.
    EXPECT_EQ(value("select min(DL_SHIFAR) from DL012006").toString().trimmed(), QStringLiteral("0899"));
}

TEST_F(LegacyImport, RecalculationGivesTheFiguresOfTheFiles)
{
    Legacy folder;
    ASSERT_EQ(import(folder), operations::ImportResult::Imported) << messages().toStdString();
    const CliRun r = c.cli({"recalc", "--employee", "1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    c.db.data->commitRetaining();
    // 1100 salary, 12 % of it for the contribution, 10 % tax on the rest;
    // the old type 49 (now 199) takes what remains, 1100 - 132 - 96.80, so
    // nothing is left to pay out.
    const QString final = "select PERO_SUMAFINAL from PERA012006 p join PERSONS012006 e on e.PERSON_ID=p.PERO_PERSONID "
                          "where e.PERSON_NOMER=1 and PERO_COD=?";
    EXPECT_DOUBLE_EQ(value(final, {101}).toDouble(), 1100.00);
    EXPECT_DOUBLE_EQ(value(final, {401}).toDouble(), 132.00);
    EXPECT_DOUBLE_EQ(value(final, {501}).toDouble(), 96.80);
    EXPECT_DOUBLE_EQ(value(final, {601}).toDouble(), 871.20) << r.out.toStdString();
    EXPECT_DOUBLE_EQ(value(final, {2010}).toDouble(), 0.00);
    EXPECT_DOUBLE_EQ(value("select PERSDATA_SOBL from PERSDATA where PERSDATA_GOD=2006 and PERSDATA_MES=1").toDouble(), 968.00);
}

// Without a company file the current month is read into and keeps its
// company row; without a chart it still has the three totals' definitions.
TEST_F(LegacyImport, WithoutTheCompanyFileOrTheChart)
{
    Files files = legacyFiles();
    files.erase("DATA1.TXT");
    files.erase("DATA3.TXT");
    files["DATA5S.TXT"] = {"1,1000"};
    const QVariant name = value("select FIRMA_MINSALARY from FIRMA012008");
    ASSERT_EQ(import(Legacy(files)), operations::ImportResult::Imported) << messages().toStdString();
    EXPECT_EQ(c.db.data->period(), util::Period(2008, 1));
    EXPECT_EQ(value("select count(*) from FIRMA012008").toInt(), 1);
    EXPECT_EQ(value("select FIRMA_MINSALARY from FIRMA012008"), name);
    EXPECT_EQ(column("select PERODEFS_COD from PERADEFS012008 order by PERODEFS_COD"), QStringLiteral("1000 2000 2010"));
    EXPECT_EQ(value("select count(*) from PERSONS012008").toInt(), 2);
    EXPECT_EQ(value("select count(*) from PERA012008").toInt(), 3); // the totals; a total of the file adds nothing
}

TEST_F(LegacyImport, TheCompanyFileMayGiveThePercentages)
{
    Files files = legacyFiles(QStringLiteral("00012006")); // only month and year count
    files["DATA1.TXT"] << QStringLiteral("0.75") << QStringLiteral("0,6");
    ASSERT_EQ(import(Legacy(files)), operations::ImportResult::Imported) << messages().toStdString();
    EXPECT_DOUBLE_EQ(value("select FIRMA_DATA3 from FIRMA012006").toDouble(), 0.75);
    EXPECT_DOUBLE_EQ(value("select FIRMA_DOOPROCF3 from FIRMA012006").toDouble(), 0.6);
}

// A bad line stops its own file only: the lines before it stay, the other
// files are read, and the message names the file and the line.
TEST_F(LegacyImport, ABadLineStopsOnlyItsFile)
{
    struct Case {
        const char *file;
        int at;           // the line it becomes
        QString line;
        const char *said; // in the message after "<label>ред <at>: "
        const char *label;
    };
    const QString huge = QStringLiteral("3,") + QString(200 * 1024, QLatin1Char('9')) + QStringLiteral(",0,0");
    const Case cases[] = {
        {"DATA6.TXT", 2, "Склад,7", "2 полета вместо поне 3", "Звена data6.txt "},
        {"DATA6.TXT", 2, "Склад,7а,0", "не е цяло число", "Звена data6.txt "},
        {"DATA6.TXT", 2, huge, "очаква се цяло число", "Звена data6.txt "},
        {"DATA5.TXT", 3, "3,Иван,8001010008,,1,0,31022005,,,,1,,1,,,1,да,1,1,не,,0,0,0,0", "невалидна дата \"31022005\"",
         "Служители data5.txt "},
        {"DATA5S.TXT", 2, "9,101,100,0,0", "няма служител с номер 9", "Пера на служителите data5s.txt "},
        {"DATA5S.TXT", 2, "1,401,1x2,", "не е число", "Пера на служителите data5s.txt "},
        {"DATA5O.TXT", 2, "9,2005,11,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", "няма служител с номер 9",
         "Предходни месеци data5o.txt "},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.file + std::string(" ") + k.line.left(40).toStdString());
        Files files = legacyFiles();
        QStringList &lines = files[QString::fromLatin1(k.file)];
        lines.insert(k.at - 1, k.line);
        c.db.prompter.messages.clear();
        ASSERT_EQ(import(Legacy(files)), operations::ImportResult::PartlyImported) << messages().toStdString();
        ASSERT_EQ(c.db.prompter.messages.size(), 1) << messages().toStdString();
        const QString said = c.db.prompter.messages.first();
        EXPECT_TRUE(said.startsWith(QString::fromUtf8(k.label) + QStringLiteral("ред %1: ").arg(k.at))) << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(k.said))) << said.toStdString();
        EXPECT_LT(said.size(), 300);
        // The first line of the file stays, the rest of it does not; the next file is read.
        const QString file = QString::fromLatin1(k.file);
        if (file == "DATA6.TXT") {
            EXPECT_EQ(value("select count(*) from ZVENA012006").toInt(), 1);
            EXPECT_EQ(value("select count(*) from CAL012006").toInt(), 1);
        } else if (file == "DATA5.TXT") {
            EXPECT_EQ(value("select count(*) from PERSONS012006").toInt(), 2);
        } else if (file == "DATA5S.TXT") {
            EXPECT_EQ(value("select count(*) from PERA012006").toInt(), 4); // the totals and the salary
            EXPECT_EQ(value("select count(*) from PERSDATA").toInt(), 1);
        } else {
            EXPECT_EQ(value("select count(*) from PERSDATA").toInt(), 1);
            EXPECT_EQ(value("select count(*) from GRAD").toInt(), 2);
        }
    }
}

// A value must arrive with its last letter. In the DOS code page "а" is
// 0xA0 and "Е" 0x85, which Latin-1 and Windows-1251 read as blanks; "я" may
// come as the Windows byte 0xFF, a no-break space in the DOS Latin pages.
// Each text value below ends in the letter, most of them a line too.
TEST_F(LegacyImport, ValuesKeepTheirLastLetter)
{
    struct Case {
        QString letter;
        bool windowsByte; // "я" written as 0xFF instead of 0xBF
    };
    for (const Case &k : {Case{QStringLiteral("а"), false}, Case{QStringLiteral("Е"), false}, Case{QStringLiteral("я"), true}}) {
        const QString L = k.letter;
        SCOPED_TRACE(L.toStdString());
        Files files = legacyFiles();
        QStringList &company = files["DATA1.TXT"];
        company[0] = "Фирма Стел" + L;
        company[1] = "Иван Петров" + L;
        company[2] = "Мария Шопов" + L;
        company[3] = "Варн" + L;
        files["DATA6.TXT"] = {"Смян" + L + ",1,0"};
        files["DATA2.TXT"] = {january2006() + ",Седмиц" + L + ",2006,1,0,0,0"};
        files["DATA8.TXT"] = {"1 Чистачк" + L + ",3,9112"};
        files["DATA3.TXT"] << "102 Премия за смян" + L + ",1,не,не,не,не";
        files["DATA5.TXT"][1] = "2,Анна Антонов" + L + ",8505050505,ул. Рил" + L + ",2,0,15032004,31122005,,,2,шивачк" + L
                                + ",3,,,1,да,1,1,не,,0,0,0,0";
        files["DATA5S.TXT"][1] = "1,401,12,сметк" + L;
        files["DATA15.TXT"] = {"002,Варн" + L + ",варн" + L, "005,Бял" + L};
        Legacy folder(files);
        if (k.windowsByte)
            for (const auto &[name, lines] : files)
                folder.write(name, dos(lines).replace('\xBF', '\xFF'));

        c.db.prompter.messages.clear();
        ASSERT_EQ(import(folder), operations::ImportResult::Imported)
            << messages().toStdString();
        const std::pair<const char *, QString> expected[] = {
            {"select FIRMA_IME from FIRMA012006", "Фирма Стел" + L},
            {"select FIRMA_DIRECTOR from FIRMA012006", "Иван Петров" + L},
            {"select FIRMA_SCHET from FIRMA012006", "Мария Шопов" + L},
            {"select FIRMA_GRAD from FIRMA012006", "Варн" + L},
            {"select ZVENO_IME from ZVENA012006", "Смян" + L},
            {"select CAL_IME from CAL012006", "Седмиц" + L},
            {"select DL_IME from DL012006", "Чистачк" + L},
            {"select PERODEFS_IME from PERADEFS012006 where PERODEFS_COD=102", "Премия за смян" + L},
            {"select PERSON_IME from PERSONS012006 where PERSON_NOMER=2", "Анна Антонов" + L},
            {"select PERSON_ADDR from PERSONS012006 where PERSON_NOMER=2", "ул. Рил" + L},
            {"select PERSON_SPEC from PERSONS012006 where PERSON_NOMER=2", "шивачк" + L},
            {"select PERO_PARTIDA from PERA012006 where PERO_COD=401", "сметк" + L},
            {"select GRAD_IME from GRAD where GRAD_COD=2", "Варн" + L},
            {"select GRAD_IME from GRAD where GRAD_COD=5", "Бял" + L},
        };
        for (const auto &[sql, text] : expected)
            EXPECT_EQ(value(QString::fromLatin1(sql)).toString().trimmed(), text) << sql;
    }
}

TEST_F(LegacyImport, CodePagesOtherThanDos)
{
    Files files = legacyFiles();
    Legacy folder(files);
    // A units file saved in the Windows code page still reads its letters;
    // one saved in UTF-8 is refused, not read as nonsense.
    QByteArray windows;
    for (const QString &line : files["DATA6.TXT"])
        windows += util::toCp1251(line) + "\r\n";
    folder.write("DATA6.TXT", windows);
    folder.write("DATA8.TXT", files["DATA8.TXT"].join("\r\n").toUtf8());
    ASSERT_EQ(import(folder), operations::ImportResult::PartlyImported) << messages().toStdString();
    EXPECT_EQ(value("select trim(ZVENO_IME) from ZVENA012006 where ZVENO_COD=1").toString(), QStringLiteral("Администрация"));
    ASSERT_EQ(c.db.prompter.messages.size(), 1);
    EXPECT_TRUE(c.db.prompter.messages.first().startsWith(QStringLiteral("длъжности data8.txt файлът е записан в UTF-8")))
        << messages().toStdString();
    EXPECT_EQ(value("select count(*) from DL012006").toInt(), 0);
}

TEST_F(LegacyImport, NothingChangesWithoutFilesOrAnswer)
{
    Legacy first;
    ASSERT_EQ(import(first), operations::ImportResult::Imported);
    const QByteArray before = c.digest();

    // A folder with none of the files, and one of only other files.
    QTemporaryDir empty;
    EXPECT_EQ(operations::importLegacy(*c.db.data, empty.path(), c.db.prompter), operations::ImportResult::NothingToRead);
    Legacy other(Files{{"README.TXT", {"x"}}});
    EXPECT_EQ(import(other), operations::ImportResult::NothingToRead);
    EXPECT_TRUE(c.db.prompter.messages.last().startsWith(QStringLiteral("В папката "))) << messages().toStdString();

    // The month holds data now: the question, and no is no, also when the
    // files name another month.
    util::RecordingPrompter no(false);
    EXPECT_EQ(import(Legacy(), no), operations::ImportResult::Declined);
    EXPECT_EQ(no.questions, QStringList{operations::importQuestion()});
    Files other2 = legacyFiles();
    other2.erase("DATA1.TXT");
    EXPECT_EQ(import(Legacy(other2), no), operations::ImportResult::Declined);
    EXPECT_EQ(c.digest().toStdString(), before.toStdString());

    // Declined from another month: that month stays current.
    c.db.data->changePeriod(2008, 1);
    EXPECT_EQ(import(Legacy(), no), operations::ImportResult::Declined);
    EXPECT_EQ(c.db.data->period(), util::Period(2008, 1));
    c.db.data->changePeriod(2006, 1);
    EXPECT_EQ(c.digest().toStdString(), before.toStdString());

    // A broken company file: nothing starts.
    Files broken = legacyFiles(QStringLiteral("01132006"));
    EXPECT_EQ(import(Legacy(broken)), operations::ImportResult::Failed);
    EXPECT_TRUE(c.db.prompter.messages.last().startsWith(QStringLiteral("Фирма data1.txt ред 6: "))) << messages().toStdString();
    EXPECT_EQ(c.digest().toStdString(), before.toStdString());
    EXPECT_EQ(c.db.data->period(), util::Period(2006, 1));
}

// A failure in the middle of the import (here: the progress callback of
// the items file throws) leaves every table as it was before.
TEST_F(LegacyImport, AFailureMidwayLeavesEveryTableAsBefore)
{
    Legacy first;
    ASSERT_EQ(import(first), operations::ImportResult::Imported);
    const QByteArray before = c.digest();

    Files changed = legacyFiles();
    changed["DATA5.TXT"] << "3,Нов Служител,8001010008,,1,0,,,,,1,,1,,,1,да,1,1,не,,0,0,0,0";
    changed["DATA5S.TXT"] << "3,101,500,0,0";
    for (const char *file : {"DATA5S.TXT", "DATA15.TXT"}) {
        FailingPrompter failing(QString::fromLatin1(file));
        EXPECT_EQ(import(Legacy(changed), failing), operations::ImportResult::Failed) << file;
        EXPECT_TRUE(failing.messages.value(0).contains(QStringLiteral("прекъснато"))) << failing.messages.join(u'|').toStdString();
        EXPECT_EQ(c.digest().toStdString(), before.toStdString()) << file;
    }

    // The files of another month: after the failure the old month is current again.
    FailingPrompter failing(QStringLiteral("DATA5S.TXT"));
    EXPECT_EQ(import(Legacy(legacyFiles(QStringLiteral("01022006"))), failing), operations::ImportResult::Failed);
    EXPECT_EQ(c.db.data->period(), util::Period(2006, 1));
    EXPECT_EQ(value("select count(*) from PERSONS022006").toInt(), 0);
    EXPECT_EQ(value("select count(*) from PERSONS012006").toInt(), 2);
}

TEST_F(LegacyImport, CommandLine)
{
    Legacy folder;
    CliRun r = c.cli({"import-legacy", folder.path()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString(); // an empty month asks nothing
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("012006"));
    const QByteArray before = c.digest();

    r = c.cli({"import-legacy", folder.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Сигурни ли сте?"))) << r.err.toStdString();
    EXPECT_EQ(c.digest().toStdString(), before.toStdString());

    r = c.cli({"import-legacy", folder.path(), "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(c.digest().toStdString(), before.toStdString()); // the same files give the same data

    Files bad = legacyFiles();
    bad["DATA6.TXT"].insert(1, "Склад,7а,0");
    r = c.cli({"import-legacy", Legacy(bad).path(), "--yes"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Звена data6.txt ред 2: "))) << r.err.toStdString();

    EXPECT_EQ(c.cli({"import-legacy", c.dir() + "no-such-folder", "--yes"}).status, 1);
}

// A copy of the program killed in the middle of a long import leaves the
// data as before, or, once it has committed, the whole import.
TEST_F(LegacyImport, AKilledImportIsAllOrNothing)
{
    Legacy small;
    ASSERT_EQ(import(small), operations::ImportResult::Imported);
    const QByteArray before = c.digest();

    Legacy folder(thousandEmployees(legacyFiles(), true));
    ASSERT_TRUE(killedWhileReadingItems(c.dir(), folder.path()));
    EXPECT_EQ(c.digest().toStdString(), before.toStdString());

    const CliRun r = c.cli({"import-legacy", folder.path(), "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(c.scalar("select count(*) from PERSONS012006"), 1000);
}

// Killed while it reads the files of another month: the company stays on
// its month with its data; run again, the import makes that month current.
TEST_F(LegacyImport, AKilledImportOfAnotherMonthLeavesTheMonth)
{
    ASSERT_EQ(import(Legacy()), operations::ImportResult::Imported);
    auto notFebruary = [](const QString &table) { return !table.endsWith(QLatin1String("022006")); };
    const QByteArray before = c.digest(notFebruary);

    Legacy folder(thousandEmployees(legacyFiles(QStringLiteral("01022006")), false));
    ASSERT_TRUE(killedWhileReadingItems(c.dir(), folder.path()));
    EXPECT_TRUE(c.cli({"info"}).out.contains(QStringLiteral("Текущ месец: 012006")));
    EXPECT_EQ(c.digest(notFebruary).toStdString(), before.toStdString());

    const CliRun r = c.cli({"import-legacy", folder.path(), "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(c.cli({"info"}).out.contains(QStringLiteral("Текущ месец: 022006")));
    EXPECT_EQ(c.scalar("select count(*) from PERSONS022006"), 1000);
}
