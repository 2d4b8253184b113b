// The salary transfer file of a euro month, made by plavex-cli as an
// accountant would make it, read back element by element and validated
// against the EPC's schema.
#include "tests/payrun/PayRunSupport.h"

#include "operations/PayFile.h"
#include "reference/LawCalendar.h"
#include "reports/Sheets.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"
#include "util/BankAccount.h"
#include "util/Transliteration.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace plavex;

namespace {

using test::cents;

struct Transfer {
    QString endToEnd, name, iban, bic, remittance;
    double amount = 0;
    QString currency;
};

struct TransferFile {
    QMap<QString, QString> header; // the first text of each element outside the transactions
    std::vector<Transfer> transfers;
};

TransferFile readTransferFile(const QString &path)
{
    QFile f(path);
    TransferFile file;
    if (!f.open(QIODevice::ReadOnly))
        return file;
    QXmlStreamReader xml(&f);
    QStringList stack;
    Transfer *current = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            stack << xml.name().toString();
            if (xml.name() == u"CdtTrfTxInf") {
                file.transfers.emplace_back();
                current = &file.transfers.back();
            }
            if (current && xml.name() == u"InstdAmt")
                current->currency = xml.attributes().value(QStringLiteral("Ccy")).toString();
        } else if (xml.isEndElement()) {
            if (xml.name() == u"CdtTrfTxInf")
                current = nullptr;
            stack.removeLast();
        } else if (xml.isCharacters() && !xml.isWhitespace()) {
            const QString path = stack.join(u'/');
            const QString text = xml.text().toString();
            if (!current) {
                if (!file.header.contains(path))
                    file.header.insert(path, text);
            } else if (path.endsWith(u"/EndToEndId")) {
                current->endToEnd = text;
            } else if (path.endsWith(u"/InstdAmt")) {
                current->amount = text.toDouble();
            } else if (path.endsWith(u"/Cdtr/Nm")) {
                current->name = text;
            } else if (path.endsWith(u"/CdtrAcct/Id/IBAN")) {
                current->iban = text;
            } else if (path.endsWith(u"/CdtrAgt/FinInstnId/BICFI")) {
                current->bic = text;
            } else if (path.endsWith(u"/Ustrd")) {
                current->remittance = text;
            }
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return file;
}

const QString kRoot = QStringLiteral("Document/CstmrCdtTrfInitn/");

class PayFile : public test::EuroCompanySuite<30> {
protected:
    storage::DataModule &data() const
    {
        c.db.data->transaction().commitRetaining(); // what the commands committed
        return *c.db.data;
    }
    QString file(const QString &name) const { return c.dir() + name; }

