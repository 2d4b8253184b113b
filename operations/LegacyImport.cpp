#include "operations/LegacyImport.h"

#include "employees/Employees.h"
#include "items/DefinitionReader.h"
#include "items/Definitions.h"
#include "operations/LegacyFields.h"
#include "reference/Company.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Savepoint.h"
#include "storage/Schema.h"
#include "storage/Settings.h"
#include "storage/TableNames.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"
#include "util/Prompter.h"
#include "util/Rounding.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace plavex::operations {

using legacy::Fault;
using legacy::Fields;

namespace {

// The folder's files by their upper-case names: the older release wrote
// them in either case.
class Folder {
public:
    explicit Folder(const QString &path) : dir_(path)
    {
        for (const QString &f : dir_.entryList(QDir::Files))
            files_.insert(f.toUpper(), dir_.filePath(f));
    }
    QString path(const char *name) const { return files_.value(QLatin1String(name)); }
    bool holdsAny() const
    {
        for (const char *name : {"DATA1.TXT", "DATA2.TXT", "DATA3.TXT", "DATA5.TXT", "DATA5S.TXT", "DATA5O.TXT", "DATA6.TXT",
                                 "DATA8.TXT", "DATA15.TXT"})
            if (!path(name).isEmpty())
                return true;
        return false;
    }
    QString shown() const { return QDir::toNativeSeparators(dir_.absolutePath()); }

private:
    QDir dir_;
    QHash<QString, QString> files_;
};

QStringList splitLines(const QByteArray &bytes)
{
    QStringList lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromLatin1(line); // bytes kept one to one; decoded per line
    }
    return lines;
}

QString decoded(const QString &latin1Line) { return legacy::decodeDos(latin1Line.toLatin1()); }

// The company file: one value per line.
struct CompanyFile {
    util::Period period;
    QVariant name, director, accountant, town, week, minSalary, kid1, kid2, bulstat, taxNumber;
    double guaranteed = 0.5;
    double fund = 0.4;
};

CompanyFile readCompanyFile(const QStringList &lines)
{
    // Faults carry their line number in front: "ред N: ...".
    // A line is decoded before it is trimmed: read as Latin-1, the DOS "а"
    // (0xA0) and "Е" (0x85) are blanks and would be cut off a name's end.
    auto at = [&](int n) { return n <= lines.size() ? lines[n - 1].trimmed() : QString(); };
    auto letters = [&](int n) { return n <= lines.size() ? decoded(lines[n - 1]).trimmed() : QString(); };
    auto fault = [](int n, const QString &text) { return Fault{QStringLiteral("ред %1: %2").arg(n).arg(text)}; };
    auto value = [&](int n, const char *column, bool convert, int maxLength = 0) {
        try {
            QString t = convert ? letters(n) : at(n);
            if (maxLength > 0)
                t = t.left(maxLength).trimmed();
            return legacy::columnValue(u"FIRMA", column, t);
        } catch (const Fault &f) {
            throw fault(n, f.text);
        }
    };
    int count = static_cast<int>(lines.size());
    while (count > 0 && letters(count).isEmpty())
        --count;
    if (count < 7)
        throw Fault{QStringLiteral("%1 реда вместо поне 7.").arg(count)};

    CompanyFile c;
    c.name = value(1, "FIRMA_IME", true);
    c.director = value(2, "FIRMA_DIRECTOR", true);
    c.accountant = value(3, "FIRMA_SCHET", true);
    c.town = value(4, "FIRMA_GRAD", true);
    c.week = value(5, "FIRMA_RSEDMICA", false);
    // Only the month and year count; the day may be anything, even 00.
    static const QRegularExpression eightDigits(QStringLiteral("^\\d{8}$"));
    const QString monthText = at(6);
    if (eightDigits.match(monthText).hasMatch())
        c.period = util::Period(monthText.mid(4, 4).toInt(), monthText.mid(2, 2).toInt());
    if (!c.period.isValid())
        throw fault(6, QStringLiteral("\"%1\" не е месец (ДДММГГГГ, годините от 1990 до 2099).").arg(legacy::quoted(at(6))));
    // The minimum wage's column is declared narrower than it stores; it is
    // read as the row's other amounts are.
    c.minSalary = value(7, "FIRMA_INDDOO", false);
    if (count >= 34) {
        c.kid1 = value(33, "FIRMA_KID1", true, 4);
        c.kid2 = value(34, "FIRMA_KID2", true, 2);
    }
    if (count >= 36) {
        c.bulstat = value(35, "FIRMA_BULSTAT", true, 13);
        c.taxNumber = value(36, "FIRMA_DANNOMER", true, 10);
    }
    if (count >= 37)
        c.guaranteed = value(37, "FIRMA_DATA3", false).toDouble();
    if (count >= 38)
        c.fund = value(38, "FIRMA_DOOPROCF3", false).toDouble();
    return c;
}

