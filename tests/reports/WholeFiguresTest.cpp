// Documents of a company whose amounts run from four to seven digits: every
// figure the calculation produced is printed whole, at one size per row,
// inside its cell (no cell line through it, no other text over it).
#include "reports/ItemList.h"
#include "reports/PaymentOrders.h"
#include "reports/Payslips.h"
#include "reports/Recapitulation.h"
#include "reports/RunProtocol.h"
#include "reports/Sheets.h"
#include "reports/TaxCertificates.h"
#include "reports/engine/FontMetrics.h"
#include "tests/reports/SheetsFixture.h"

#include <QRegularExpression>

#include <array>
#include <tuple>

using namespace plavex;
using namespace plavex::reports;

namespace {

class WholeFiguresTest : public test::SheetsCompany {
protected:
    void SetUp() override
    {
        test::SheetsCompany::SetUp();
        // Base pay of 9 999 999.99, 48 000.00 and 1 234.56; a premium of
        // 123 456.78; advances of six and seven digits.
        const QString pera = d->table(u"PERA");
        for (const auto &[person, code, a1, a2] : std::initializer_list<std::tuple<int, int, double, double>>{
                 {1, 101, 9999999.99, 0}, {2, 101, 48000, 0}, {3, 101, 1234.56, 0}, {2, 130, 123456.78, 0},
                 {1, 601, 654321, 9876543.21}, {2, 601, 1200, 0}, {3, 601, 0, 4321.09}})
            fb::Statement::run(d->transaction(),
                               QStringLiteral("update %1 set PERO_SUMA1=?, PERO_SUMA2=? where PERO_PERSONID=? and PERO_COD=?").arg(pera),
                               {a1, a2, person, code});
        d->commitRetaining();
    }

    // Every amount of the active employees' items once the documents have
    // recalculated them.
    QStringList itemFigures(std::initializer_list<int> types = {})
    {
        QString sql = QStringLiteral("select p.PERO_SUMA from %1 p join %2 e on e.PERSON_ID=p.PERO_PERSONID "
                                     "where e.PERSON_ACT=1 and p.PERO_SUMA<>0")
                          .arg(d->table(u"PERA"), d->table(u"PERSONS"));
        if (types.size() > 0) {
            QStringList list;
            for (int t : types)
                list << QString::number(t);
            sql += QStringLiteral(" and p.PERO_TYPE in (%1)").arg(list.join(u','));
        }
        fb::Statement q(d->transaction(), sql);
        QStringList figures;
        while (q.next())
            figures << util::fixedNumber(q.toDouble(0), 1, 2);
        return figures;
    }
};

struct Box {
    double left, right, top, bottom;
};

Box boxOf(const Op &op)
{
    const double w = FontMetrics::width(op.font, op.text);
    return {op.x, op.x + w, op.y - FontMetrics::ascent(op.font) * 0.7, op.y};
}

// The faults of one document: a figure that is not printed whole, a text
// crossed by a cell line or lying over another, two sizes in one row.
QStringList faultsOf(const Document &doc, const QStringList &figures, bool cells = true)
{
    QStringList faults;
    for (const QString &figure : figures) {
        const QRegularExpression whole(QStringLiteral("(^|[^0-9.])") + QRegularExpression::escape(figure) + QStringLiteral("($|[^0-9])"));
        bool found = false;
        for (const Page &page : doc.pages)
            for (const Op &op : page.ops)
                found |= op.kind == Op::Kind::Text && whole.match(op.text).hasMatch();
        if (!found)
            faults << QStringLiteral("%1: %2 is not printed whole").arg(doc.title, figure);
    }
    if (!cells)
        return faults;
    for (int p = 0; p < doc.pageCount(); ++p) {
        const Page &page = doc.pages[static_cast<size_t>(p)];
        std::vector<const Op *> texts;
        std::vector<std::array<double, 3>> verticals; // x, top, bottom
        for (const Op &op : page.ops) {
            if (op.kind == Op::Kind::Text && !op.text.trimmed().isEmpty())
                texts.push_back(&op);
            else if (op.kind == Op::Kind::Line && std::abs(op.x - op.x2) < 1e-6)
                verticals.push_back({op.x, std::min(op.y, op.y2), std::max(op.y, op.y2)});
            else if (op.kind == Op::Kind::Rect) {
                verticals.push_back({op.x, std::min(op.y, op.y2), std::max(op.y, op.y2)});
                verticals.push_back({op.x2, std::min(op.y, op.y2), std::max(op.y, op.y2)});
            }
        }
        for (size_t i = 0; i < texts.size(); ++i) {
            const Box a = boxOf(*texts[i]);
            for (const auto &[x, top, bottom] : verticals)
                if (x > a.left + 0.01 && x < a.right - 0.01 && top < a.bottom - 0.01 && bottom > a.top + 0.01)
                    faults << QStringLiteral("%1 p.%2: a line through \"%3\"").arg(doc.title).arg(p + 1).arg(texts[i]->text);
            for (size_t j = i + 1; j < texts.size(); ++j) {
                if (std::abs(texts[i]->y - texts[j]->y) > 0.01)
                    continue;
                const Box b = boxOf(*texts[j]);
                if (a.left < b.right - 0.01 && b.left < a.right - 0.01)
                    faults << QStringLiteral("%1 p.%2: \"%3\" over \"%4\"").arg(doc.title).arg(p + 1).arg(texts[i]->text, texts[j]->text);
                else if (std::abs(texts[i]->font.size - texts[j]->font.size) > 0.01 && texts[i]->font.size < 10
                         && texts[j]->font.size < 10)
                    faults << QStringLiteral("%1 p.%2: \"%3\" and \"%4\" in two sizes")
                                  .arg(doc.title)
                                  .arg(p + 1)
                                  .arg(texts[i]->text, texts[j]->text);
            }
        }
    }
    return faults;
}

} // namespace