    // The pay sheet's rows with something to pay, by number.
    std::map<int, reports::PaySheetRow> paySheet() const
    {
        std::map<int, reports::PaySheetRow> rows;
        for (const int unit : reports::sheetUnits(data()))
            for (const reports::PaySheetRow &r : reports::paySheetRows(data(), unit))
                if (r.toPay > 0)
                    rows[r.number] = r;
        return rows;
    }
    // The salary account of an employee as the record has it (his own, else the benefits one).
    QString salaryIban(int number) const
    {
        const QString own = fb::Statement::scalar(data().transaction(),
                                                  QStringLiteral("select PERSON_ZPIBAN from PERSONS012026 where PERSON_NOMER=?"),
                                                  {number})
                                .toString()
                                .trimmed();
        if (!own.isEmpty())
            return own;
        return fb::Statement::scalar(data().transaction(),
                                     QStringLiteral("select PERSON_BOLNIBAN from PERSONS012026 where PERSON_NOMER=?"), {number})
            .toString()
            .trimmed();
    }
};

TEST_F(PayFile, TheMonthsNetPayGoesToTheBankAndWhoHasNoAccountIsNamed)
{
    const QString path = file(QStringLiteral("zaplati.xml"));
    const test::CliRun r = c.cli({"pay-file", "--out", path});
    ASSERT_EQ(r.status, 3) << r.err.toStdString();
    const test::ToolRun valid = test::validateTransferFile(path);
    ASSERT_EQ(valid.status, 0) << valid.err.toStdString();

    const TransferFile f = readTransferFile(path);
    const auto sheet = paySheet();
    // Everyone the sheet pays is either in the file or named as left out.
    QSet<int> leftOut;
    static const QRegularExpression named(QStringLiteral("Пропуснат служител (\\d+) "));
    for (auto it = named.globalMatch(r.err); it.hasNext();)
        leftOut.insert(it.next().captured(1).toInt());
    ASSERT_FALSE(leftOut.isEmpty()) << "the demo keeps a few without an account";
    qint64 fileCents = 0, leftCents = 0, sheetCents = 0;
    for (const auto &[number, row] : sheet) {
        sheetCents += cents(row.toPay);
        if (leftOut.contains(number)) {
            leftCents += cents(row.toPay);
            EXPECT_FALSE(util::isValidIban(salaryIban(number))) << number;
        }
    }
    QSet<QString> ids;
    static const QRegularExpression epc(QStringLiteral("^[A-Za-z0-9/\\-?:().,'+ ]+$"));
    for (const Transfer &t : f.transfers) {
        fileCents += cents(t.amount);
        EXPECT_FALSE(ids.contains(t.endToEnd)) << "one id twice: " << t.endToEnd.toStdString();
        ids.insert(t.endToEnd);
        const int number = t.endToEnd.section(u'-', 2).toInt();
        EXPECT_EQ(t.endToEnd, QStringLiteral("ZAPL-012026-%1").arg(number));
        ASSERT_TRUE(sheet.count(number)) << number;
        const reports::PaySheetRow &row = sheet.at(number);
        EXPECT_EQ(cents(t.amount), cents(row.toPay)) << number;
        EXPECT_EQ(t.currency, QStringLiteral("EUR"));
        EXPECT_EQ(t.name, util::epcText(row.name, 70));
        EXPECT_TRUE(epc.match(t.name).hasMatch()) << t.name.toStdString();
        EXPECT_EQ(t.iban, salaryIban(number));
        EXPECT_EQ(t.remittance, QStringLiteral("Zaplata 01.2026"));
        EXPECT_FALSE(leftOut.contains(number));
    }
    EXPECT_EQ(f.transfers.size() + static_cast<size_t>(leftOut.size()), sheet.size());
    EXPECT_EQ(fileCents + leftCents, sheetCents);
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("GrpHdr/NbOfTxs")).toInt(), static_cast<int>(f.transfers.size()));
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/NbOfTxs")).toInt(), static_cast<int>(f.transfers.size()));
    EXPECT_EQ(cents(f.header.value(kRoot + QStringLiteral("GrpHdr/CtrlSum")).toDouble()), fileCents);
    EXPECT_EQ(cents(f.header.value(kRoot + QStringLiteral("PmtInf/CtrlSum")).toDouble()), fileCents);
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/PmtMtd")), QStringLiteral("TRF"));
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/BtchBookg")), QStringLiteral("true"));
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/PmtTpInf/SvcLvl/Cd")), QStringLiteral("SEPA"));
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/PmtTpInf/CtgyPurp/Cd")), QStringLiteral("SALA"));
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/Dbtr/Nm")), QStringLiteral("Demo Peyrol OOD"));
    EXPECT_TRUE(util::isValidIban(f.header.value(kRoot + QStringLiteral("PmtInf/DbtrAcct/Id/IBAN"))));
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/DbtrAgt/FinInstnId/BICFI")), QStringLiteral("UNCRBGSF"));
    // By default the next working day of the law's calendar.
    const QDate next = operations::nextWorkingDay(reference::LawCalendar::fromNoms(c.dir() + QStringLiteral("noms/")), QDate::currentDate());
    EXPECT_EQ(f.header.value(kRoot + QStringLiteral("PmtInf/ReqdExctnDt/Dt")), next.toString(Qt::ISODate));
    EXPECT_TRUE(r.out.contains(QString::number(static_cast<double>(fileCents) / 100, 'f', 2))) << r.out.toStdString();

    // Given the benefits account, the ones left out are paid there too: the
    // file then is the pay sheet, count and sum.
    for (const int number : leftOut) {
        const QString account = util::ibanWithCheckDigits(QStringLiteral("BG"), QStringLiteral("BNBG9661100000%1").arg(number, 4, 10, QLatin1Char('0')));
        fb::Statement::run(data().transaction(),
                           QStringLiteral("update PERSONS012026 set PERSON_ZPIBAN=null, PERSON_BOLNIBAN=? where PERSON_NOMER=?"),
                           {account, number});
    }
    data().transaction().commitRetaining();
    const QDate later = QDate::currentDate().addDays(10);
    const test::CliRun all = c.cli({"pay-file", "--out", path, "--date", later.toString(QStringLiteral("dd.MM.yyyy"))});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    EXPECT_EQ(test::validateTransferFile(path).status, 0);
    const TransferFile whole = readTransferFile(path);
    EXPECT_EQ(whole.transfers.size(), sheet.size());
    EXPECT_EQ(cents(whole.header.value(kRoot + QStringLiteral("GrpHdr/CtrlSum")).toDouble()), sheetCents);
    EXPECT_EQ(whole.header.value(kRoot + QStringLiteral("PmtInf/ReqdExctnDt/Dt")), later.toString(Qt::ISODate));
}

