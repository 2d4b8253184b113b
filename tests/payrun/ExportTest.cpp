// Tables to spreadsheets by plavex-cli, read back cell by cell (the .xlsx
// through openpyxl, the .csv as the bytes a spreadsheet opens) and
// compared with the database and the documents' own sums.
#include "tests/payrun/PayRunSupport.h"

#include "reports/Recapitulation.h"
#include "reports/Sheets.h"
#include "storage/fb/Statement.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

using namespace plavex;

namespace {

using test::cents;

struct Cell {
    QString type; // "text", "number", "date", "empty"
    QJsonValue value;
    QString format;
};
using Rows = std::vector<std::vector<Cell>>;

Rows readXlsx(const QString &path)
{
    const test::ToolRun r = test::runTool(test::systemPython(), {test::scriptPath("read_xlsx.py"), path});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    Rows rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(r.out).object().value(QStringLiteral("rows")).toArray()) {
        std::vector<Cell> cells;
        for (const QJsonValue &cell : row.toArray()) {
            const QJsonArray c = cell.toArray();
            cells.push_back({c.at(0).toString(), c.at(1), c.at(2).toString()});
        }
        rows.push_back(cells);
    }
    return rows;
}

std::vector<QStringList> readCsv(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 with a byte-order mark";
    const QString text = QString::fromUtf8(bytes.mid(3));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    std::vector<QStringList> rows;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        rows.push_back(line.split(u';'));
    return rows;
}

class Export : public test::EuroCompanySuite<12> {
protected:
    storage::DataModule &data() const
    {
        c.db.data->transaction().commitRetaining();
        return *c.db.data;
    }
    QString exported(const QStringList &args, const QString &name)
    {
        const QString path = c.dir() + name;
        const test::CliRun r = c.cli(QStringList{"export"} + args + QStringList{"--out", path});
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return path;
    }
};

TEST_F(Export, EmployeesCellByCell)
{
    const Rows x = readXlsx(exported({"employees"}, QStringLiteral("employees.xlsx")));
    const auto csv = readCsv(exported({"employees"}, QStringLiteral("employees.csv")));
    const QStringList headings{"Номер", "Име", "ЕГН", "Звено", "Статус", "Дата на назначение", "Дата на уволнение",
                               "IBAN за заплата", "BIC за заплата", "E-mail"};
    ASSERT_FALSE(x.empty());
    for (int i = 0; i < headings.size(); ++i) {
        EXPECT_EQ(x[0][static_cast<size_t>(i)].value.toString(), headings[i]);
        EXPECT_EQ(csv[0].value(i), headings[i]);
    }
    fb::Statement q(data().transaction(),
                    QStringLiteral("select PERSON_NOMER, PERSON_IME, PERSON_EGN, PERSON_ZVENO, PERSON_DATANAZ, PERSON_ZPIBAN, "
                                   "PERSON_EMAIL from PERSONS012026 order by PERSON_NOMER"));
    size_t row = 1;
    while (q.next()) {
        ASSERT_LT(row, x.size());
        const auto &r = x[row];
        const QStringList &line = csv[row];
        EXPECT_EQ(r[0].type, QStringLiteral("number"));
        EXPECT_EQ(r[0].value.toInt(), q.toInt(0));
        EXPECT_EQ(line[0], QString::number(q.toInt(0)));
        EXPECT_EQ(r[1].value.toString(), q.toText(1).trimmed());
        EXPECT_EQ(line[1], q.toText(1).trimmed());
        EXPECT_EQ(r[2].type, QStringLiteral("text")) << "an ЕГН keeps its leading zero";
        EXPECT_EQ(r[2].value.toString(), q.toText(2).trimmed());
        EXPECT_EQ(r[3].value.toInt(), q.toInt(3));
        const QDate hired = q.value(4).toDate();
        EXPECT_EQ(r[5].type, QStringLiteral("date"));
        EXPECT_EQ(r[5].value.toString(), hired.toString(Qt::ISODate));
        EXPECT_EQ(r[5].format, QStringLiteral("dd.mm.yyyy"));
        EXPECT_EQ(line[5], hired.toString(QStringLiteral("dd.MM.yyyy")));
        const QString iban = q.toText(5).trimmed();
        if (!iban.isEmpty()) {
            EXPECT_EQ(r[7].value.toString(), iban);
        }
        EXPECT_EQ(line[9], q.toText(6).trimmed());
        ++row;
    }
    EXPECT_EQ(row, x.size());
    EXPECT_EQ(row, csv.size());
}