bool monthHoldsData(storage::DataModule &data, const util::Period &period)
{
    storage::Schema &schema = data.schema();
    const QString persons = storage::names::monthTable(u"PERSONS", period);
    const QString pera = storage::names::monthTable(u"PERA", period);
    int rows = 0;
    if (schema.tableExists(persons))
        rows += data.countRows(persons, QStringLiteral("PERSON_ID"));
    if (schema.tableExists(pera))
        rows += data.countRows(pera, QStringLiteral("PERO_PEROID"));
    return rows > 0;
}

// What an item's line holds after the code, by the field group of its type.
enum class Field { Amount1, Amount2, Days, Begin, End, Account };

std::optional<std::vector<Field>> itemFields(int type)
{
    int g = type;
    if (type >= 139 && type <= 198)
        g = type - 100;
    else if (type == 100)
        g = 38;
    else if (type == 101)
        g = 54;
    else if (type == 199)
        g = 49;
    auto in = [g](std::initializer_list<int> list) { return std::find(list.begin(), list.end(), g) != list.end(); };
    using F = Field;
    if (in({1, 2, 4, 16, 19, 42, 48, 97}))
        return std::vector{F::Amount1, F::Amount2, F::Days};
    if (g == 3 || g == 98)
        return std::vector{F::Days, F::Amount1};
    if (g == 5)
        return std::vector{F::Amount1, F::Days, F::Amount2};
    if (in({6, 7, 17, 18, 29, 30, 31, 32, 35, 37, 43, 45, 47, 46, 49, 50, 51, 52, 53, 54, 55}))
        return std::vector{F::Amount1};
    if (g == 8 || g == 9)
        return std::vector{F::Amount1, F::Amount2};
    if ((g >= 11 && g <= 15) || (g >= 20 && g <= 28))
        return std::vector{F::Begin, F::End, F::Days};
    if (g == 34)
        return std::vector{F::Amount1, F::Days};
    if (g == 39 || g == 41)
        return std::vector{F::Amount1, F::Account};
    if (g == 40)
        return std::vector<F>{};
    if (g == 44)
        return std::vector{F::Amount1, F::Amount2, F::Days, F::Account};
    return std::nullopt;
}

class Importer {
public:
    Importer(storage::DataModule &data, util::Prompter &prompter, const Folder &folder)
        : data_(data), prompter_(prompter), folder_(folder)
    {
    }

    void run(const std::optional<CompanyFile> &company);
    // Lines reported; the chart reader counts its own.
    int reports() const { return reports_; }
    // False when the engine refused to undo a failed unit: then nothing of
    // the transaction may be committed.
    bool undone() const { return undone_; }

private:
    using LineReader = std::function<void(const QString &line, int number)>;
    // Each line of the file (converted from DOS when asked) to the reader;
    // a Fault is reported with the label and line and ends the file.
    void readFile(const char *name, const char *label, const LineReader &reader);
    void report(const char *label, const QString &text)
    {
        ++reports_;
        prompter_.message(QString::fromUtf8(label) + text);
    }

    void readAll(const std::optional<CompanyFile> &company, const QStringList &emptied, const QVariantList &yearAmounts);
    void insertCompany(const CompanyFile &c, const QVariantList &yearAmounts);
    void readUnits(const QString &line);
    void readCalendar(const QString &line, int number);
    void readPosition(const QString &line, int number);
    void readEmployee(const QString &line, int lineNumber);
    void readItem(const QString &line);
    void readHistory(const QString &line);
    void readTown(const QString &line);
    // The employee of a line's number, looked up again when the number changes.
    struct Lookup {
        int number = 0;
        int id = 0;
    };
    int personOf(const Fields &f, Lookup &last);

