#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "calc/YearSums.h"
#include "items/Definitions.h"
#include "items/ItemRecord.h"
#include "reference/Company.h"
#include "reports/ReportRun.h"
#include "reports/TaxCertificates.h"
#include "reports/engine/FontMetrics.h"
#include "reports/engine/Render.h"
#include "storage/fb/Statement.h"
#include "tests/support/MonthRows.h"
#include "util/DateText.h"
#include "util/Separators.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using namespace plavex;
using namespace plavex::reports;

namespace {

std::vector<const Op *> texts(const Document &doc, const QString &text, int page = 0)
{
    std::vector<const Op *> out;
    for (const Op &op : doc.pages[page].ops)
        if (op.kind == Op::Kind::Text && op.text == text)
            out.push_back(&op);
    return out;
}
const Op *text(const Document &doc, const QString &t, int page = 0)
{
    const auto all = texts(doc, t, page);
    return all.empty() ? nullptr : all.front();
}
double rightEnd(const Op &op) { return op.x + FontMetrics::width(op.font, op.text); }

class TaxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Flat from 116.67: a monthly average of 416.67 is taxed 30.00.
        t.dir.writeNom(QStringLiteral("DOD2008.csv"), {QStringLiteral("2008;116.67;0;0.10")});
        t.dir.writeNom(QStringLiteral("DOD2009.csv"), {QStringLiteral("2009;116.67;0;0.10")});
        ASSERT_TRUE(t.open());
        d = t.data.get();
        reference::postCompany(*d, {{QStringLiteral("FIRMA_IME"), QStringLiteral("Плавекс ООД")},
                                    {QStringLiteral("FIRMA_BULSTAT"), QStringLiteral("121234567")},
                                    {QStringLiteral("FIRMA_ADDRUL"), QStringLiteral("ул. Шипка 5")}});
        fb::Statement::run(d->transaction(), QStringLiteral("INSERT INTO OBS (OBS_COD, OBS_IME) VALUES (9922, 'София-град')"));
        fb::Statement::run(d->transaction(),
                           QStringLiteral("INSERT INTO GRAD (GRAD_COD, GRAD_IME, GRAD_OBSCOD) VALUES (99007, 'София', 9922)"));
        addEmployee(1, 11, "Анна Иванова Петрова", 1, "0", 0);
        addEmployee(2, 12, "Борис Стоянов Колев", 1, "1", 3);
        addEmployee(3, 13, "Васил Петров Димов", 1, "0", 3);
        addEmployee(4, 14, "Георги Неактивен", 0, "0", 0);
        fb::Statement::run(d->transaction(),
                           QStringLiteral("UPDATE %1 SET PERSON_ADDRGRAD=99007, PERSON_ADDR='ж.к. Лозенец 3', PERSON_TELDOM='0888123', "
                                          "PERSON_PASNOMER='641234567', PERSON_PASDATE='2005-06-01' WHERE PERSON_ID=1")
                               .arg(d->table(u"PERSONS")));
        // Anna: 5 000.00 taxable and 400.00 withheld in 2008, across the year.
        for (int month : {1, 2, 3, 11})
            addMonth(1, 2008, month, 1250, 100, 10, 80, 5, 30);
        addMonth(1, 2007, 12, 999, 99, 9, 9, 9, 9); // another year: never counted
        addMonth(2, 2008, 1, 3000, 150);
        addMonth(2, 2008, 2, 3000, 150);
        addMonth(3, 2008, 1, 6000, 300);
        addMonth(4, 2008, 5, 2400, 100);
        d->commitRetaining();
    }

    void addEmployee(int id, int number, const char *name, int active, const char *semobl, int children)
    {
        test::insertEmployee(*d, {{"PERSON_ID", id}, {"PERSON_NOMER", number}, {"PERSON_IME", QString::fromUtf8(name)},
                                  {"PERSON_EGN", QStringLiteral("750101%1").arg(1000 + id)}, {"PERSON_ACT", active},
                                  {"PERSON_KALENDAR", 1}, {"PERSON_SEMOBL", QLatin1String(semobl)}, {"PERSON_DECA", children}});
    }
    void addMonth(int person, int year, int month, double sobl, double sdod, double sudzpo = 0, double wsdooli = 0,
                  double supkb = 0, double suzdr = 0)
    {
        d->insertRow(QStringLiteral("PERSDATA"),
                     QStringLiteral("(PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SOBL,PERSDATA_SDOD,"
                                    "PERSDATA_SUDZPO,PERSDATA_WSDOOLI,PERSDATA_SUPKB,PERSDATA_SUZDR)"),
                     {person, year, month, sobl, sdod, sudzpo, wsdooli, supkb, suzdr});
    }

    test::TestDatabase t{util::Period(2009, 1)};
    storage::DataModule *d = nullptr;
};

