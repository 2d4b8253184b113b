// A small company of two units for the payroll sheets and the
// recapitulation, with the helpers that read a document's lines.
#pragma once

#include "items/Definitions.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reports/engine/Document.h"
#include "storage/fb/Statement.h"
#include "tests/support/MonthRows.h"
#include "tests/support/TestDatabase.h"
#include "util/NumberText.h"

#include <gtest/gtest.h>

#include <map>

namespace plavex::test {

// The texts of a document grouped into lines (same page, same baseline).
struct DocLine {
    int page = 0;
    double y = 0;
    std::vector<const reports::Op *> ops;
    QStringList texts() const
    {
        QStringList t;
        for (const reports::Op *op : ops)
            t << op->text;
        return t;
    }
    QString joined() const { return texts().join(u'|'); }
};

inline std::vector<DocLine> docLines(const reports::Document &doc)
{
    std::vector<DocLine> lines;
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const reports::Op &op : doc.pages[static_cast<size_t>(p)].ops) {
            if (op.kind != reports::Op::Kind::Text)
                continue;
            if (lines.empty() || lines.back().page != p || std::abs(lines.back().y - op.y) > 0.05)
                lines.push_back({p, op.y, {}});
            lines.back().ops.push_back(&op);
        }
    return lines;
}

// The first line whose first text is `first`, from `from` on; nullptr when none.
inline const DocLine *lineStarting(const std::vector<DocLine> &lines, const QString &first, size_t from = 0)
{
    for (size_t i = from; i < lines.size(); ++i)
        if (!lines[i].ops.empty() && lines[i].ops.front()->text == first)
            return &lines[i];
    return nullptr;
}

inline QString fx(double v, int w, int d) { return util::fixedNumber(v, w, d); }

// Units 1 "Администрация" (11 born 1959, a woman in the guaranteed fund;
// 12 born 1961), 2 "Цех" (21 a woman born 1970; 22 inactive) and 3 "Склад"
// (31, without an amount-to-pay item). The advance 601: 11 has 100 this
// month and 150 the next, 12 120 and 0, 21 0 and 90.
class SheetsCompany : public ::testing::Test {
protected:
    explicit SheetsCompany(const util::Period &period = util::Period(2008, 1)) : t(period) {}

    void SetUp() override
    {
        t.dir.writeNom(QStringLiteral("DOD%1.csv").arg(t.settings.lastDate.year()),
                       {QStringLiteral("%1;0;0;0.10").arg(t.settings.lastDate.year())});
        ASSERT_TRUE(t.open());
        d = t.data.get();
        reference::postCompany(*d, {{QStringLiteral("FIRMA_IME"), QStringLiteral("Плавекс ООД")},
                                    {QStringLiteral("FIRMA_SCHET"), QStringLiteral("Мария Стоева")},
                                    {QStringLiteral("FIRMA_DIRECTOR"), QStringLiteral("Иван Петров")},
                                    {QStringLiteral("FIRMA_INDDOO"), 2000.0},
                                    {QStringLiteral("FIRMA_MINDOH"), 220.0},
                                    {QStringLiteral("FIRMA_MINSALARY"), 180.0},
                                    {QStringLiteral("FIRMA_DOOPROCF3"), 0.7}});
        addRates(d->table(u"NOI"), 1.0);
        administration = reference::addUnit(*d, QStringLiteral("Администрация"), 0);
        workshop = reference::addUnit(*d, QStringLiteral("Цех"), 0);
        store = reference::addUnit(*d, QStringLiteral("Склад"), 0);
        for (const auto &[code, type, name, hars] :
             {std::tuple{101, 1, "Основна заплата", "1"}, {130, 30, "Премия", "1"},
              {401, 139, "ДОО за сметка на лицето", "0"}, {501, 140, "ДОД", "0"}, {601, 142, "Аванс", "0"},
              {602, 142, "Втори аванс", "0"}, {198, 198, "Корекция", "0"}})
            items::addDefinition(*d, items::makeDefinition(code, type, QString::fromUtf8(name), QLatin1String(hars)));
        addEmployee(1, 11, administration, "Анна Иванова Петрова", "5901010005", 1, 2, 1);
        addItem(1, 101, 1, 1100);
        addItem(1, 401, 139, 12);
        addItem(1, 501, 140);
        addItem(1, 601, 142, 100, 150);
        addItem(1, 198, 198, 5, 0, 130); // a correction never listed by the recapitulation
        addTotals(1);
        addEmployee(2, 12, administration, "Борис Стоянов Колев", "6101010008", 1, 1, 0);
        addItem(2, 101, 1, 1500);
        addItem(2, 130, 30, 200);
        addItem(2, 401, 139, 12);
        addItem(2, 501, 140);
        addItem(2, 601, 142, 120, 0);
        addTotals(2);
        addEmployee(3, 21, workshop, "Вера Данова", "7001010006", 1, 2, 1);
        addItem(3, 101, 1, 900);
        addItem(3, 401, 139, 12);
        addItem(3, 601, 142, 0, 90);
        addTotals(3);
        addEmployee(4, 22, workshop, "Васил Неактивен", "7101010005", 0, 1, 0);
        addItem(4, 101, 1, 800);
        addItem(4, 601, 142, 80, 80);
        addTotals(4);
        addEmployee(5, 31, store, "Георги Без Сума", "7201010004", 1, 1, 0);
        addItem(5, 101, 1, 700);
        addItem(5, 1000, 100);
        addItem(5, 2000, 200);
        d->commitRetaining();
    }