    storage::DataModule &data_;
    util::Prompter &prompter_;
    const Folder &folder_;
    int nextPersonId_ = 1;
    int nextItemId_ = 1;
    Lookup itemsEmployee_;
    Lookup historyEmployee_;
    QSet<int> withTotals_;
    int reports_ = 0;
    bool undone_ = true;
    QStringList yearTables_; // reseeded: rates, tax scale, minimum incomes, activities
};

void Importer::readFile(const char *name, const char *label, const LineReader &reader)
{
    const QString path = folder_.path(name);
    if (path.isEmpty())
        return; // a file the older release did not write
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report(label, QStringLiteral("файлът не може да бъде прочетен."));
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (legacy::looksLikeUtf8(bytes)) {
        report(label, QStringLiteral("файлът е записан в UTF-8, а се очаква DOS кирилица. Не е прочетен."));
        return;
    }
    const QStringList lines = splitLines(bytes);
    prompter_.progressStart(QStringLiteral("Четене на файл ") + QDir::toNativeSeparators(path));
    const int total = static_cast<int>(lines.size());
    for (int n = 0; n < total; ++n) {
        prompter_.progressStep(n + 1, total);
        const QString line = decoded(lines[n]);
        if (line.trimmed().isEmpty())
            continue;
        try {
            reader(line, n + 1);
        } catch (const Fault &f) {
            report(label, QStringLiteral("ред %1: %2").arg(n + 1).arg(f.text));
            break;
        }
    }
    prompter_.progressEnd();
}

void Importer::insertCompany(const CompanyFile &c, const QVariantList &yearAmounts)
{
    data_.insertRow(data_.table(u"FIRMA"),
                    QStringLiteral(" (FIRMA_IME,FIRMA_DIRECTOR,FIRMA_SCHET,FIRMA_GRAD,FIRMA_RSEDMICA,FIRMA_MINSALARY,"
                                   "FIRMA_INDDOO,FIRMA_MINDOH,FIRMA_OBMAJKI,firma_kid1,firma_kid2,firma_bulstat,"
                                   "firma_dannomer,firma_DATA3,FIRMA_DOOPROCF3)"),
                    {c.name, c.director, c.accountant, c.town, c.week, util::roundHalfEven(c.minSalary.toDouble(), 3),
                     yearAmounts.value(0), yearAmounts.value(1), yearAmounts.value(2), c.kid1, c.kid2, c.bulstat,
                     c.taxNumber, c.guaranteed, c.fund});
}

void Importer::readUnits(const QString &line)
{
    const Fields f(line);
    f.require(3);
    const QVariant name = f.text(0, u"ZVENA", "ZVENO_IME");
    const QVariant code = f.integer(1, u"ZVENA", "ZVENO_COD");
    const QVariant parent = f.integer(2, u"ZVENA", "ZVENO_CODRAZ");
    const QString table = data_.table(u"ZVENA");
    if (code.toInt() == 0 || !data_.notExists(table, QStringLiteral("ZVENO_COD"), code))
        return;
    data_.insertRow(table, QStringLiteral(" (ZVENO_COD,ZVENO_IME,ZVENO_CODRAZ) "), {code, name, parent});
}

void Importer::readCalendar(const QString &line, int number)
{
    const Fields f(line);
    f.require(34); // the three integers after the month are not used
    QString days;
    for (int i = 0; i < 31; ++i) {
        const QString flag = f.raw(i);
        if (flag.size() != 1)
            throw Fault{QStringLiteral("ден %1: \"%2\" вместо един знак.").arg(i + 1).arg(legacy::quoted(flag))};
        days += flag;
    }
    const QVariant flags = legacy::checkedValue(u"CAL", "CAL_RABDNI", days);
    const QVariant name = f.text(31, u"CAL", "CAL_IME", 30);
    const QVariant year = f.integer(32, u"CAL", "CAL_GODINA");
    const QVariant month = f.integer(33, u"CAL", "CAL_MESEC");
    const QString table = data_.table(u"CAL");
    if (!data_.notExists(table, QStringLiteral("CAL_COD"), number))
        return;
    data_.insertRow(table, QStringLiteral(" (CAL_COD,CAL_IME,CAL_MESEC,CAL_GODINA,CAL_RABDNI) "), {number, name, month, year, flags});
}