// Answers the run's questions as a user would.
class Host : public ReportHost {
public:
    bool askCertificate(ReportRequest &r) override
    {
        r.certificateKind = kind;
        r.year = year;
        r.date = date;
        r.employeeId = employee;
        return true;
    }
    bool askTaxDifferenceItem(int &c) override
    {
        c = code;
        return code != 0;
    }
    void output(Document &doc) override { produced = doc; }
    int kind = 0, year = 2008, employee = 1, code = 0;
    QDate date;
    Document produced;
};

TEST_F(TaxTest, CertificateSumsTheWholeYearAtTheFormsPositions)
{
    // A dismissal on 15.03 sums every record of its year, November's too.
    for (int kind : {AnnualCertificate, DismissalCertificate}) {
        SCOPED_TRACE(kind);
        Host host;
        host.kind = kind;
        host.date = QDate(2008, 3, 15);
        host.year = kind == AnnualCertificate ? 2008 : 0;
        ReportRequest r;
        r.kind = ReportKind::TaxCertificate;
        ASSERT_EQ(startReport(*d, host, r).outcome, RunOutcome::Done);
        const Document &doc = host.produced;
        ASSERT_EQ(doc.pageCount(), 1);

        const calc::YearSums s = calc::yearSums(*d, 1, 2008);
        EXPECT_DOUBLE_EQ(s.taxable, 5000);
        EXPECT_DOUBLE_EQ(s.tax, 400);
        // income 5000 + 4 × (10 + 80 + 5 + 30); contributions 500; social + fund 340.
        const std::vector<std::pair<QString, int>> figures = {
            {QStringLiteral("5500.00"), 2}, {QStringLiteral("500.00"), 2}, {QStringLiteral("340.00"), 2},
            {QStringLiteral("40.00"), 2},   {QStringLiteral("120.00"), 2}, {QStringLiteral("5000.00"), 2},
            {QStringLiteral("400.00"), 4},  {QStringLiteral("0.00"), 25}};
        std::vector<double> baselines;
        for (const auto &[figure, count] : figures) {
            const auto ops = texts(doc, figure);
            EXPECT_EQ(static_cast<int>(ops.size()), count) << figure.toStdString();
            for (const Op *op : ops) {
                EXPECT_NEAR(rightEnd(*op), 18.3, 0.01) << figure.toStdString();
                baselines.push_back(op->y);
            }
        }
        std::sort(baselines.begin(), baselines.end());
        ASSERT_EQ(baselines.size(), 41u);
        // The rows' distances: the first five, the widest gaps and the last.
        const double downs[] = {0.35, 0.4, 0.3, 0.35, 1.1};
        for (int i = 0; i < 5; ++i)
            EXPECT_NEAR(baselines[i + 1] - baselines[i], downs[i], 1e-6) << i;
        EXPECT_NEAR(baselines[13] - baselines[12], 1.25, 1e-6);
        EXPECT_NEAR(baselines[40] - baselines[39], 0.4, 1e-6);
        // Row 1 is 0.9 below the year's line, 6.4 from the top.
        const Op *yearDigits = text(doc, QStringLiteral("08"));
        ASSERT_TRUE(yearDigits);
        EXPECT_NEAR(yearDigits->x, 6.5, 1e-6);
        EXPECT_NEAR(baselines[0] - yearDigits->y, 0.9, 1e-6);

        // The header fields at the form's places.
        for (const auto &[field, x] : std::initializer_list<std::pair<QString, double>>{
                 {QStringLiteral("Плавекс ООД"), 9.0},
                 {QStringLiteral("ул. Шипка 5"), 7.3},
                 {QStringLiteral("121234567"), 14.6},
                 {QStringLiteral("Анна Иванова Петрова"), 8.5},
                 {QStringLiteral("7501011001"), 3.0},
                 {QStringLiteral("641234567"), 11.05},
                 {QDate(2005, 6, 1).toString(util::displayDateFormat(util::Separators::current().date)), 15.9},
                 {QStringLiteral("София-град"), 14.25},
                 {QStringLiteral("ж.к. Лозенец 3"), 2.1},
                 {QStringLiteral("тел: 0888123"), 15.8}}) {
            const Op *op = text(doc, field);
            if (!op)
                for (const Op &o : doc.pages[0].ops)
                    if (o.kind == Op::Kind::Text && std::abs(o.x - x) < 0.01)
                        ADD_FAILURE() << "at " << x << ": " << o.text.toStdString();
            ASSERT_TRUE(op) << field.toStdString();
            EXPECT_NEAR(op->x, x, 1e-6) << field.toStdString();
        }
        const auto town = texts(doc, QStringLiteral("София"));
        ASSERT_EQ(town.size(), 2u);
        // Without an image the form is drawn: its title and captions are there.
        EXPECT_TRUE(text(doc, QStringLiteral("СЛУЖЕБНА БЕЛЕЖКА")));
        EXPECT_TRUE(text(doc, QStringLiteral("Удържан данък върху доходите за годината")));
        EXPECT_TRUE(doc.images.empty());
    }
}

