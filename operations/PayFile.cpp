#include "operations/PayFile.h"

#include "reference/Company.h"
#include "reference/LawCalendar.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/BankAccount.h"
#include "util/Currency.h"
#include "util/Rounding.h"
#include "util/Transliteration.h"

#include <QHash>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace plavex::operations {

namespace {

constexpr int kNameLength = 70; // Max70Text of the EPC's party names

struct Account {
    QString iban;
    QString bic;
};

// The salary account of every active employee by number: his own, or the
// benefits account when he has none of his own.
QHash<int, Account> salaryAccounts(storage::DataModule &data)
{
    fb::Statement q(data.transaction(),
                    QStringLiteral("select PERSON_NOMER, PERSON_ZPIBAN, PERSON_ZPBIC, PERSON_BOLNIBAN, PERSON_BOLNBIC from %1 "
                                   "where PERSON_ACT=1")
                        .arg(data.table(u"PERSONS")));
    QHash<int, Account> accounts;
    while (q.next()) {
        const QString own = q.toText(1).trimmed();
        accounts.insert(static_cast<int>(q.toInt(0)),
                        own.isEmpty() ? Account{q.toText(3).trimmed(), q.toText(4).trimmed()}
                                      : Account{own, q.toText(2).trimmed()});
    }
    return accounts;
}

QString amountText(double amount) { return QString::number(amount, 'f', 2); }

void element(QXmlStreamWriter &xml, const QString &name, const QString &text) { xml.writeTextElement(name, text); }

void agent(QXmlStreamWriter &xml, const QString &name, const QString &bic)
{
    xml.writeStartElement(name);
    xml.writeStartElement(QStringLiteral("FinInstnId"));
    if (bic.isEmpty()) {
        xml.writeStartElement(QStringLiteral("Othr"));
        element(xml, QStringLiteral("Id"), QStringLiteral("NOTPROVIDED"));
        xml.writeEndElement();
    } else {
        element(xml, QStringLiteral("BICFI"), bic);
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

void account(QXmlStreamWriter &xml, const QString &name, const QString &iban)
{
    xml.writeStartElement(name);
    xml.writeStartElement(QStringLiteral("Id"));
    element(xml, QStringLiteral("IBAN"), iban);
    xml.writeEndElement();
    xml.writeEndElement();
}

void party(QXmlStreamWriter &xml, const QString &name, const QString &text)
{
    xml.writeStartElement(name);
    element(xml, QStringLiteral("Nm"), text);
    xml.writeEndElement();
}

} // namespace

QDate nextWorkingDay(const reference::LawCalendar &calendar, const QDate &day)
{
    QDate d = day.addDays(1);
    while (calendar.isDayOff(d))
        d = d.addDays(1);
    return d;
}

QString payFileRefusal(const util::Period &period)
{
    if (util::isEuroPeriod(period))
        return {};
    return QStringLiteral("Месец %1 е в лева: файл за превод на заплатите (SEPA) се прави само за месеци в евро.")
        .arg(period.text().left(2) + QLatin1Char('.') + period.text().mid(2));
}

QString remittanceText(const util::Period &period, bool advance)
{
    const QString month = QStringLiteral("%1.%2").arg(period.month(), 2, 10, QLatin1Char('0')).arg(period.year());
    return util::epcText((advance ? QStringLiteral("Аванс ") : QStringLiteral("Заплата ")) + month, 140);
}

QString endToEndId(const util::Period &period, bool advance, int number)
{
    return QStringLiteral("%1-%2-%3").arg(advance ? QStringLiteral("AVANS") : QStringLiteral("ZAPL"), period.text()).arg(number);
}

PayFileResult writePayFile(storage::DataModule &data, const std::vector<Payment> &payments,
                           const PayFileRequest &request, const QString &path)
{
    PayFileResult result;
    const util::Period period = data.period();
    result.refusal = payFileRefusal(period);
    if (!result.refusal.isEmpty())
        return result;

    reference::Company company;
    reference::loadCompany(data, company);
    const QString debtorIban = util::compactIban(company.iban);
    const QString debtorBic = company.bic.trimmed().toUpper();
    const QString debtorName = util::epcText(company.name, kNameLength);
    if (debtorName.isEmpty())
        result.refusal = QStringLiteral("Попълнете наименованието на фирмата (Параметри, Данни за фирмата).");
    else if (!util::isValidIban(debtorIban))
        result.refusal = QStringLiteral("IBAN на фирмата \"%1\" не е валиден (Параметри, Данни за фирмата).").arg(company.iban.trimmed());
    else if (!debtorBic.isEmpty() && !util::isValidBic(debtorBic))
        result.refusal = QStringLiteral("BIC на фирмата \"%1\" не е валиден (Параметри, Данни за фирмата).").arg(company.bic.trimmed());
    if (!request.executionDate.isValid())
        result.refusal = QStringLiteral("Няма дата на изпълнение.");
    if (!result.refusal.isEmpty())
        return result;

    struct Transfer {
        const Payment *payment;
        Account account;
        QString name;
        double amount;
    };
    std::vector<Transfer> transfers;
    const QHash<int, Account> accounts = salaryAccounts(data);
    for (const Payment &p : payments) {
        const double amount = util::roundHalfEven(p.amount, 2);
        if (amount <= 0)
            continue;
        const Account a = accounts.value(p.number);
        const QString iban = util::compactIban(a.iban);
        const QString bic = a.bic.toUpper();
        const QString name = util::epcText(p.name, kNameLength);
        QString why;
        if (iban.isEmpty())
            why = QStringLiteral("няма IBAN");
        else if (!util::isValidIban(iban))
            why = QStringLiteral("невалиден IBAN %1").arg(a.iban);
        else if (!bic.isEmpty() && !util::isValidBic(bic))
            why = QStringLiteral("невалиден BIC %1").arg(a.bic);
        else if (name.isEmpty())
            why = QStringLiteral("няма име");
        if (!why.isEmpty()) {
            result.leftOut.push_back({p.number, p.name, why});
            continue;
        }
        transfers.push_back({&p, {iban, bic}, name, amount});
    }
    if (transfers.empty()) {
        result.refusal = payments.empty() || result.leftOut.empty()
                             ? QStringLiteral("Няма суми за превод през месеца.")
                             : QStringLiteral("Никой служител няма валидна сметка: файлът не е записан.");
        return result;
    }

    // Summed in cents so that the control sum is exactly the amounts' sum.
    qint64 cents = 0;
    for (const Transfer &t : transfers)
        cents += qRound64(t.amount * 100);
    result.transactions = static_cast<int>(transfers.size());
    result.controlSum = static_cast<double>(cents) / 100.0;
    const QString count = QString::number(result.transactions);
    const QString sum = QString::number(cents / 100) + QLatin1Char('.') + QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
    const QString messageId = QStringLiteral("%1-%2-%3")
                                  .arg(request.advance ? QStringLiteral("AVANS") : QStringLiteral("ZAPL"), period.text(),
                                       request.created.toString(QStringLiteral("yyyyMMddhhmmss")));
    const QString remittance = remittanceText(period, request.advance);

    QByteArray bytes;
    {
        QXmlStreamWriter xml(&bytes);
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument();
        xml.writeDefaultNamespace(QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.001.001.09"));
        xml.writeStartElement(QStringLiteral("Document"));
        xml.writeStartElement(QStringLiteral("CstmrCdtTrfInitn"));

        xml.writeStartElement(QStringLiteral("GrpHdr"));
        element(xml, QStringLiteral("MsgId"), messageId);
        element(xml, QStringLiteral("CreDtTm"), request.created.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
        element(xml, QStringLiteral("NbOfTxs"), count);
        element(xml, QStringLiteral("CtrlSum"), sum);
        party(xml, QStringLiteral("InitgPty"), debtorName);
        xml.writeEndElement();

        xml.writeStartElement(QStringLiteral("PmtInf"));
        element(xml, QStringLiteral("PmtInfId"), messageId + QStringLiteral("-1"));
        element(xml, QStringLiteral("PmtMtd"), QStringLiteral("TRF"));
        element(xml, QStringLiteral("BtchBookg"), QStringLiteral("true"));
        element(xml, QStringLiteral("NbOfTxs"), count);
        element(xml, QStringLiteral("CtrlSum"), sum);
        xml.writeStartElement(QStringLiteral("PmtTpInf"));
        xml.writeStartElement(QStringLiteral("SvcLvl"));
        element(xml, QStringLiteral("Cd"), QStringLiteral("SEPA"));
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("CtgyPurp"));
        element(xml, QStringLiteral("Cd"), QStringLiteral("SALA"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("ReqdExctnDt"));
        element(xml, QStringLiteral("Dt"), request.executionDate.toString(Qt::ISODate));
        xml.writeEndElement();
        party(xml, QStringLiteral("Dbtr"), debtorName);
        account(xml, QStringLiteral("DbtrAcct"), debtorIban);
        agent(xml, QStringLiteral("DbtrAgt"), debtorBic);
        element(xml, QStringLiteral("ChrgBr"), QStringLiteral("SLEV"));

        for (const Transfer &t : transfers) {
            xml.writeStartElement(QStringLiteral("CdtTrfTxInf"));
            xml.writeStartElement(QStringLiteral("PmtId"));
            element(xml, QStringLiteral("EndToEndId"), endToEndId(period, request.advance, t.payment->number));
            xml.writeEndElement();
            xml.writeStartElement(QStringLiteral("Amt"));
            xml.writeStartElement(QStringLiteral("InstdAmt"));
            xml.writeAttribute(QStringLiteral("Ccy"), QStringLiteral("EUR"));
            xml.writeCharacters(amountText(t.amount));
            xml.writeEndElement();
            xml.writeEndElement();
            if (!t.account.bic.isEmpty())
                agent(xml, QStringLiteral("CdtrAgt"), t.account.bic);
            party(xml, QStringLiteral("Cdtr"), t.name);
            account(xml, QStringLiteral("CdtrAcct"), t.account.iban);
            xml.writeStartElement(QStringLiteral("RmtInf"));
            element(xml, QStringLiteral("Ustrd"), remittance);
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement(); // PmtInf
        xml.writeEndElement(); // CstmrCdtTrfInitn
        xml.writeEndElement(); // Document
        xml.writeEndDocument();
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        result.refusal = QStringLiteral("Файлът %1 не може да бъде записан: %2").arg(path, file.errorString());
        result.transactions = 0;
        result.controlSum = 0;
    }
    return result;
}

} // namespace plavex::operations