void Importer::readPosition(const QString &line, int number)
{
    const Fields f(line);
    const QString text = f.raw(0);
    if (text.size() < 4)
        return;
    f.require(3);
    const int blank = text.indexOf(QLatin1Char(' '));
    const QString name = blank < 0 ? QString() : text.mid(blank + 1).trimmed().left(30).trimmed();
    const QVariant degree = f.integer(1, u"DL", "DL_KSTEPEN");
    // The national classification's code is kept as the text of its number.
    const QVariant code = legacy::checkedValue(u"DL", "DL_SHIFAR", f.integer(2, u"DL", "DL_PORNOMER").toString());
    const QString table = data_.table(u"DL");
    if (!data_.notExists(table, QStringLiteral("DL_COD"), number))
        return;
    data_.insertRow(table, QStringLiteral(" (DL_COD,DL_IME,DL_KSTEPEN,DL_SHIFAR,DL_PORNOMER) "),
                    {number, legacy::checkedValue(u"DL", "DL_IME", name), degree, code, 0});
}

void Importer::readEmployee(const QString &line, int lineNumber)
{
    const Fields f(line);
    f.require(25); // the town code may be missing
    constexpr QStringView P = u"PERSONS";
    const QVariant number = f.integer(0, P, "PERSON_NOMER");

    // Years, months and days of service as YYMMDD.
    auto service = [&](int i, const char *d, const char *m, const char *y) {
        const QString t = f.raw(i);
        if (!t.isEmpty() && t.size() != 6)
            throw Fault{QStringLiteral("стаж \"%1\" вместо ГГММДД.").arg(legacy::quoted(t))};
        return QVariantList{legacy::columnValue(P, d, t.mid(4, 2)), legacy::columnValue(P, m, t.mid(2, 2)),
                            legacy::columnValue(P, y, t.left(2))};
    };
    QString bank = f.raw(20);
    bank.remove(4, 1);
    const QVariant town = f.size() > 25 ? f.integer(25, P, "PERSON_ADDRGRAD") : QVariant(0);

    QVariantList values{nextPersonId_, number, f.text(1, P, "PERSON_IME", 50), f.text(2, P, "PERSON_EGN", 10),
                        f.text(3, P, "PERSON_ADDR", 50), f.integer(4, P, "PERSON_POL"), f.integer(5, P, "PERSON_DECA")};
    values += service(8, "PERSON_STAV1D", "PERSON_STAV1M", "PERSON_STAV1Y");
    values += service(9, "PERSON_STAV2D", "PERSON_STAV2M", "PERSON_STAV2Y");
    values << f.integer(10, P, "PERSON_OBR") << f.text(11, P, "PERSON_SPEC", 15) << f.integer(12, P, "PERSON_DLUV")
           << f.text(14, P, "PERSON_TELSLU", 10) << f.text(13, P, "PERSON_TELDOM", 10) << f.integer(15, P, "PERSON_SYSZ")
           << (f.flag(16) ? 1 : 0) << f.integer(17, P, "PERSON_SEMP") << f.integer(18, P, "PERSON_KALENDAR")
           << (f.flag(19) ? 1 : 0) << legacy::checkedValue(P, "PERSON_PART", bank.left(10).trimmed())
           << legacy::checkedValue(P, "PERSON_BKOD", bank.mid(10, 2).trimmed()) << f.integer(21, P, "PERSON_PCODE")
           << f.integer(22, P, "PERSON_OTP") << f.integer(23, P, "PERSON_NOTP") << f.amount(24, P, "PERSON_DOOPROC", 4)
           << legacy::checkedValue(P, "PERSON_ZVENO", number.toInt() / data_.settings().unitDivisor())
           << QStringLiteral("01") << 1 << 1 << 0 << 0 << f.date(6, P, "PERSON_DATANAZ") << f.date(7, P, "PERSON_DATAUWOL")
           << (town.toInt() == 0 ? 1 : town.toInt());

    const QString table = data_.table(u"PERSONS");
    if (!data_.notExists(table, QStringLiteral("PERSON_NOMER"), number)) {
        report("Служители data5.txt ", QStringLiteral("ред %1: служител с номер %2 е вече прочетен; редът е пропуснат.")
                                           .arg(lineNumber)
                                           .arg(number.toInt()));
        return;
    }
    data_.insertRow(table,
                    QStringLiteral(" ( PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_EGN,PERSON_ADDR,PERSON_POL,PERSON_DECA,"
                                   "PERSON_STAV1D,PERSON_STAV1M,PERSON_STAV1Y,PERSON_STAV2D,PERSON_STAV2M,PERSON_STAV2Y,"
                                   "PERSON_OBR,PERSON_SPEC,PERSON_DLUV,PERSON_TELSLU,PERSON_TELDOM,PERSON_SYSZ,PERSON_ACT,"
                                   "PERSON_SEMP,PERSON_KALENDAR,PERSON_INDEC,PERSON_PART,PERSON_BKOD,PERSON_PCODE,PERSON_OTP,"
                                   "PERSON_NOTP,PERSON_DOOPROC,PERSON_ZVENO,PERSON_NOS,PERSON_NOSN,PERSON_GARVZ,"
                                   "PERSON_TRUSTR,PERSON_PENSIA,PERSON_DATANAZ,PERSON_DATAUWOL,PERSON_ADDRGRAD) "),
                    values);
    ++nextPersonId_;
}