TEST_F(TaxTest, CertificateOverTheFormImageWhenThereIsOne)
{
    QImage image(20, 28, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
    }
    t.dir.writeFile(QStringLiteral("docs/slbel4.bmp"), bmp);
    Host host;
    ReportRequest r;
    r.kind = ReportKind::TaxCertificate;
    ASSERT_EQ(startReport(*d, host, r).outcome, RunOutcome::Done);
    const Document &doc = host.produced;
    ASSERT_EQ(doc.images.size(), 1u);
    const Op &first = doc.pages[0].ops.front();
    EXPECT_EQ(first.kind, Op::Kind::Image);
    EXPECT_NEAR(first.x, 1.0, 1e-9);
    EXPECT_NEAR(first.y, 0.5, 1e-9);
    EXPECT_NEAR(first.x2, 21.0, 1e-9);
    EXPECT_NEAR(first.y2, 28.7, 1e-9);
    // The image is the form: nothing drawn over it but the fields.
    EXPECT_FALSE(text(doc, QStringLiteral("СЛУЖЕБНА БЕЛЕЖКА")));
    EXPECT_TRUE(text(doc, QStringLiteral("5500.00")));
}

TEST(CertificateDialog, ChecksAndYears)
{
    EXPECT_EQ(checkCertificateChoice(-1, 2008, {}), QStringLiteral("Моля изберете вида на служебната бележка."));
    EXPECT_EQ(checkCertificateChoice(DismissalCertificate, 2008, {}), QStringLiteral("Моля попълнете полето за дата."));
    EXPECT_EQ(checkCertificateChoice(AnnualCertificate, 0, QDate(2008, 3, 15)), QStringLiteral("Моля изберете година."));
    EXPECT_TRUE(checkCertificateChoice(AnnualCertificate, 2008, {}).isEmpty());
    EXPECT_TRUE(checkCertificateChoice(DismissalCertificate, 0, QDate(2008, 3, 15)).isEmpty());
    EXPECT_EQ(certificateYears(util::Period(2009, 1)), (std::vector<int>{2008, 2009}));
}

TEST(AnnualTax, RecomputationRules)
{
    const reference::TaxScale scale = {{116.67, 0, 0.10}};
    // The worked case: 5 000.00 over the year, a monthly average taxed 30.00.
    EXPECT_DOUBLE_EQ(calc::recomputedTax(scale, 2008, 5000, 0), 360.0);
    for (const auto &[children, relief] : {std::pair{0, 0.0}, {1, 420.0}, {2, 840.0}, {3, 1260.0}, {5, 1260.0}})
        EXPECT_DOUBLE_EQ(calc::childRelief(children), relief) << children;
    // A relief above the income taxes nothing rather than paying out.
    EXPECT_DOUBLE_EQ(calc::recomputedTax({{0, 0, 0.10}}, 2008, 1000, 1260), 0.0);
    // Before 2008 the brackets: below the first limit no tax.
    const reference::TaxScale brackets = {{200, 0, 0}, {300, 20, 0.2}};
    EXPECT_DOUBLE_EQ(calc::recomputedTax(brackets, 2007, 12 * 250, 0), 0.0);
    EXPECT_DOUBLE_EQ(calc::recomputedTax(brackets, 2007, 12 * 400, 0), 12 * 40.0);
    EXPECT_EQ(calc::annualTaxYear(util::Period(2009, 1)), 2008);
    EXPECT_EQ(calc::annualTaxYear(util::Period(2008, 12)), 2008);
    EXPECT_FALSE(calc::annualTaxYear(util::Period(2008, 6)));
}

