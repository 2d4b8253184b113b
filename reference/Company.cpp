#include "reference/Company.h"

#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "storage/Catalogue.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/StatutoryFigures.h"
#include "storage/fb/Statement.h"

#include <stdexcept>

namespace plavex::reference {

namespace {

QString cut(const QVariant &v, int length = -1)
{
    const QString t = v.toString().trimmed();
    return length < 0 ? t : t.left(length);
}

} // namespace

bool loadCompany(storage::DataModule &data, Company &c)
{
    fb::Statement q(data.transaction(), QStringLiteral("select * from ") + data.table(u"FIRMA"));
    if (!q.next())
        return false;
    auto v = [&](const char *column) { return q.value(QString::fromLatin1(column)); };
    c.name = cut(v("FIRMA_IME"));
    c.director = cut(v("FIRMA_DIRECTOR"));
    c.chiefAccountant = cut(v("FIRMA_SCHET"));
    c.workingWeek = v("FIRMA_RSEDMICA").toInt();
    c.currentMonth = v("FIRMA_CURMES").toDate();
    c.minSalary = v("FIRMA_MINSALARY").toDouble();
    c.maxInsurable = v("FIRMA_INDDOO").toDouble();
    c.taxNumber = cut(v("FIRMA_DANNOMER"), 10);
    c.bulstat = cut(v("FIRMA_BULSTAT"), 13);
    c.street = cut(v("FIRMA_ADDRUL"), 30);
    c.phone = cut(v("FIRMA_TEL"), 20);
    c.email = cut(v("FIRMA_EMAIL"), 30);
    c.coefficient1 = v("FIRMA_KOEF1").toDouble();
    c.coefficient2 = v("FIRMA_KOEF2").toDouble();
    c.bin = cut(v("FIRMA_BIN"), 10);
    c.budgetAccount = cut(v("FIRMA_SMET"), 10);
    c.activityCode = cut(v("FIRMA_KID1"), 4);
    c.activityNumber = cut(v("FIRMA_KID2"), 2);
    c.accidentPercent = v("FIRMA_DOOPROCF3").toDouble();
    c.guaranteedPercent = v("FIRMA_DATA3").toDouble();
    c.maternity = v("FIRMA_OBMAJKI").toDouble();
    c.minInsurable = v("FIRMA_MINDOH").toDouble();
    c.townCode = v("FIRMA_GRADCOD").toInt();
    c.bankBranch = cut(v("FIRMA_BANKKLON"), 100);
    c.bankName = cut(v("FIRMA_BANKAIME"), 100);
    c.bankCode = cut(v("FIRMA_BANKKODE"), 8);
    c.bankAccount = cut(v("FIRMA_BANKSMETKA"), 10);
    c.taxBankName = cut(v("FIRMA_DPBANKIME"), 100);
    c.taxBankBranch = cut(v("FIRMA_DPBANKKLON"), 100);
    c.taxOfficeName = cut(v("FIRMA_DPIME"), 50);
    c.taxMunicipality = cut(v("FIRMA_DPOBL"), 50);
    c.taxBankCode = cut(v("FIRMA_DPBANKKODE"), 8);
    c.bic = cut(v("FIRMA_BIC"), 8);
    c.iban = cut(v("FIRMA_IBAN"));
    c.taxBic = cut(v("FIRMA_DPBIC"), 8);
    c.taxIban = cut(v("FIRMA_DPIBAN"));
    c.taxPaymentType = cut(v("FIRMA_DPVVP"));
    c.windowsDeclaration = v("FIRMA_WINOUT").toInt() == 1;
    c.decl6Date = v("FIRMA_DECL6DATE").toDate();
    return true;
}

bool identityFilled(const Company &company)
{
    return !company.name.trimmed().isEmpty() && !company.bulstat.trimmed().isEmpty() && !company.activityCode.trimmed().isEmpty();
}

QStringList missingLawFigures(storage::DataModule &data, const Company &company)
{
    const auto law = storage::statutoryFiguresInForce(
        storage::readStatutoryFigures(storage::statutoryFiguresFile(data.settings().nomsDir())), data.period());
    auto lawSaysZero = [&](std::optional<double> storage::StatutoryFigures::*figure) {
        return law && (*law).*figure && *((*law).*figure) == 0;
    };
    QStringList missing;
    if (company.accidentPercent == 0 && !lawSaysZero(&storage::StatutoryFigures::accidentPercent))
        missing << QStringLiteral("FIRMA_DOOPROCF3");
    if (company.guaranteedPercent == 0 && !lawSaysZero(&storage::StatutoryFigures::guaranteedPercent))
        missing << QStringLiteral("FIRMA_DATA3");
    return missing;
}

void postCompany(storage::DataModule &data, const QVariantMap &columns)
{
    if (columns.isEmpty())
        return;
    const storage::TableDef &def = storage::catalogue::table(u"FIRMA");
    QStringList sets;
    QVariantList values;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        if (def.columnIndex(it.key()) < 0)
            throw std::invalid_argument("no company column " + it.key().toStdString());
        sets << it.key() + QStringLiteral("=?");
        values << it.value();
    }
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET %2").arg(data.table(u"FIRMA"), sets.join(QLatin1Char(','))), values);
    data.commitRetaining();
    data.tableChanged(QStringLiteral("FIRMA"));
}

void activityTyped(storage::DataModule &data, const QString &code)
{
    if (code.trimmed().isEmpty())
        return;
    const QString number = activityNumberOf(data, code.trimmed());
    if (!number.isEmpty())
        postCompany(data, {{QStringLiteral("FIRMA_KID2"), number}});
}

void activityChosen(storage::DataModule &data, const QString &code, const QString &number)
{
    postCompany(data, {{QStringLiteral("FIRMA_KID1"), code.trimmed()}, {QStringLiteral("FIRMA_KID2"), number.trimmed()}});
}

void activitySelected(storage::DataModule &data, const QString &code, const QString &number)
{
    if (code.trimmed().isEmpty() || number.trimmed().isEmpty())
        return;
    postCompany(data, {{QStringLiteral("FIRMA_KID1"), code.trimmed()},
                       {QStringLiteral("FIRMA_KID2"), QString::number(number.trimmed().toInt())}});
    refreshMinimumIncome(data, code.trimmed(), QString::number(number.trimmed().toInt()));
}

} // namespace plavex::reference