int Importer::personOf(const Fields &f, Lookup &last)
{
    const int number = f.integer(0, u"PERSONS", "PERSON_NOMER").toInt();
    if (number == last.number && last.id > 0)
        return last.id;
    // Items of nobody would stay in the month for ever, counted by no one.
    const std::optional<int> id = employees::idByNumber(data_, number);
    if (!id)
        throw Fault{QStringLiteral("няма служител с номер %1 в DATA5.TXT.").arg(number)};
    last = {number, *id};
    return last.id;
}

void Importer::readItem(const QString &line)
{
    const Fields f(line);
    f.require(2);
    const int person = personOf(f, itemsEmployee_);
    const QString pera = data_.table(u"PERA");
    const QString columns = QStringLiteral("PERO_PERSONID,PERO_PEROID,PERO_COD,PERO_TYPE");
    // The totals once per employee, even when his lines are not together.
    if (!withTotals_.contains(person)) {
        for (const auto &[code, type] : {std::pair{1000, 100}, std::pair{2000, 200}, std::pair{2010, 201}})
            data_.insertValues(pera, columns, {person, nextItemId_++, code, type});
        withTotals_.insert(person);
    }

    const QVariant code = f.integer(1, u"PERA", "PERO_COD");
    const int type = items::definitionType(data_, code.toInt());
    if (type == 0)
        throw Fault{QStringLiteral("няма перо с код %1.").arg(code.toInt())};
    const auto fields = itemFields(type);
    if (!fields)
        return; // the older release kept nothing of its own for such items
    const int needed = 2 + static_cast<int>(std::count_if(fields->begin(), fields->end(), [](Field x) { return x != Field::Account; }));
    f.require(needed);

    QString list = columns;
    QVariantList values{person, nextItemId_, code, type};
    for (size_t k = 0; k < fields->size(); ++k) {
        const int i = 2 + static_cast<int>(k);
        switch ((*fields)[k]) {
        case Field::Amount1: list += QStringLiteral(",PERO_SUMA1"); values << f.amount(i, u"PERA", "PERO_SUMA1"); break;
        case Field::Amount2: list += QStringLiteral(",PERO_SUMA2"); values << f.amount(i, u"PERA", "PERO_SUMA2"); break;
        case Field::Days: list += QStringLiteral(",PERO_D"); values << f.integer(i, u"PERA", "PERO_D"); break;
        case Field::Begin: list += QStringLiteral(",PERO_BEGINDATE"); values << f.date(i, u"PERA", "PERO_BEGINDATE"); break;
        case Field::End: list += QStringLiteral(",PERO_ENDDATE"); values << f.date(i, u"PERA", "PERO_ENDDATE"); break;
        case Field::Account: list += QStringLiteral(",PERO_PARTIDA"); values << f.text(i, u"PERA", "PERO_PARTIDA"); break;
        }
    }
    data_.insertValues(pera, list, values);
    ++nextItemId_;
}