TEST_F(TaxTest, AnnualTableRowsAndTheirItems)
{
    items::addDefinition(*d, items::makeDefinition(745, 145, QStringLiteral("Годишно изравняване"), QStringLiteral("0")));
    d->commitRetaining();
    // An item of the code from before is replaced.
    d->insertRow(d->table(u"PERA"), QStringLiteral("(PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1)"),
                 {50, 3, 745, 145, 1.0});
    d->commitRetaining();

    Host host;
    host.code = 745;
    ReportRequest r;
    r.kind = ReportKind::AnnualTax;
    ASSERT_EQ(startReport(*d, host, r).outcome, RunOutcome::Done);
    const Document &doc = host.produced;
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_TRUE(text(doc, QStringLiteral("Преизчислен годишен ДДФЛ за Плавекс ООД, ЕИК 121234567 - 2008г.  (Суми в лева)")));

    struct Expected {
        const char *number, *name;
        double taxable, withheld, recomputed, difference;
    };
    // Borys has the relief (1 260.00), Vasil has three children but no
    // PERSON_SEMOBL, Georgi is no longer active.
    const Expected expected[] = {{"11", "Анна Иванова Петрова", 5000, 400, 360, -40},
                                 {"12", "Борис Стоянов Колев", 6000, 300, 333.96, 33.96},
                                 {"13", "Васил Петров Димов", 6000, 300, 459.96, 159.96},
                                 {"", "", 2400, 100, 99.96, -0.04}};
    const auto rows = calc::annualTaxRows(*d, 2008);
    ASSERT_EQ(rows.size(), 4u);
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].number, QLatin1String(expected[i].number));
        EXPECT_EQ(rows[i].name, QString::fromUtf8(expected[i].name));
        EXPECT_DOUBLE_EQ(rows[i].taxable, expected[i].taxable);
        EXPECT_DOUBLE_EQ(rows[i].withheld, expected[i].withheld);
        EXPECT_NEAR(rows[i].recomputed, expected[i].recomputed, 1e-9);
        EXPECT_NEAR(rows[i].difference, expected[i].difference, 1e-9);
    }
    // The page: each row's figures on one line, the totals closing the table.
    for (const char *figure : {"5000.00", "400.00", "360.00", "-40.00", "333.96", "33.96", "459.96", "159.96", "99.96",
                               "-0.04", "19400.00", "1100.00", "1253.88", "153.88"})
        EXPECT_TRUE(text(doc, QLatin1String(figure))) << figure;
    const Op *name = text(doc, QStringLiteral("Анна Иванова Петрова"));
    const Op *diff = text(doc, QStringLiteral("-40.00"));
    ASSERT_TRUE(name && diff);
    EXPECT_NEAR(name->y, diff->y, 1e-9);
    const Op *total = text(doc, QStringLiteral("Общо: "));
    if (!total)
        total = text(doc, QStringLiteral("Общо:"));
    ASSERT_TRUE(total);
    EXPECT_NEAR(total->x, name->x, 1e-9); // under the names
    EXPECT_NEAR(total->y, text(doc, QStringLiteral("153.88"))->y, 1e-9);

    // The differences are now the code's items, one per employee.
    fb::Statement q(d->transaction(), QStringLiteral("SELECT PERO_PERSONID, PERO_SUMA1, PERO_TYPE FROM %1 WHERE PERO_COD=745 "
                                                     "ORDER BY PERO_PERSONID")
                                          .arg(d->table(u"PERA")));
    std::vector<std::pair<int, double>> stored;
    while (q.next()) {
        EXPECT_EQ(q.toInt(2), 145);
        stored.emplace_back(static_cast<int>(q.toInt(0)), q.toDouble(1));
    }
    const std::vector<std::pair<int, double>> differences = {{1, -40}, {2, 33.96}, {3, 159.96}, {4, -0.04}};
    EXPECT_EQ(stored, differences);
}

