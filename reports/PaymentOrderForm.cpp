#include "reports/PaymentOrders.h"

#include "util/Currency.h"
#include "util/NumberWords.h"
#include "util/Rounding.h"
#include "util/DateText.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace plavex::reports {

namespace {

double r2(double v) { return util::roundHalfEven(v, 2); }

} // namespace

QString amountCells(double amount)
{
    const long long cents = std::llround(r2(amount) * 100.0);
    const long long whole = std::llabs(cents) / 100;
    const QString lev = (cents < 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
    QString text = lev.rightJustified(9) + QLatin1Char('.') + QStringLiteral("%1").arg(std::llabs(cents) % 100, 2, 10, QLatin1Char('0'));
    text.replace(QLatin1Char(' '), QLatin1Char('<'));
    return text;
}

QString amountWords(double amount, const util::Period &period)
{
    QString words = util::amountInWords(amount, period).trimmed();
    // Less than a lev still says how many: "нула лв. и 50 ст."
    if (words.startsWith(util::currencyOf(period).abbreviation))
        words.prepend(QStringLiteral("нула "));
    return std::llround(r2(amount) * 100.0) < 0 ? QStringLiteral("минус ") + words : words;
}

namespace {

constexpr double kNewPitch = 0.45, kOldPitch = 0.5;
constexpr int kNewCells = 35, kOldCells = 26;
constexpr double kCellColumn = 0.9;
constexpr double kValueSize = 12, kCaptionSize = 5;

// Draws one form at its origin: the values in their cells, the captions
// above them and the frame around.
class Form {
public:
    Form(Canvas &c, bool newForm, double x, double y) : c_(c), newForm_(newForm), x_(x), y_(y) {}

    double pitch() const { return newForm_ ? kNewPitch : kOldPitch; }
    int cells() const { return newForm_ ? kNewCells : kOldCells; }
    double cellsRight() const { return kCellColumn + cells() * pitch(); }

    // A value one character per cell from `at` (cm from the origin); longer
    // than `limit` cells it goes as one text.
    void cellText(double at, double row, const QString &value, int limit)
    {
        value_();
        if (value.size() > limit) {
            // As one text, set smaller when it would run past the form:
            // the whole line in one smaller size, never across the comb's end.
            const double room = cellsRight() - at - 0.1;
            const double width = c_.textWidth(value);
            if (width > room)
                c_.setFontSize(kValueSize * room / width);
            c_.textAt(value, x_ + at, y_ + row);
            return;
        }
        for (qsizetype i = 0; i < value.size(); ++i)
            if (!value[i].isSpace())
                c_.textAt(QString(value[i]), x_ + at + (static_cast<double>(i) + 0.5) * pitch(), y_ + row, Justify::Center);
    }
    void cellText(double row, const QString &value, int limit = 0) { cellText(kCellColumn, row, value, limit ? limit : cells()); }
    void plain(double at, double row, const QString &value)
    {
        value_();
        c_.textAt(value, x_ + at, y_ + row);
    }

    // The row of `count` cells from `from` (cells from the cell column):
    // a line under it and a tick between cells.
    void cellRow(double row, int from = 0, int count = -1)
    {
        if (count < 0)
            count = cells() - from;
        c_.setPen(Pen{});
        const double left = x_ + kCellColumn + from * pitch();
        const double bottom = y_ + row + 0.12;
        c_.line(left, bottom, left + count * pitch(), bottom);
        for (int i = 0; i <= count; ++i) {
            const double tx = left + i * pitch();
            c_.line(tx, bottom, tx, bottom - ((i == 0 || i == count) ? 0.5 : 0.15));
        }
    }
    // A caption above its row, `at` cells from the cell column.
    void caption(double row, const QString &text, double cell = 0)
    {
        caption(kCellColumn + cell * pitch() + 0.04, row, text, true);
    }
    void caption(double at, double row, const QString &text, bool)
    {
        c_.setBold(false);
        c_.setFontSize(kCaptionSize);
        c_.textAt(text, x_ + at, y_ + row - 0.42);
    }
    void label(double at, double row, const QString &text, double size, bool bold = false)
    {
        c_.setBold(bold);
        c_.setFontSize(size);
        c_.textAt(text, x_ + at, y_ + row);
    }
    void hline(double from, double to, double row)
    {
        c_.setPen(Pen{});
        c_.line(x_ + from, y_ + row, x_ + to, y_ + row);
    }
    void frame(double height)
    {
        c_.setPen(Pen{});
        c_.setBrush(Brush{});
        c_.rectangle(x_, y_, x_ + cellsRight() + 0.2, y_ + height);
    }

private:
    void value_()
    {
        c_.setBold(true);
        c_.setFontSize(kValueSize);
    }

    Canvas &c_;
    bool newForm_;
    double x_, y_;
};

QString issueDate(const PaymentOrder &o) { return util::documentDate(o.date.isValid() ? o.date : QDate::currentDate()); }

// The currency the order pays in.
util::Period money(const PaymentOrder &o, const util::Period &period) { return o.paidIn.isValid() ? o.paidIn : period; }

void drawNewForm(Form &f, const PaymentOrder &o, const util::Period &month)
{
    const util::Period period = money(o, month);
    const double r0 = 0.55, r1 = r0 + 0.78, r2_ = r1 + 0.7, r3 = r2_ + 1.2;
    double row[16];
    row[3] = r3;
    for (int i = 4; i < 16; ++i)
        row[i] = row[i - 1] + 0.75;
    const double p = kNewPitch;

    // The top: payer's bank, branch, address, the date and the signature.
    f.label(0.1, r0, QStringLiteral("До"), 7);
    f.caption(1.4, r0 + 0.55, QStringLiteral("банка"), true);
    f.hline(1.3, 8.6, r0 + 0.12);
    f.caption(9.0, r0 - 0.05, QStringLiteral("уникален регистрационен номер"), true);
    f.hline(9.0, f.cellsRight(), r0 + 0.12);
    f.label(0.1, r1 - 0.3, QStringLiteral("Клон"), 7);
    f.hline(0.05, 8.6, r1 + 0.12);
    f.caption(9.0, r1 + 0.55, QStringLiteral("дата на представяне"), true);
    f.hline(9.0, 13.0, r1 + 0.12);
    f.label(0.1, r2_ - 0.32, QStringLiteral("Адрес"), 7);
    f.hline(0.05, 8.6, r2_ + 0.12);
    f.caption(10.0, r2_ + 0.55, QStringLiteral("подпис на наредителя"), true);
    f.hline(9.5, f.cellsRight(), r2_ + 0.12);

    f.plain(1.4, r0, o.payerBank);
    f.plain(0.05, r1, o.payerBranch);
    f.plain(9.0, r1, issueDate(o));
    f.plain(0.2, r2_, o.payerAddress);

    f.caption(row[3], QStringLiteral("Платете на - име на получателя"));
    f.caption(f.cellsRight() - 2.2, row[3] - 0.1, QStringLiteral("Чуждестранно лице"), true);
    f.caption(f.cellsRight() - 2.2, row[3] + 0.08, QStringLiteral("по смисъла на"), true);
    f.caption(f.cellsRight() - 2.2, row[3] + 0.26, QStringLiteral("Валутния закон"), true);
    f.cellRow(row[3], 0, 30);
    f.cellText(row[3], o.payee, 30);

    f.caption(row[4], QStringLiteral("IBAN на получателя"));
    f.caption(row[4], QStringLiteral("BIC на банката на получателя"), 22);
    f.cellRow(row[4]);
    f.cellText(row[4], o.payeeIban.leftJustified(22) + o.payeeBic.rightJustified(13));

    f.caption(row[5], QStringLiteral("При банка - име на банката на получателя"));
    f.caption(row[5], QStringLiteral("Вид плащане"), 29);
    f.cellRow(row[5]);
    f.cellText(row[5], o.payeeBank.leftJustified(29), 29);
    f.cellText(kCellColumn + 29 * p, row[5], o.paymentType.rightJustified(6), 6);

    f.label(0.3, row[6] - 0.3, QStringLiteral("ПЛАТЕЖНО НАРЕЖДАНЕ/ВНОСНА БЕЛЕЖКА"), 8, true);
    f.label(0.3, row[6] + 0.05, QStringLiteral("ЗА ПЛАЩАНЕ ОТ/КЪМ БЮДЖЕТА"), 8, true);
    f.caption(9.85 + 0.04, row[6], QStringLiteral("Вид валута"), true);
    f.caption(9.85 + 3 * p + 0.04, row[6], QStringLiteral("Сума"), true);
    f.cellRow(row[6], 20, 15);
    f.cellText(9.85, row[6], util::currencyOf(period).code + amountCells(o.amount), 15);

    f.caption(row[7], QStringLiteral("Сума с думи"));
    f.cellRow(row[7]);
    f.cellText(row[7], amountWords(o.amount, period));
    f.caption(row[8], QStringLiteral("Основание за плащане"));
    f.cellRow(row[8]);
    f.cellText(row[8], o.basis);
    f.caption(row[9], QStringLiteral("Още пояснения"));
    f.cellRow(row[9]);
    f.cellText(row[9], o.explanations);

    f.caption(row[10], QStringLiteral("Вид и"));
    f.caption(row[10], QStringLiteral("номер на документ, който се плаща"), 2);
    f.caption(row[10], QStringLiteral("Дата (ддммгггг) на документа"), 27);
    f.cellRow(row[10]);
    f.cellText(row[10], o.documentType.leftJustified(18) + o.documentNumber.rightJustified(17));

    f.caption(row[11], QStringLiteral("Период за който се плаща"));
    f.caption(row[11], QStringLiteral("От дата /ддммгггг/"), 7);
    f.caption(row[11], QStringLiteral("До дата /ддммгггг/"), 27);
    f.cellRow(row[11]);
    f.cellText(row[11], o.periodFrom.rightJustified(15) + o.periodTo.rightJustified(20));

    f.caption(row[12], QStringLiteral("Задължено лице - наименование на юридическо лице или трите имена на физическо лице"));
    f.cellRow(row[12]);
    f.cellText(row[12], o.obliged, 30);

    f.caption(row[13], QStringLiteral("БУЛСТАТ на задълженото лице"));
    f.caption(row[13], QStringLiteral("ЕГН на задълженото лице"), 14);
    f.caption(row[13], QStringLiteral("ЛНЧ на задълженото лице"), 25);
    f.cellRow(row[13]);
    f.cellText(row[13], o.bulstat.leftJustified(14) + o.egn);

    f.caption(row[14], QStringLiteral("Наредител - наименование на юридическото лице или трите имена на физическото лице"));
    f.cellRow(row[14]);
    f.cellText(row[14], o.obliged);

    f.caption(row[15], QStringLiteral("IBAN на наредителя"));
    f.caption(row[15], QStringLiteral("BIC на банката на наредителя"), 22);
    f.cellRow(row[15]);
    f.cellText(row[15], o.payerIban.leftJustified(22) + o.payerBic.rightJustified(13));

    const double bottom = row[15] + 0.75;
    f.caption(bottom, QStringLiteral("Платежна система"));
    f.caption(bottom, QStringLiteral("Такси"), 12);
    f.caption(bottom, QStringLiteral("Дата на изпълнение"), 24);
    f.cellRow(bottom);
    f.label(0.3, bottom + 0.6, QStringLiteral("Счетоводител:"), 7);
    f.label(9.0, bottom + 0.6, QStringLiteral("Касиер:"), 7);
    f.frame(bottom + 0.85);
}

void drawOldForm(Form &f, const PaymentOrder &o, const util::Period &month)
{
    const util::Period period = money(o, month);
    const double r0 = 0.6, r1 = r0 + 0.4, r2_ = r1 + 0.4, r3 = r2_ + 0.45;
    double row[17];
    row[4] = r3 + 1.3;
    for (int i = 5; i < 17; ++i)
        row[i] = row[i - 1] + 0.78;
    const double p = kOldPitch;

    f.label(0.1, r0, QStringLiteral("До"), 7);
    f.hline(1.3, 7.2, r0 + 0.1);
    f.caption(1.4, r0 + 0.3, QStringLiteral("банка"), true);
    f.caption(7.4, r0 - 0.05, QStringLiteral("номер и дата на издаване"), true);
    f.hline(7.4, f.cellsRight(), r0 + 0.1);
    f.label(0.1, r1 + 0.1, QStringLiteral("Клон"), 6);
    f.hline(1.3, 7.2, r1 + 0.1);
    f.label(0.1, r2_ + 0.1, QStringLiteral("Адрес"), 6);
    f.hline(1.3, 7.2, r2_ + 0.1);
    f.label(0.1, r3 + 0.1, QStringLiteral("Място на издаване"), 6);
    f.hline(3.2, 7.2, r3 + 0.1);
    f.caption(8.4, r3 + 0.55, QStringLiteral("подписи на наредителя/вносителя"), true);
    f.hline(8.0, f.cellsRight(), r3 + 0.1);

    f.plain(1.4, r0, o.payerBank);
    f.plain(7.4, r0, issueDate(o));
    f.plain(1.45, r1, o.payerBranch);
    f.plain(1.5, r2_, o.payerAddress);
    f.plain(3.4, r3, o.placeOfIssue);

    f.caption(row[4], QStringLiteral("Платете на - име на получателя"));
    f.cellRow(row[4]);
    f.cellText(row[4], o.payee);

    f.caption(row[5], QStringLiteral("Сметка № на получателя"));
    f.caption(row[5], QStringLiteral("Параграф на НАП"), 10);
    f.caption(row[5], QStringLiteral("БИН на получателя"), 16);
    f.cellRow(row[5]);
    f.cellText(row[5], o.payeeAccount.leftJustified(10) + o.oldCode.leftJustified(6) + o.bin);

    f.caption(row[6], QStringLiteral("Код на банка/клон на получателя"));
    f.caption(row[6], QStringLiteral("При банка - наименование банка/клон на получателя"), 8);
    f.cellRow(row[6]);
    f.cellText(row[6], o.payeeBankCode.leftJustified(8) + o.payeeBank);

    f.label(0.3, row[7] - 0.41, QStringLiteral("ПЛАТЕЖНО НАРЕЖДАНЕ"), 8, true);
    f.label(0.3, row[7] - 0.125, QStringLiteral("(ВНОСНА БЕЛЕЖКА) ЗА"), 8, true);
    f.label(0.3, row[7] + 0.16, QStringLiteral("ПЛАЩАНЕ КЪМ БЮДЖЕТА"), 8, true);
    f.caption(6.4 + 0.04, row[7], QStringLiteral("Вид валута"), true);
    f.caption(6.4 + 3 * p + 0.04, row[7], QStringLiteral("Сума"), true);
    f.cellRow(row[7], 11, 15);
    f.cellText(6.4, row[7], util::currencyOf(period).code + amountCells(o.amount), 15);

    f.caption(row[8], QStringLiteral("Сума с думи"));
    f.cellRow(row[8]);
    f.cellText(row[8], amountWords(o.amount, period));
    f.caption(row[9], QStringLiteral("Основание за плащане/внасяне на данък, такса, осигуровка, мито, лихва ..."));
    f.cellRow(row[9]);
    f.cellText(row[9], o.basis);
    f.caption(row[10], QStringLiteral("Още пояснения"));
    f.cellRow(row[10]);
    f.cellText(row[10], o.explanations);

    f.caption(row[11], QStringLiteral("Вид и"));
    f.caption(row[11], QStringLiteral("номер на документ, който се плаща"), 2);
    f.caption(row[11], QStringLiteral("Дата /ддммгггг/ на документ, който се плаща"), 17);
    f.cellRow(row[11]);
    f.cellText(row[11], o.documentType.leftJustified(18) + o.documentNumber);

    f.caption(row[12], QStringLiteral("Период за който се отнася плащането /ддммгггг/"));
    // After the long caption of the line, over the end of the date.
    f.caption(row[12], QStringLiteral("От дата /ддммгггг/"), 10);
    f.caption(row[12], QStringLiteral("До дата /ддммгггг/"), 18);
    f.cellRow(row[12]);
    f.cellText(row[12], QString(5, QLatin1Char(' ')) + o.periodFrom.leftJustified(13) + o.periodTo);

    f.caption(row[13], QStringLiteral("Задължено лице - наименование на юридическо лице или трите имена на физическо лице"));
    f.cellRow(row[13]);
    f.cellText(row[13], o.obliged);
    f.caption(row[14], QStringLiteral("БУЛСТАТ на задълженото лице"));
    f.caption(row[14], QStringLiteral("ЕГН на задълженото лице"), 14);
    f.cellRow(row[14]);
    f.cellText(row[14], o.bulstat);
    f.caption(row[15], QStringLiteral("Данъчен номер на задълженото лице"));
    f.caption(row[15], QStringLiteral("БИН на наредителя"), 14);
    f.cellRow(row[15]);
    f.cellText(row[15], o.taxNumber);
    f.caption(row[16], QStringLiteral("Сметка № на наредителя"));
    f.caption(row[16], QStringLiteral("Код на банка/клон на наредителя/вносителя"), 17);
    f.cellRow(row[16]);
    f.cellText(row[16], o.payerAccount.leftJustified(18) + o.payerBankCode);

    const double bottom = row[16] + 0.7;
    f.label(0.3, bottom, QStringLiteral("Счетоводител:"), 7);
    f.label(8.0, bottom, QStringLiteral("Касиер:"), 7);
    f.frame(bottom + 0.3);
}

} // namespace

void printPaymentOrder(Canvas &c, const PaymentOrder &order, bool newForm, const util::Period &period, double x, double y)
{
    Form form(c, newForm, x, y);
    if (newForm)
        drawNewForm(form, order, period);
    else
        drawOldForm(form, order, period);
}

} // namespace plavex::reports