void Importer::readHistory(const QString &line)
{
    const Fields f(line);
    f.require(22);
    const int person = personOf(f, historyEmployee_);
    constexpr QStringView H = u"PERSDATA";
    // Days were kept in a byte.
    auto days = [&](int i, const char *column) {
        const QVariant v = f.integer(i, H, column);
        if (v.toInt() < 0 || v.toInt() > 255)
            throw Fault{QStringLiteral("%1 дни: очакват се от 0 до 255.").arg(v.toInt())};
        return v;
    };
    const QVariant year = f.integer(1, H, "PERSDATA_GOD");
    const QVariant month = f.integer(2, H, "PERSDATA_MES");
    QVariantList values{person, year, month, f.amount(3, H, "PERSDATA_ZAPL"), days(4, "PERSDATA_RABDNI"),
                        f.amount(5, H, "PERSDATA_BOT12"), days(6, "PERSDATA_ODNI"), f.amount(7, H, "PERSDATA_BDOO"),
                        days(8, "PERSDATA_SDNI"), f.amount(9, H, "PERSDATA_SFRZ")};
    values << legacy::checkedValue(H, "PERSDATA_ODOO", days(8, "PERSDATA_SDNI").toInt() - days(10, "PERSDATA_ODOO").toInt());
    int i = 11;
    for (const char *column : {"PERSDATA_SOBL", "PERSDATA_SDOD", "PERSDATA_WSDOOLI", "PERSDATA_SUDZPO", "PERSDATA_SUPKB",
                               "PERSDATA_SUSOCR", "PERSDATA_SUZDR", "PERSDATA_WCOSUMA", "PERSDATA_SBOL"})
        values << f.amount(i++, H, column);
    values << f.integer(20, H, "PERSDATA_DBOL") << f.integer(21, H, "PERSDATA_DFBOL");

    if (!data_.notExistsWhere(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID=? and PERSDATA_GOD=? and PERSDATA_MES=?"),
                              {person, year, month}))
        return;
    data_.insertRow(QStringLiteral("PERSDATA"),
                    QStringLiteral(" (PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_ZAPL,PERSDATA_RABDNI,PERSDATA_BOT12,"
                                   "PERSDATA_ODNI,PERSDATA_BDOO,PERSDATA_SDNI,PERSDATA_SFRZ,PERSDATA_ODOO,PERSDATA_SOBL,"
                                   "PERSDATA_SDOD,PERSDATA_WSDOOLI,PERSDATA_SUDZPO,PERSDATA_SUPKB,PERSDATA_SUSOCR,"
                                   "PERSDATA_SUZDR,PERSDATA_WCOSUMA,PERSDATA_SBOL,PERSDATA_DBOL,PERSDATA_DFBOL) "),
                    values);
}

void Importer::readTown(const QString &line)
{
    const QVariant code = legacy::columnValue(u"GRAD", "GRAD_COD", line.left(3));
    QString rest = line.mid(3);
    if (rest.startsWith(QLatin1Char(',')))
        rest.remove(0, 1);
    const Fields f(rest);
    const QString name = f.raw(0);
    if (name.isEmpty())
        return;
    const QVariant checkedName = f.text(0, u"GRAD", "GRAD_IME");
    const QString region = f.raw(1).toUpper();
    // A blank region name would match the first region.
    const QVariant regionCode = region.isEmpty()
                                    ? QVariant()
                                    : fb::Statement::scalar(data_.transaction(),
                                                            QStringLiteral("SELECT OBS_COD FROM OBS WHERE OBS_IME STARTING WITH ? "
                                                                           "ORDER BY OBS_COD"),
                                                            {region});
    if (!data_.notExists(QStringLiteral("GRAD"), QStringLiteral("GRAD_COD"), code))
        return;
    data_.insertRow(QStringLiteral("GRAD"), QStringLiteral(" (GRAD_COD,GRAD_IME,GRAD_OBSCOD) "),
                    {code, checkedName, regionCode.isValid() ? regionCode.toInt() : 0});
}

