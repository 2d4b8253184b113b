#include "reports/TaxCertificates.h"

#include "calc/LawOfMonth.h"
#include "calc/Parameters.h"
#include "operations/BulkOperations.h"
#include "reference/Company.h"
#include "reports/RunProtocol.h"
#include "reports/engine/Canvas.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QFileInfo>

#include <algorithm>

namespace plavex::reports {

namespace {

constexpr double kAmountRight = 18.3;
constexpr double kBoxLeft = 15.0, kBoxRight = 18.5;
constexpr double kCaptionLeft = 1.3;
constexpr double kLine = 0.34; // a field's line; rows are at least this far apart

QString money(double v) { return QString::number(v, 'f', 2).rightJustified(12); }
QString twoDigits(int year) { return QString::number(year % 100).rightJustified(2, QLatin1Char('0')); }

// The amount rows: the distance below the previous row and the figure.
enum class Figure { Zero, Income, Contributions, SocialFund, Supplementary, Health, Tax, Taxable, Relief, Base, Due, Additional,
                    Refund, PaidTotal };
struct AmountRow {
    double down;
    Figure figure;
    const char *caption;
};
using F = Figure;
constexpr AmountRow kRows[] = {
    {0.9, F::Income, "Общ размер на доходите от трудови правоотношения"},
    {0.35, F::Contributions, "Задължителни осигурителни вноски за сметка на лицето, общо"},
    {0.4, F::SocialFund, "в т.ч. за държавното обществено осигуряване и фонд ГВРС"},
    {0.3, F::Supplementary, "в т.ч. за допълнително задължително пенсионно осигуряване"},
    {0.35, F::Health, "в т.ч. за задължително здравно осигуряване"},
    {1.1, F::Zero, "Доходи, освободени от облагане"},
    {0.4, F::Zero, "Доходи по трудови правоотношения от друг работодател"},
    {0.35, F::Zero, "Доброволни осигурителни вноски, удържани от работодателя"},
    {0.35, F::Zero, "Премии за застраховки, удържани от работодателя"},
    {0.7, F::Zero, "Данъчни облекчения, ползвани при работодателя"},
    {0.35, F::Zero, "в т.ч. за деца"},
    {0.35, F::Zero, "в т.ч. други"},
    {0.35, F::Tax, "Удържан данък върху доходите за годината"},
    {1.25, F::Income, "Облагаем доход преди намаленията"},
    {0.45, F::Zero, "Доходи от предходни години, изплатени през годината"},
    {0.7, F::Zero, "Обезщетения, облагаеми при изплащане"},
    {0.7, F::Zero, "Други облагаеми доходи"},
    {1.0, F::Contributions, "Намаления със задължителни осигурителни вноски, общо"},
    {0.4, F::SocialFund, "в т.ч. за държавното обществено осигуряване и фонд ГВРС"},
    {0.35, F::Supplementary, "в т.ч. за допълнително задължително пенсионно осигуряване"},
    {0.35, F::Health, "в т.ч. за задължително здравно осигуряване"},
    {0.35, F::Zero, "Други намаления"},
    {0.35, F::Taxable, "Облагаем доход след намаленията"},
    {0.4, F::Relief, "Намаления за деца"},
    {0.75, F::Zero, "Намаления за лица с увреждания"},
    {0.35, F::Zero, "Намаления за доброволно осигуряване"},
    {0.4, F::Zero, "Намаления за застраховки"},
    {0.75, F::Zero, "Намаления за дарения"},
    {0.35, F::Zero, "Намаления за млади семейства"},
    {0.35, F::Zero, "Намаления за ремонт на жилище"},
    {0.35, F::Zero, "Намаления по други закони"},
    {0.4, F::Relief, "Намаления, общо"},
    {0.35, F::Zero, "Необлагаема част"},
    {0.35, F::Zero, "Доход, облагаем с окончателен данък"},
    {0.35, F::Zero, "Окончателен данък"},
    {0.35, F::Base, "Годишна данъчна основа"},
    {0.7, F::Due, "Дължим данък за годината"},
    {0.4, F::Tax, "Удържан данък за годината"},
    {0.4, F::Additional, "Данък за довнасяне"},
    {0.4, F::Refund, "Данък за възстановяване"},
    {0.4, F::PaidTotal, "Удържан и внесен данък, общо"},
};
// The form's section headings, above the row of that index.
struct Section {
    int row;
    const char *text;
};
constexpr Section kSections[] = {
    {0, "I. Доходи и задължителни осигурителни вноски"},
    {5, "II. Необлагаеми доходи, облекчения и удържан данък"},
    {13, "III. Годишно облагане"},
    {17, "Намаления на облагаемия доход"},
};

double figure(const CertificateData &d, Figure f)
{
    const calc::YearSums &s = d.sums;
    // The years to 2008 as the program printed them: the withheld tax as
    // the due one, the rows of the recomputation left at zero.
    if (!d.recomputation) {
        switch (f) {
        case F::Relief: case F::Additional: case F::Refund: return 0;
        case F::Base: return s.taxable;
        case F::Due: case F::PaidTotal: return s.tax;
        default: break;
        }
    }
    const calc::AnnualTaxRow &a = d.annual;
    const double stored = d.differenceInserted ? a.difference : 0.0;
    switch (f) {
    case F::Income: return s.income();
    case F::Contributions: return s.contributions();
    case F::SocialFund: return s.socialAndFund();
    case F::Supplementary: return s.supplementary;
    case F::Health: return s.health;
    case F::Tax: return s.tax;
    case F::Taxable: return s.taxable;
    case F::Relief: return std::min(a.relief, std::max(0.0, s.taxable));
    case F::Base: return std::max(0.0, s.taxable - a.relief);
    case F::Due: return a.recomputed;
    case F::Additional: return std::max(0.0, stored);
    case F::Refund: return std::max(0.0, -stored);
    case F::PaidTotal: return s.tax + stored;
    case F::Zero: return 0;
    }
    return 0;
}

// Text with its line's top at y.
void at(Canvas &c, double x, double y, const QString &text, Justify justify = Justify::Left)
{
    c.setYPos(y);
    if (justify == Justify::Right) {
        c.printRight(text, x);
    } else if (justify == Justify::Center) {
        c.printCenter(text, x);
    } else {
        c.setXPos(x);
        c.print(text);
    }
}

void caption(Canvas &c, double x, double y, const QString &text, Justify justify = Justify::Left)
{
    const Font field = c.font();
    c.setFontSize(6.5);
    c.setItalic(true);
    at(c, x, y, text, justify);
    c.setFont(field);
}

// The form itself: title, captions, the value boxes and the frame.
void drawForm(Canvas &c, const CertificateData &d, const std::vector<double> &rowTops, double issueTop)
{
    const util::Currency currency = util::currencyOf(util::Period(d.year, 12));
    c.setPen(Pen{});
    c.rectangle(1.0, 0.5, 20.0, 28.7);
    caption(c, kCaptionLeft, 1.5, QStringLiteral("Работодател:"));
    caption(c, kCaptionLeft, 1.9, QStringLiteral("Адрес:"));
    caption(c, 14.5, 1.9, QStringLiteral("ЕИК/БУЛСТАТ:"), Justify::Right);
    caption(c, 12.1, 2.3, QStringLiteral("ТД на НАП:"), Justify::Right);

    const Font field = c.font();
    c.setFontSize(12);
    c.setBold(true);
    at(c, 10.5, 2.75, QStringLiteral("СЛУЖЕБНА БЕЛЕЖКА"), Justify::Center);
    c.setFont(field);
    c.setFontSize(8);
    at(c, 10.5, 3.15, QStringLiteral("за доходите от трудови правоотношения и удържания данък"), Justify::Center);
    c.setFont(field);

    caption(c, kCaptionLeft, 3.6, QStringLiteral("Издава се на лицето (име, презиме, фамилия):"));
    caption(c, kCaptionLeft, 4.35, QStringLiteral("ЕГН:"));
    caption(c, 10.95, 4.35, QStringLiteral("л.к. №"), Justify::Right);
    caption(c, 15.8, 4.35, QStringLiteral("издадена на"), Justify::Right);
    caption(c, kCaptionLeft, 4.75, QStringLiteral("гр.(с.)"));
    caption(c, 9.7, 4.75, QStringLiteral("община"), Justify::Right);
    caption(c, 14.15, 4.75, QStringLiteral("област"), Justify::Right);
    caption(c, kCaptionLeft, 5.1, QStringLiteral("ул."));
    caption(c, 6.45, 5.5, QStringLiteral("за доходите, изплатени през 20"), Justify::Right);
    caption(c, 7.0, 5.5, QStringLiteral("г."));
    c.line(1.0, 5.95, 20.0, 5.95);
    caption(c, kBoxRight, 5.95, QStringLiteral("Сума (%1)").arg(currency.abbreviation), Justify::Right);

    size_t section = 0;
    for (size_t i = 0; i < rowTops.size(); ++i) {
        if (section < std::size(kSections) && kSections[section].row == static_cast<int>(i)) {
            const Font f = c.font();
            c.setFontSize(7);
            c.setBold(true);
            at(c, kCaptionLeft, rowTops[i] - 0.4, QString::fromUtf8(kSections[section].text));
            c.setFont(f);
            ++section;
        }
        caption(c, kCaptionLeft, rowTops[i], QString::number(i + 1) + QLatin1Char('.'));
        const QString text = QString::fromUtf8(kRows[i].caption);
        caption(c, kCaptionLeft + 0.6 + (text.startsWith(u"в т.ч.") ? 0.4 : 0), rowTops[i], text);
        // The figure's box: a field's line high, less where the next row is closer.
        const double next = i + 1 < rowTops.size() ? rowTops[i + 1] - rowTops[i] : kLine;
        c.rectangle(kBoxLeft, rowTops[i] - 0.01, kBoxRight, rowTops[i] + std::min(next, kLine) - 0.03);
    }
    caption(c, kCaptionLeft, issueTop, QStringLiteral("Дата:"));
    caption(c, 11.0, issueTop, QStringLiteral("Подпис и печат на работодателя: ................................"));
}

void printCertificate(Canvas &c, const CertificateData &d, bool drawTheForm)
{
    c.setLineHeight(kLine);
    c.setFontSize(8);
    c.setBold(false);
    c.setItalic(false);
    std::vector<double> tops;
    double y = 5.5;
    for (const AmountRow &r : kRows)
        tops.push_back(y += r.down);
    const double issueTop = y + 0.6;
    if (drawTheForm)
        drawForm(c, d, tops, issueTop);

    at(c, 9.0, 1.5, d.company);
    at(c, 7.3, 1.9, d.companyAddress);
    at(c, 14.6, 1.9, d.bulstat);
    at(c, 12.2, 2.3, d.taxOffice);
    at(c, 8.5, 3.6, d.name);
    at(c, 3.0, 4.35, d.egn);
    at(c, 11.05, 4.35, d.idNumber);
    at(c, 15.9, 4.35, d.idDate);
    at(c, 2.6, 4.75, d.town);
    at(c, 9.8, 4.75, d.town);
    at(c, 14.25, 4.75, d.region);
    at(c, 2.1, 5.1, d.address);
    if (!d.phone.isEmpty())
        at(c, 15.8, 5.1, QStringLiteral("тел: ") + d.phone);
    at(c, 6.5, 5.5, twoDigits(d.year));
    for (size_t i = 0; i < tops.size(); ++i)
        at(c, kAmountRight, tops[i], money(figure(d, kRows[i].figure)).trimmed(), Justify::Right);
    // The day it is issued, in full: not today's day with the period's year.
    const QDate issued = d.issued.isValid() ? d.issued : QDate::currentDate();
    at(c, 3.0, issueTop, issued.toString(QStringLiteral("dd.MM.yyyy")));
}

} // namespace

std::vector<int> certificateYears(const util::Period &period) { return {period.year() - 1, period.year()}; }

QString checkCertificateChoice(int kind, int year, const QDate &date)
{
    if (kind != AnnualCertificate && kind != DismissalCertificate)
        return QStringLiteral("Моля изберете вида на служебната бележка.");
    if (kind == DismissalCertificate && !date.isValid())
        return QStringLiteral("Моля попълнете полето за дата.");
    if (kind == AnnualCertificate && year <= 0)
        return QStringLiteral("Моля изберете година.");
    return {};
}

int certificateYear(const ReportRequest &request)
{
    return request.certificateKind == DismissalCertificate ? request.date.year() : request.year;
}

CertificateData certificateData(storage::DataModule &data, int personId, int year, const QDate &issued)
{
    CertificateData d;
    reference::Company company;
    reference::loadCompany(data, company);
    d.company = company.name.trimmed();
    // The two further address parts are not kept anywhere yet.
    d.companyAddress = company.street.trimmed();
    d.bulstat = company.bulstat.trimmed();
    d.taxOffice = company.taxOfficeName.trimmed();
    d.year = year;
    d.periodYear = data.period().year();
    d.issued = issued;

    fb::Statement q(data.transaction(),
                    QStringLiteral("select p.PERSON_IME, p.PERSON_EGN, p.PERSON_PASNOMER, p.PERSON_PASDATE, g.GRAD_IME, "
                                   "o.OBS_IME, p.PERSON_ADDR, p.PERSON_TELDOM from %1 p "
                                   "left join GRAD g on g.GRAD_COD = p.PERSON_ADDRGRAD "
                                   "left join OBS o on o.OBS_COD = g.GRAD_OBSCOD where p.PERSON_ID=?")
                        .arg(data.table(u"PERSONS")));
    q.bindAll({personId});
    if (q.next()) {
        auto text = [&](int i) { return q.value(i).toString().trimmed(); };
        d.name = text(0);
        d.egn = text(1);
        d.idNumber = text(2);
        const QDate pas = q.value(3).toDate();
        if (pas.isValid())
            d.idDate = pas.toString(util::displayDateFormat(util::Separators::current().date));
        d.town = text(4);
        d.region = text(5);
        d.address = text(6);
        d.phone = text(7);
    }
    d.sums = calc::yearSums(data, personId, year);
    d.recomputation = calc::annualTaxByArticle49(year);
    if (d.recomputation) {
        d.annual = calc::annualTaxRowOf(data, personId, year);
        d.differenceInserted = calc::annualTaxDifferenceInserted(data, personId, year);
    }
    return d;
}

PageSetup certificatePageSetup()
{
    PageSetup s;
    // The form's positions are from the paper's corner.
    s.marginLeft = s.marginTop = s.marginRight = s.marginBottom = 0;
    return s;
}

QString certificateImagePath(const QString &programDir) { return programDir + QStringLiteral("docs/slbel4.bmp"); }

Document printTaxCertificates(const std::vector<CertificateData> &certificates, const QImage &background)
{
    Document doc;
    doc.title = QStringLiteral("Служебна бележка за ДОД");
    doc.setup = certificatePageSetup();
    Canvas c(doc);
    c.begin();
    for (size_t i = 0; i < certificates.size(); ++i) {
        if (i > 0)
            c.newPage();
        if (!background.isNull())
            c.stretchDraw(QRectF(QPointF(1.0, 0.5), QPointF(21.0, 28.7)), background);
        printCertificate(c, certificates[i], background.isNull());
    }
    c.finish();
    return doc;
}

Document buildTaxCertificates(storage::DataModule &data, const ReportRequest &request, ReportHost &host)
{
    recalculateForReport(data, host);
    std::vector<int> ids;
    if (request.employeeId != 0) {
        ids.push_back(request.employeeId);
    } else {
        fb::Statement q(data.transaction(), QStringLiteral("SELECT PERSON_ID FROM %1 WHERE PERSON_ACT=1 ORDER BY PERSON_NOMER")
                                                .arg(data.table(u"PERSONS")));
        while (q.next())
            ids.push_back(static_cast<int>(q.toInt(0)));
    }
    const int year = certificateYear(request);
    std::vector<CertificateData> certificates;
    for (int id : ids) {
        host.selectEmployee(id);
        host.processEvents();
        if (host.cancelled())
            throw RunAborted{};
        certificates.push_back(certificateData(data, id, year, request.issued.isValid() ? request.issued : QDate::currentDate()));
    }
    QImage background;
    const QString image = certificateImagePath(data.settings().programDir());
    if (QFileInfo::exists(image))
        background.load(image); // an unreadable image leaves the drawn form
    return printTaxCertificates(certificates, background);
}

QString annualTaxTitle(const QString &company, int year)
{
    // The year's sums, in the year's currency.
    const util::Period december(year, 12);
    return QStringLiteral("Преизчислен годишен ") + calc::incomeTaxName(december) + QStringLiteral(" за ") + company
           + QStringLiteral(" - ") + QString::number(year) + QStringLiteral("г.  (") + util::currencyOf(december).caption
           + QLatin1Char(')');
}

std::vector<TableColumn> annualTaxColumns()
{
    const auto L = Justify::Left, R = Justify::Right;
    return {{QStringLiteral("number"), 1.6, QStringLiteral("Номер"), R, -1, false},
            {QStringLiteral("name"), 5.8, QStringLiteral("Име"), L, -1, false},
            {QStringLiteral("SOBL"), 2.9, QStringLiteral("Обща обл. сума"), R, 2, true},
            {QStringLiteral("SDOD"), 2.9, QStringLiteral("Отдърж. данък"), R, 2, true},
            {QStringLiteral("reclcdod"), 2.9, QStringLiteral("Преизч. данък"), R, 2, true},
            {QStringLiteral("topay"), 2.9, QStringLiteral("Разлика"), R, 2, true}};
}

TableData annualTaxTable(const std::vector<calc::AnnualTaxRow> &rows)
{
    TableData t;
    for (const TableColumn &c : annualTaxColumns())
        t.fields << c.field;
    for (const calc::AnnualTaxRow &r : rows)
        t.rows.push_back({r.number, r.name, r.taxable, r.withheld, r.recomputed, r.difference});
    return t;
}

Document printAnnualTax(const QString &title, const TableData &rows, ReportHost &host, const QMarginsF &printerMargins)
{
    Document doc;
    doc.title = QStringLiteral("Годишен ДОД");
    Canvas c(doc);
    c.setPrinterMargins(printerMargins);
    c.raiseMarginsToPrinter();
    c.setFontSize(10);
    c.setLineHeight(0.5);
    TablePrinter table;
    table.columns = annualTaxColumns();
    table.totalCaption = QStringLiteral("Общо: ");
    table.totalCaptionColumn = 1;
    table.onNewPage = [&](Canvas &canvas) {
        announcePage(canvas, host, PageStatus::Generating);
        const Font body = canvas.font();
        canvas.setFontSize(12);
        canvas.setBold(true);
        // A long company name makes the title smaller, never cut at the page's edges.
        const double room = canvas.pageWidth() - canvas.marginLeft() - canvas.marginRight();
        if (canvas.textWidth(title) > room)
            canvas.setFontSize(12 * room / canvas.textWidth(title));
        canvas.setYPos(canvas.marginTop() + 1.0 - canvas.lineHeight() / 2);
        canvas.printCenter(title, 1.0 + (canvas.pageWidth() - 2) / 2);
        canvas.setFont(body);
        canvas.gotoXY(canvas.marginLeft(), canvas.marginTop() + 1.5);
    };
    c.begin();
    table.print(c, rows);
    c.finish();
    return doc;
}

std::optional<int> insertAnnualTaxDifferences(storage::DataModule &data, int code,
                                              const std::vector<calc::AnnualTaxRow> &rows, calc::Parameters *params)
{
    data.lockPeriod();
    // The year's sums are in its own currency; the items live in this month's.
    const std::optional<int> year = calc::annualTaxYear(data.period());
    const bool toEuro = year && util::levaIntoEuro(util::Period(*year, 12), data.period());
    std::vector<operations::EmployeeAmount> amounts;
    for (const calc::AnnualTaxRow &r : rows)
        amounts.push_back({r.personId, toEuro ? util::euroHalfUp(r.difference) : r.difference});
    return operations::insertType145(data, code, amounts, data.prompter(), params);
}

Document buildAnnualTax(storage::DataModule &data, int year, ReportHost &host)
{
    calc::Parameters params;
    params.reloadAll(data);
    recalculateForReport(data, params, host);
    const std::vector<calc::AnnualTaxRow> rows = calc::annualTaxRows(data, year);
    int code = 0;
    if (host.askTaxDifferenceItem(code))
        insertAnnualTaxDifferences(data, code, rows, &params);
    reference::Company company;
    reference::loadCompany(data, company);
    return printAnnualTax(annualTaxTitle(employerText(company.name, company.bulstat), year), annualTaxTable(rows), host,
                          host.printerMargins());
}

} // namespace plavex::reports