TEST_F(Export, ThePaySheetAsTheSheetPrintsIt)
{
    const Rows x = readXlsx(exported({"sheet"}, QStringLiteral("sheet.xlsx")));
    const auto csv = readCsv(exported({"sheet"}, QStringLiteral("sheet.csv")));
    ASSERT_FALSE(x.empty());
    EXPECT_EQ(x[0][5].value.toString(), QStringLiteral("За получаване, евро"));
    std::vector<reports::PaySheetRow> sheet;
    std::vector<int> units;
    for (const int unit : reports::sheetUnits(data()))
        for (const reports::PaySheetRow &r : reports::paySheetRows(data(), unit)) {
            sheet.push_back(r);
            units.push_back(unit);
        }
    ASSERT_EQ(x.size(), sheet.size() + 1);
    ASSERT_EQ(csv.size(), sheet.size() + 1);
    for (size_t i = 0; i < sheet.size(); ++i) {
        const auto &r = x[i + 1];
        const QStringList &line = csv[i + 1];
        EXPECT_EQ(r[0].value.toInt(), units[i]);
        EXPECT_EQ(r[1].value.toInt(), sheet[i].number);
        EXPECT_EQ(r[2].value.toString(), sheet[i].name);
        const double amounts[] = {sheet[i].earnings, sheet[i].deductions, sheet[i].toPay};
        for (int k = 0; k < 3; ++k) {
            const Cell &cell = r[static_cast<size_t>(3 + k)];
            EXPECT_EQ(cell.type, QStringLiteral("number"));
            EXPECT_EQ(cell.format, QStringLiteral("0.00"));
            EXPECT_EQ(cents(cell.value.toDouble()), cents(amounts[k]));
            // A decimal comma and two decimals, nothing else.
            EXPECT_EQ(line[3 + k], QString::number(amounts[k], 'f', 2).replace(u'.', u','));
        }
    }
}

TEST_F(Export, TheOtherTablesAddUpAsTheirDocuments)
{
    // Every item of the month.
    const Rows items = readXlsx(exported({"items"}, QStringLiteral("items.xlsx")));
    EXPECT_EQ(static_cast<qint64>(items.size()) - 1, c.scalar(QStringLiteral("select count(*) from PERA012026")));
    qint64 itemCents = 0;
    for (size_t i = 1; i < items.size(); ++i)
        itemCents += cents(items[i][10].value.toDouble());
    const double stored = fb::Statement::scalar(data().transaction(), QStringLiteral("select sum(PERO_SUMA) from PERA012026")).toDouble();
    EXPECT_EQ(itemCents, cents(stored));

    // The recapitulation's sums are its own.
    const Rows recap = readXlsx(exported({"recap"}, QStringLiteral("recap.xlsx")));
    const std::vector<reports::RecapItem> sums = reports::recapItems(data(), std::nullopt);
    ASSERT_EQ(recap.size(), sums.size() + 1);
    for (size_t i = 0; i < sums.size(); ++i) {
        EXPECT_EQ(recap[i + 1][0].value.toInt(), sums[i].code);
        EXPECT_EQ(cents(recap[i + 1][4].value.toDouble()), cents(sums[i].sum));
    }

    for (const QStringList &args : {QStringList{"item-list", "--item", "1"}, QStringList{"payment-list"}}) {
        const Rows rows = readXlsx(exported(args, args.first() + QStringLiteral(".xlsx")));
        EXPECT_GT(rows.size(), 1u) << args.join(' ').toStdString();
    }
    // January recomputes the year before, when nobody of this month was employed yet.
    const Rows annual = readXlsx(exported({"annual-tax"}, QStringLiteral("annual-tax.xlsx")));
    ASSERT_GE(annual.size(), 1u);
    EXPECT_EQ(annual[0][6].value.toString(), QStringLiteral("Разлика, евро"));

    // What is not a table, or not a spreadsheet, is refused.
    EXPECT_EQ(c.cli({"export", "payslips", "--out", c.dir() + "p.xlsx"}).status, 1);
    EXPECT_EQ(c.cli({"export", "sheet", "--out", c.dir() + "sheet.txt"}).status, 1);
    EXPECT_EQ(c.cli({"export", "item-list", "--out", c.dir() + "list.xlsx"}).status, 1);
    EXPECT_EQ(c.cli({"export", "sheet"}).status, 1);
}

} // namespace