void Importer::run(const std::optional<CompanyFile> &company)
{
    const util::Period period = data_.period();
    const int year = period.year();
    const QString noi = storage::names::noiTable(period);
    const QString dod = storage::names::yearTable(u"DOD", year);
    const QString pril1 = storage::names::yearTable(u"PRIL1", year);
    const QString nkid = storage::names::yearTable(u"NKID", year);
    yearTables_ = {noi, dod, pril1, nkid};

    // The company amounts of the data's year; later years keep what the
    // month's row had, for a cap of 0 would leave nobody insured.
    QVariantList yearAmounts;
    switch (year) {
    case 2004: yearAmounts = {1200.0, 220.0, 120.0}; break;
    case 2005: yearAmounts = {1300.0, 220.0, 130.0}; break;
    case 2006: yearAmounts = {1400.0, 220.0, 160.0}; break;
    default: {
        fb::Statement q(data_.transaction(),
                        QStringLiteral("select FIRMA_INDDOO, FIRMA_MINDOH, FIRMA_OBMAJKI from %1").arg(data_.table(u"FIRMA")));
        yearAmounts = q.next() ? QVariantList{q.toDouble(0), q.toDouble(1), q.toDouble(2)} : QVariantList{0.0, 0.0, 0.0};
    }
    }

    // Without a company file the month keeps its company row: emptied, it
    // could not even be saved again from the company form.
    QStringList emptied;
    if (company)
        emptied << data_.table(u"FIRMA");
    for (const char16_t *base : {u"ZVENA", u"CAL", u"DL", u"PERADEFS", u"PERSONS", u"PERA"})
        emptied << data_.table(base);
    emptied << noi << dod << pril1 << nkid << QStringLiteral("PERSDATA") << QStringLiteral("GRAD");

    // The month first, then the shared tables, as every writer takes them.
    data_.lockPeriod();
    for (const QString &table : emptied)
        data_.lockFor(table);
    data_.locks().take(QStringLiteral("PERSON_ID"));

    storage::Savepoint unit(data_.transaction());
    try {
        readAll(company, emptied, yearAmounts);
    } catch (...) {
        try {
            unit.rollback();
        } catch (const std::exception &) {
            undone_ = false;
        }
        throw;
    }
    unit.release();
    data_.commitRetaining();
}

void Importer::readAll(const std::optional<CompanyFile> &company, const QStringList &emptied, const QVariantList &yearAmounts)
{
    const util::Period period = data_.period();
    const int year = period.year();
    // The stored month moves with the data, in the same commit.
    fb::Statement::run(data_.transaction(), QStringLiteral("UPDATE MYPARAMS SET PAR_CURDATE=?"), {period.text()});
    for (const QString &table : emptied)
        fb::Statement::run(data_.transaction(), QStringLiteral("delete from ") + table);
    nextPersonId_ = data_.getMaxValue(data_.table(u"PERSONS"), QStringLiteral("PERSON_ID")) + 1;
    nextItemId_ = data_.getMaxValue(data_.table(u"PERA"), QStringLiteral("PERO_PEROID")) + 1;

    if (company)
        insertCompany(*company, yearAmounts);
    readFile("DATA6.TXT", "Звена data6.txt ", [this](const QString &l, int) { readUnits(l); });
    readFile("DATA2.TXT", "Календари data2.txt ", [this](const QString &l, int n) { readCalendar(l, n); });
    readFile("DATA8.TXT", "длъжности data8.txt ", [this](const QString &l, int n) { readPosition(l, n); });

    // The chart reader of a new database; its own messages name file and line.
    // Without a chart the month still gets the three totals its items need.
    const QString chart = folder_.path("DATA3.TXT");
    QFile chartFile(chart);
    const QString definitions = data_.table(u"PERADEFS");
    if (!chart.isEmpty() && chartFile.open(QIODevice::ReadOnly) && legacy::looksLikeUtf8(chartFile.readAll())) {
        report("Пера data3.txt ", QStringLiteral("файлът е записан в UTF-8, а се очаква DOS кирилица. Не е прочетен."));
        data_.insertStandardDefinitions(definitions);
    } else if (chart.isEmpty()) {
        data_.insertStandardDefinitions(definitions);
    } else {
        int faults = 0;
        items::DefinitionReader(data_).read(chart, definitions, &faults);
        reports_ += faults;
    }

    readFile("DATA5.TXT", "Служители data5.txt ", [this](const QString &l, int n) { readEmployee(l, n); });
    readFile("DATA5S.TXT", "Пера на служителите data5s.txt ", [this](const QString &l, int) { readItem(l); });
    readFile("DATA5O.TXT", "Предходни месеци data5o.txt ", [this](const QString &l, int) { readHistory(l); });

    storage::Schema &schema = data_.schema();
    const int stoppedBefore = schema.stoppedLoads();
    schema.seedNoi(yearTables_[0], period);
    schema.seedDod(yearTables_[1], year);
    schema.seedPril1(yearTables_[2], year);
    schema.seedNkid(yearTables_[3]);
    if (schema.stoppedLoads() != stoppedBefore)
        throw std::runtime_error(QStringLiteral("Служебните номенклатури не са заредени изцяло.").toStdString());

    readFile("DATA15.TXT", "Градове data15.txt ", [this](const QString &l, int) { readTown(l); });

    reference::Company row;
    reference::loadCompany(data_, row);
    reference::updateMinimumIncome(data_, row.activityCode, row.activityNumber);
}

} // namespace