TEST_F(PayFile, TheAdvanceIsTheAdvanceSheet)
{
    const QString path = file(QStringLiteral("avans.xml"));
    const test::CliRun r = c.cli({"pay-file", "--out", path, "--advance"});
    ASSERT_TRUE(r.status == 0 || r.status == 3) << r.err.toStdString();
    ASSERT_EQ(test::validateTransferFile(path).status, 0);
    const TransferFile f = readTransferFile(path);
    std::map<int, double> advances;
    for (const int unit : reports::sheetUnits(data()))
        for (const reports::AdvanceSheetRow &a : reports::advanceSheetRows(data(), unit, 142, 0))
            advances[a.number] = a.amount;
    ASSERT_FALSE(f.transfers.empty());
    for (const Transfer &t : f.transfers) {
        const int number = t.endToEnd.section(u'-', 2).toInt();
        EXPECT_EQ(t.endToEnd, QStringLiteral("AVANS-012026-%1").arg(number));
        ASSERT_TRUE(advances.count(number)) << number;
        EXPECT_EQ(cents(t.amount), cents(advances[number]));
        EXPECT_EQ(t.remittance, QStringLiteral("Avans 01.2026"));
    }
}

TEST_F(PayFile, WhatCannotBePaidLeavesNoFile)
{
    const QString path = file(QStringLiteral("none.xml"));
    // A date already past, or no date at all.
    const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(c.cli({"pay-file", "--out", path, "--date", yesterday}).status, 1);
    EXPECT_EQ(c.cli({"pay-file", "--out", path, "--date", "31.02.2026"}).status, 1);
    EXPECT_EQ(c.cli({"pay-file", "--out", path, "--date"}).status, 1);
    EXPECT_EQ(c.cli({"pay-file"}).status, 1);
    EXPECT_FALSE(QFile::exists(path));

    // A leva month is not a SEPA month.
    test::CliCompany leva(QStringLiteral("122025"));
    const test::CliRun r = leva.cli({"pay-file", "--out", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("лева"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    // Nobody with a valid account: nothing is written, and each is named.
    fb::Transaction &tx = data().transaction();
    fb::Statement::run(tx, QStringLiteral("update PERSONS012026 set PERSON_ZPIBAN='BG81BNBG96611020345678', PERSON_BOLNIBAN=null"));
    tx.commitRetaining();
    const test::CliRun nobody = c.cli({"pay-file", "--out", path});
    EXPECT_EQ(nobody.status, 1);
    EXPECT_TRUE(nobody.err.contains(QStringLiteral("невалиден IBAN BG81BNBG96611020345678"))) << nobody.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    // Nor from a company whose own IBAN is wrong.
    fb::Statement::run(tx, QStringLiteral("update PERSONS012026 set PERSON_ZPIBAN='BG80BNBG96611020345678'"));
    fb::Statement::run(tx, QStringLiteral("update FIRMA012026 set FIRMA_IBAN='BG00UNCR70001520000001'"));
    tx.commitRetaining();
    const test::CliRun company = c.cli({"pay-file", "--out", path});
    EXPECT_EQ(company.status, 1);
    EXPECT_TRUE(company.err.contains(QStringLiteral("IBAN на фирмата"))) << company.err.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