TEST_F(WholeFiguresTest, EveryDocumentPrintsEveryFigureWholeInItsCell)
{
    ReportHost host;
    QStringList faults;
    auto request = [](ReportKind kind) {
        ReportRequest r;
        r.kind = kind;
        return r;
    };

    for (const ReportKind kind : {ReportKind::Payslip1, ReportKind::Payslip2}) {
        ReportRequest r = request(kind);
        r.fromNumber = 1;
        r.toNumber = 99;
        const Document doc = buildPayslips(*d, r, host);
        faults << faultsOf(doc, itemFigures());
    }

    const Document sheet = buildPaySheet(*d, request(ReportKind::Sheet), host);
    QStringList sheetFigures;
    for (const int unit : sheetUnits(*d))
        for (const PaySheetRow &row : paySheetRows(*d, unit))
            sheetFigures << util::fixedNumber(row.earnings, 1, 2) << util::fixedNumber(row.deductions, 1, 2)
                         << util::fixedNumber(row.toPay, 1, 2);
    EXPECT_EQ(sheetFigures.size(), 9);
    faults << faultsOf(sheet, sheetFigures);

    for (const int month : {0, 1}) {
        ReportRequest r = request(ReportKind::AdvanceSheet);
        r.itemText = QStringLiteral("601");
        r.advanceMonth = month;
        const Document doc = buildAdvanceSheet(*d, r, host);
        QStringList advances;
        for (const auto &row : advanceSheetRows(*d, administration, 601, month))
            advances << util::fixedNumber(row.amount, 1, 2);
        EXPECT_FALSE(advances.isEmpty());
        faults << faultsOf(doc, advances);
    }

    for (const RecapType type : {RecapType::General, RecapType::Unit}) {
        ReportRequest r = request(ReportKind::Recapitulation);
        r.recapType = type;
        r.unitCode = type == RecapType::Unit ? administration : 0;
        const std::optional<Document> doc = buildRecapitulation(*d, r, host);
        ASSERT_TRUE(doc);
        QStringList sums;
        for (const RecapItem &item : recapItems(*d, type == RecapType::Unit ? std::optional<int>(administration) : std::nullopt))
            if (item.code > 0 && item.sum != 0)
                sums << util::fixedNumber(item.sum, 1, 2);
        faults << faultsOf(*doc, sums);
    }

    for (const int code : {101, 601}) {
        ReportRequest r = request(ReportKind::ItemList);
        r.itemCode = code;
        const Document doc = buildItemList(*d, r, host);
        QStringList amounts;
        for (const ItemListRow &row : itemList(*d, code).rows)
            amounts << util::fixedNumber(row.amount, 1, 2);
        faults << faultsOf(doc, amounts);
    }

    ReportRequest list = request(ReportKind::PaymentList);
    list.newCodes = true;
    QStringList orderAmounts;
    for (const PaymentOrder &o : paymentOrders(*d, list))
        orderAmounts << util::fixedNumber(o.amount, 1, 2);
    faults << faultsOf(buildPaymentList(*d, list, host), orderAmounts);
    // The forms write an amount a character to a cell: the cells' text whole.
    ReportRequest forms = request(ReportKind::PaymentOrders);
    forms.newCodes = true;
    QStringList cellTexts;
    for (const PaymentOrder &o : paymentOrders(*d, forms))
        cellTexts << amountCells(o.amount);
    const Document orderForms = buildPaymentOrders(*d, forms, host);
    for (const QString &cells : cellTexts) {
        bool found = false;
        for (const Page &page : orderForms.pages) {
            QString row;
            for (const Op &op : page.ops)
                if (op.kind == Op::Kind::Text && op.text.size() == 1 && op.font.size == 12)
                    row += op.text;
            found |= row.contains(cells);
        }
        EXPECT_TRUE(found) << cells.toStdString();
    }

    ReportRequest certificate = request(ReportKind::TaxCertificate);
    certificate.certificateKind = 0;
    certificate.year = 2008;
    const Document certificates = buildTaxCertificates(*d, certificate, host);
    faults << faultsOf(certificates, {util::fixedNumber(record(1, QStringLiteral("PERSDATA_SDOD")), 1, 2)}, false);

    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

TEST(PayslipTwo, TheEarningsTextNeverCutsANumber)
{
    struct Case {
        int type;
        const char *description, *want;
    };
    const Case cases[] = {
        {6, "1420.00 лв ", "Премия 1420.00 лв "},             // ten characters would leave "420.00 лв "
        {6, "  12.00 лв ", "Премия  12.00 лв "},
        {1, "1175.98 лв  21 дни", "Премия   21 дни"},
        {11, "от 03.12.2025 до 04.12.2025  2 дни", "Премия   2 дни"},
        {30, "9999999.99 лв ", "Премия 9999999.99 лв "},
    };
    for (const Case &c : cases) {
        PayslipRow row;
        row.type = c.type;
        row.name = QStringLiteral("Премия");
        row.description = QString::fromUtf8(c.description);
        EXPECT_EQ(earningText(row), QString::fromUtf8(c.want)) << c.description;
    }
}