QString importQuestion()
{
    return QStringLiteral("Сигурни ли сте?\nАко продължите данните от текущата база данни ще бъдат изтрити.");
}

ImportResult importLegacy(storage::DataModule &data, const QString &folderPath, util::Prompter &prompter)
{
    const Folder folder(folderPath);
    if (!folder.holdsAny()) {
        prompter.message(QStringLiteral("В папката %1 няма файлове за четене (DATA1.TXT ... DATA15.TXT).").arg(folder.shown()));
        return ImportResult::NothingToRead;
    }

    // The company file names the month, so it is read before anything changes.
    std::optional<CompanyFile> company;
    if (const QString path = folder.path("DATA1.TXT"); !path.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            prompter.message(QStringLiteral("Фирма data1.txt файлът не може да бъде прочетен."));
            return ImportResult::Failed;
        }
        const QByteArray bytes = file.readAll();
        try {
            if (legacy::looksLikeUtf8(bytes))
                throw Fault{QStringLiteral("файлът е записан в UTF-8, а се очаква DOS кирилица.")};
            company = readCompanyFile(splitLines(bytes));
        } catch (const Fault &f) {
            prompter.message(QStringLiteral("Фирма data1.txt %1\nНищо не е прочетено.").arg(f.text));
            return ImportResult::Failed;
        }
    }

    const util::Period before = data.period();
    const util::Period target = company ? company->period : before;
    try {
        if (monthHoldsData(data, target) && !prompter.confirm(importQuestion()))
            return ImportResult::Declined;
    } catch (const fb::Error &e) {
        prompter.message(storage::errorText(e));
        return ImportResult::Failed;
    }

    prompter.progressStart(QStringLiteral("Четене на "));
    Importer importer(data, prompter, folder);
    try {
        // Opening the month makes its tables, which commits: before the unit.
        // The stored month changes only with the unit's commit.
        data.openPeriod(target);
        importer.run(company);
    } catch (const std::exception &e) {
        prompter.progressEnd();
        try {
            if (importer.undone())
                data.commitRetaining(); // nothing of the unit is left; the locks go
            else
                data.transaction().rollbackRetaining();
            data.openPeriod(before);
        } catch (const std::exception &) {
            // Reported below; what was committed before the import stays as it was.
        }
        prompter.message(QStringLiteral("Текстът не е прочетен; данните са както преди четенето.\n") + storage::errorText(e));
        return ImportResult::Failed;
    }
    prompter.progressEnd();
    // Made current the usual way, so that whoever follows the month hears of it.
    data.setPeriod(before);
    data.changePeriod(target.year(), target.month());
    data.openPeriod(data.period());
    return importer.reports() == 0 ? ImportResult::Imported : ImportResult::PartlyImported;
}

} // namespace plavex::operations
