#include "reports/NomenclatureLists.h"

#include "items/Definitions.h"
#include "items/ItemTypes.h"
#include "reference/Company.h"
#include "reference/Rates.h"
#include "reports/RunProtocol.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"

namespace plavex::reports {

namespace {

constexpr double kTitleGap = 0.6; // title below the top margin, table below the title
constexpr double kRowHeight = 0.5;

TableColumn column(const char *field, double width, const char *heading, Justify align, int decimals = -1)
{
    return {QString::fromLatin1(field), width, QString::fromUtf8(heading), align, decimals, false};
}

} // namespace

// The engine's own page: A4 portrait, 1 cm margins, one copy, preview at 150 %.
PageSetup listPageSetup() { return PageSetup{}; }

QString listTitle(ReportKind kind, const QString &companyName)
{
    switch (kind) {
    case ReportKind::DefinitionList: return QStringLiteral("Списък на дефинираните пера за ") + companyName;
    case ReportKind::PositionList: return QStringLiteral("Списък на дефинираните длъжности за ") + companyName;
    case ReportKind::UnitList: return QStringLiteral("Списък на дефинираните звена за ") + companyName;
    case ReportKind::CategoryList: return QStringLiteral("Списък на категориите за ") + companyName;
    default: return {};
    }
}

std::vector<TableColumn> listColumns(ReportKind kind)
{
    const auto L = Justify::Left, R = Justify::Right;
    switch (kind) {
    case ReportKind::DefinitionList:
        return {column("PERODEFS_COD", 2, "Код", R, 0), column("PERODEFS_IME", 10, "Наименование на перото", L),
                column("PERODEFS_TYP", 7, "Тип", L)};
    case ReportKind::PositionList:
        return {column("DL_COD", 1.3, "Код", R, 0),           column("DL_IME", 7.6, "Наименование", L),
                column("DL_KSTEPEN", 2.7, "Кв. степен", L),    column("DL_SHIFAR", 2.0, "Шифър", L),
                column("DL_PORNOMER", 2.7, "Пор. номер", R, 0), column("minlimit", 2.7, "Мин. лимит", R, 2)};
    case ReportKind::UnitList:
        return {column("ZVENO_COD", 2, "Код", R, 0), column("ZVENO_IME", 12, "Наименование", L)};
    case ReportKind::CategoryList:
        return {column("KAT_COD", 2, "Код", R, 0), column("KAT_IME", 11, "Наименование", L),
                column("KAT_LIMIT", 3.2, "Мин. граница", R, 2)};
    default:
        return {};
    }
}

TableData listRows(storage::DataModule &data, ReportKind kind)
{
    TableData t;
    for (const TableColumn &c : listColumns(kind))
        t.fields << c.field;
    switch (kind) {
    case ReportKind::DefinitionList:
        for (const items::Definition &d : items::loadDefinitions(data))
            t.rows.push_back({d.code, d.name, items::typeName(d.type)});
        break;
    case ReportKind::PositionList: {
        fb::Statement q(data.transaction(),
                        QStringLiteral("select d.DL_COD, d.DL_IME, d.DL_KSTEPEN, d.DL_SHIFAR, d.DL_PORNOMER, k.KAT_LIMIT "
                                       "from %1 d left join %2 k on k.KAT_COD = d.DL_KSTEPEN order by d.DL_COD")
                            .arg(data.table(u"DL"), data.table(u"KAT")));
        q.execute();
        while (q.next())
            t.rows.push_back({q.value(0), q.value(1), q.value(2), q.value(3), q.value(4), q.value(5)});
        break;
    }
    case ReportKind::UnitList: {
        fb::Statement q(data.transaction(),
                        QStringLiteral("select ZVENO_COD, ZVENO_IME from %1 order by ZVENO_COD").arg(data.table(u"ZVENA")));
        q.execute();
        while (q.next())
            t.rows.push_back({q.value(0), q.value(1)});
        break;
    }
    case ReportKind::CategoryList:
        for (const reference::Category &c : reference::loadCategories(data))
            t.rows.push_back({c.code, c.name, c.limit});
        break;
    default:
        break;
    }
    return t;
}

Document printNomenclatureList(ReportKind kind, const QString &title, const TableData &rows, ReportHost &host,
                               const QMarginsF &printerMargins)
{
    Document doc;
    doc.title = title;
    doc.setup = listPageSetup();
    Canvas c(doc);
    c.setPrinterMargins(printerMargins);
    c.raiseMarginsToPrinter();
    c.setFontSize(10);
    c.setLineHeight(kRowHeight);

    TablePrinter table;
    table.columns = listColumns(kind);
    table.onNewPage = [&](Canvas &canvas) {
        announcePage(canvas, host, PageStatus::Generating);
        const Font body = canvas.font();
        canvas.setFontSize(12);
        canvas.setBold(true);
        canvas.setYPos(canvas.marginTop() + kTitleGap);
        const double middle = canvas.marginLeft() + (canvas.pageWidth() - canvas.marginLeft() - canvas.marginRight()) / 2;
        canvas.printCenter(title, middle);
        canvas.setFont(body);
        // The page number sits under the table's last possible line.
        canvas.textAt(pageOfText(canvas), canvas.pageWidth() - canvas.marginRight(),
                      canvas.pageHeight() - canvas.marginBottom() + 0.5, Justify::Right);
        canvas.gotoXY(canvas.marginLeft(), canvas.marginTop() + 2 * kTitleGap);
    };
    table.beforeRow = [&](int) {
        host.processEvents();
        if (host.cancelled())
            throw RunAborted{};
    };
    c.begin();
    table.print(c, rows);
    c.finish();
    return doc;
}

Document buildNomenclatureList(storage::DataModule &data, ReportKind kind, ReportHost &host)
{
    reference::Company company;
    reference::loadCompany(data, company);
    QString title = listTitle(kind, employerText(company.name, company.bulstat));
    // The lists with amounts (the minimum limits) say their currency.
    if (kind == ReportKind::PositionList || kind == ReportKind::CategoryList)
        title += QStringLiteral("  (") + util::currencyOf(data.period()).caption + QLatin1Char(')');
    return printNomenclatureList(kind, title, listRows(data, kind), host, host.printerMargins());
}

} // namespace plavex::reports
