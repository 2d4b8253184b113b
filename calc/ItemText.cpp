#include "calc/ItemText.h"

#include "util/Currency.h"
#include "util/DateText.h"
#include "util/NumberText.h"

#include <algorithm>

namespace plavex::calc {

namespace {

bool in(int type, std::initializer_list<int> types) { return std::find(types.begin(), types.end(), type) != types.end(); }

const items::Definition *definitionOf(const std::vector<items::Definition> &definitions, int code)
{
    for (const items::Definition &d : definitions)
        if (d.code == code)
            return &d;
    return nullptr;
}

QString dateText(const QDate &date, QChar separator)
{
    return items::ItemRecord::isNoDate(date) ? QString() : date.toString(util::displayDateFormat(separator));
}

} // namespace

QString itemDescription(const items::ItemRecord &item, const std::vector<items::Definition> &definitions,
                        const Totals &last, int paySystem, const util::Period &period, QChar dateSeparator,
                        QChar decimal)
{
    auto str = [decimal](double value, int width, int decimals) {
        return util::fixedNumber(value, width, decimals).replace(u'.', decimal);
    };
    const int type = item.type;
    const QString money = util::currencyOf(period).sign;
    const QString lv = u' ' + money + u' ';
    const QString from = u' ' + money + QStringLiteral(" от ");
    const QString percent = QStringLiteral("  % ");
    if (type == 1) {
        QString text = str(item.amount1, 7, 2) + lv;
        if (in(paySystem, {1, 2, 6, 7}) && item.amount2 != 0)
            text += u' ' + str(item.amount2, 6, 2) + from + str(item.d, 2, 0);
        else if (paySystem == 3)
            text += u' ' + str(item.amount2, 5, 2) + QStringLiteral(" ч  ");
        else if (paySystem == 4 || paySystem == 5)
            text += u' ' + str(item.amount2, 6, 2) + lv;
        return text + u' ' + str(last.odni, 2, 0) + QStringLiteral(" дни");
    }
    if (in(type, {2, 4, 19, 32})) {
        QString text = str(item.amount1, 7, 2) + lv;
        if (item.amount2 != 0)
            text += u' ' + str(item.amount2, 7, 2) + from + QString::number(item.d);
        return text + u' ' + str(item.d, 2, 0) + QStringLiteral(" дни");
    }
    if (type == 3)
        return QString::number(item.d) + QStringLiteral(" категория ") + str(item.amount1, 6, 3) + percent;
    if (type == 5)
        return str(item.amount1, 5, 2) + QStringLiteral(" ч ") + str(item.d, 2, 0) + QStringLiteral(" дни ")
               + str(item.amount2, 6, 3) + percent;
    if (in(type, {6, 10, 17, 18, 30, 31, 33, 37, 101, 141, 143, 145, 155}))
        return str(item.amount1, 7, 2) + lv;
    if (in(type, {7, 29, 35}))
        return str(item.amount1, 6, 3) + percent;
    if (type == 8 || type == 9)
        return str(item.amount1, 5, 2) + lv + str(item.amount2, 7, 2) + QStringLiteral("  ч ");
    if ((type >= 11 && type <= 15) || (type >= 20 && type <= 28))
        return QStringLiteral("от ") + dateText(item.begin, dateSeparator) + QStringLiteral(" до ")
               + dateText(item.end, dateSeparator) + u' ' + str(item.d, 2, 0) + QStringLiteral(" дни");
    if (type == 16)
        return str(item.amount1, 5, 2) + QStringLiteral(" бр.т.");
    if (type == 34)
        return str(item.d, 2, 0) + QStringLiteral(" дни ") + str(item.amount1, 7, 2) + lv;
    if (type == 139) {
        const items::Definition *def = definitionOf(definitions, item.code);
        if (!def)
            return {};
        double base = last.wcosuma32;
        if (def->flag(3) && def->flag(4))
            base = last.szdrn;
        else if (def->flag(3))
            base = last.szdr;
        else if (def->flag(2))
            base = last.wcosoc;
        return str(item.amount1, 6, 3) + percent + str(base, 7, 2) + lv;
    }
    if (type == 140)
        return QStringLiteral(" облагаема сума ") + str(last.sobl, 7, 2) + lv;
    if (type == 142)
        return str(item.amount1, 7, 2) + lv + str(item.amount2, 7, 2) + lv;
    if (type == 144) {
        QString text;
        if (item.amount1 != 0)
            text = str(item.amount1, 7, 2) + lv;
        return text + str(item.amount2, 7, 2) + lv + QString::number(item.d) + QStringLiteral(" бр ");
    }
    if (in(type, {146, 147, 150, 151, 152, 153}))
        return str(item.amount1, 7, 3) + percent;
    if (type == 148 || type == 197)
        return QStringLiteral(" начислени ") + str(item.amount1, 4, 2) + QStringLiteral(" удържани ") + str(item.amount2, 4, 2) + lv;
    if (type == 198) {
        const items::Definition *target = definitionOf(definitions, item.d);
        return QString::number(item.d) + u' ' + (target ? target->name.trimmed() : QString());
    }
    if (in(type, {100, 200, 201})) {
        const items::Definition *def = definitionOf(definitions, item.code);
        return def ? def->name.trimmed() : QString();
    }
    return {};
}

QString itemCodeText(const items::ItemRecord &item)
{
    if (in(item.type, {100, 200, 201}) || item.code == 0)
        return {};
    return QString::number(item.code);
}

QString itemNameText(const items::ItemRecord &item, const std::vector<items::Definition> &definitions)
{
    if (in(item.type, {0, 100, 200, 201}))
        return {};
    const items::Definition *def = definitionOf(definitions, item.code);
    return def ? def->name.trimmed() : QString();
}

} // namespace plavex::calc