TEST_F(TaxTest, AnnualTaxWithoutAnItemStoresNothing)
{
    items::addDefinition(*d, items::makeDefinition(745, 145, QStringLiteral("Годишно изравняване"), QStringLiteral("0")));
    d->commitRetaining();
    Host host; // no item chosen
    ReportRequest r;
    r.kind = ReportKind::AnnualTax;
    ASSERT_EQ(startReport(*d, host, r).outcome, RunOutcome::Done);
    EXPECT_EQ(host.produced.pageCount(), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE PERO_COD=745").arg(d->table(u"PERA"))), 0);
}

TEST_F(TaxTest, TheNextCalculationSettlesTheDifference)
{
    items::addDefinition(*d, items::makeDefinition(101, 1, QStringLiteral("Основна заплата"), QStringLiteral("1")));
    items::addDefinition(*d, items::makeDefinition(745, 145, QStringLiteral("Годишно изравняване"), QStringLiteral("0")));
    int id = 100;
    for (const auto &[code, type, amount] : {std::tuple{101, 1, 1000.0}, {1000, 100, 0.0}, {2000, 200, 0.0}, {2010, 201, 0.0}})
        d->insertRow(d->table(u"PERA"), QStringLiteral("(PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1)"),
                     {id++, 1, code, type, amount});
    d->commitRetaining();
    calc::Parameters params;
    auto net = [&] {
        params.reloadAll(*d);
        calc::PersonCalculator c(*d, params);
        c.autocalc = true;
        for (const items::ItemRecord &item : c.calculate(1).items)
            if (item.type == 201)
                return item.amount;
        return -1.0;
    };
    const double before = net();
    // Anna has 40.00 back; her month pays it.
    ASSERT_EQ(insertAnnualTaxDifferences(*d, 745, calc::annualTaxRows(*d, 2008)), 4);
    EXPECT_NEAR(net() - before, 40.0, 1e-9);
    // A code of another type is refused and the month keeps its items.
    EXPECT_FALSE(insertAnnualTaxDifferences(*d, 101, calc::annualTaxRows(*d, 2008)));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE PERO_COD=745").arg(d->table(u"PERA"))), 4);
}

QString pdfText(const QString &pdf)
{
    QProcess text;
    text.start(QStringLiteral(PLAVEX_PDFTOTEXT), {pdf, QStringLiteral("-")});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput()).simplified();
}

TEST_F(TaxTest, CommandLineCertificatesAnnualTableAndTheConfirmedInsert)
{
    items::addDefinition(*d, items::makeDefinition(745, 145, QStringLiteral("Годишно изравняване"), QStringLiteral("0")));
    d->commitRetaining();
    const QString dir = t.dir.path();
    auto run = [&](const QStringList &args) { return test::runCli(dir, args); };

    const QString certificate = dir + QStringLiteral("certificate.pdf");
    test::CliRun r = run({QStringLiteral("report"), QStringLiteral("tax-certificate"), QStringLiteral("--kind"),
                          QStringLiteral("dismissal"), QStringLiteral("--date"), QStringLiteral("15.03.2008"),
                          QStringLiteral("--employee"), QStringLiteral("11"), QStringLiteral("--out"), certificate});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString words = pdfText(certificate);
    for (const char *w : {"СЛУЖЕБНА БЕЛЕЖКА", "Плавекс ООД", "Анна Иванова Петрова", "5500.00", "340.00", "400.00"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(w))) << w << " in " << words.toStdString();

    // The dialog's checks, each refusing with its message.
    for (const auto &[args, message] : std::initializer_list<std::pair<QStringList, const char *>>{
             {{}, "Моля изберете вида на служебната бележка."},
             {{QStringLiteral("--kind"), QStringLiteral("dismissal")}, "Моля попълнете полето за дата."},
             {{QStringLiteral("--kind"), QStringLiteral("annual")}, "Моля изберете година."},
             {{QStringLiteral("--kind"), QStringLiteral("annual"), QStringLiteral("--year"), QStringLiteral("2005")},
              "Годината трябва да е 2008 или 2009."}}) {
        r = run(QStringList{QStringLiteral("report"), QStringLiteral("tax-certificate"), QStringLiteral("--out"), certificate} + args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(message))) << r.err.toStdString();
    }

    const QString annual = dir + QStringLiteral("annual.pdf");
    r = run({QStringLiteral("report"), QStringLiteral("annual-tax"), QStringLiteral("--out"), annual});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(pdfText(annual).contains(QStringLiteral("Преизчислен годишен ДДФЛ за Плавекс ООД, ЕИК 121234567 - 2008г.")));
    const QString pera = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE PERO_COD=745").arg(d->table(u"PERA"));
    EXPECT_EQ(t.scalar(pera), 0); // the report alone stores nothing

    // The insert is its own step and asks first.
    r = run({QStringLiteral("annual-tax"), QStringLiteral("--insert")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Сигурни ли сте?"))) << r.err.toStdString();
    d->commitRetaining();
    EXPECT_EQ(t.scalar(pera), 0);
    r = run({QStringLiteral("--yes"), QStringLiteral("annual-tax"), QStringLiteral("--insert")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("4"));
    d->commitRetaining();
    EXPECT_EQ(t.scalar(pera), 4);
}

} // namespace