    // Employer rates of type 01/1, each times `k` (another table can then tell itself apart).
    void addRates(const QString &table, double k)
    {
        d->insertValues(table,
                        QStringLiteral("NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PROC,NOI_PENSI_FI,NOI_ZAB_FI,NOI_PKB_FI,NOI_PROC_FI,"
                                       "NOI_PENSI_FI60,NOI_ZAB_FI60,NOI_PKB_FI60,NOI_PROC_FI60,NOI_DZPO_FI60,NOI_SOC_FI,"
                                       "NOI_SOC_FI60,NOI_ZDR,NOI_ZD_BOLN,NOI_ZDR_NEPL,NOI_GRVZ"),
                        {1, 1, QStringLiteral("Работници"), 20.0, 11.7 * k, 2.1 * k, 0.6 * k, 14.4 * k, 8.9 * k, 2.1 * k,
                         0.6 * k, 11.6 * k, 2.8 * k, 2.1 * k, 1.9 * k, 4.8 * k, 6.0 * k, 2.5 * k, 0.5 * k});
    }
    void addEmployee(int id, int number, int unit, const char *name, const char *egn, int active, int sex, int garvz)
    {
        test::insertEmployee(*d, {{"PERSON_ID", id}, {"PERSON_NOMER", number}, {"PERSON_ZVENO", unit},
                                  {"PERSON_IME", QString::fromUtf8(name)}, {"PERSON_EGN", QLatin1String(egn)}, {"PERSON_ACT", active},
                                  {"PERSON_KALENDAR", 1}, {"PERSON_SYSZ", 1}, {"PERSON_NOS", "01"}, {"PERSON_NOSN", 1},
                                  {"PERSON_POL", sex}, {"PERSON_GARVZ", garvz}});
    }
    void addItem(int person, int code, int type, double amount1 = 0, double amount2 = 0, int days = 0)
    {
        test::insertItem(*d, person, code, type, {{"PERO_SUMA1", amount1}, {"PERO_SUMA2", amount2}, {"PERO_D", days}});
    }
    void addTotals(int person) { test::insertTotals(*d, person); }

    // PERO_SUMA of the employee's item of the type, as stored now.
    double stored(int person, int type, const char *column = "PERO_SUMA")
    {
        return fb::Statement::scalar(d->transaction(),
                                     QStringLiteral("select %1 from %2 where PERO_PERSONID=? and PERO_TYPE=?")
                                         .arg(QLatin1String(column), d->table(u"PERA")),
                                     {person, type})
            .toDouble();
    }
    // A month-record column of the employee, as stored now.
    double record(int person, const QString &column)
    {
        return fb::Statement::scalar(d->transaction(),
                                     QStringLiteral("select %1 from PERSDATA where PERSDATA_PERSONID=? and PERSDATA_GOD=? and "
                                                    "PERSDATA_MES=?")
                                         .arg(column),
                                     {person, d->period().year(), d->period().month()})
            .toDouble();
    }

    TestDatabase t;
    storage::DataModule *d = nullptr;
    int administration = 0, workshop = 0, store = 0;
};

} // namespace plavex::test
