#include "items/Definitions.h"

#include "storage/DataModule.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

namespace plavex::items {

namespace {

Definition readRow(const fb::Statement &q)
{
    return makeDefinition(static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)), q.toText(2), q.value(3).toString());
}

} // namespace

QString padFlags(const QString &hars)
{
    QString t = hars.trimmed();
    if (t.size() < 10)
        t += QString(10 - t.size(), QLatin1Char('0'));
    return t;
}

Definition makeDefinition(int code, int type, const QString &name, const QString &hars)
{
    Definition d;
    d.code = code;
    d.type = type;
    d.name = name.trimmed().left(30);
    d.hars = padFlags(hars);
    for (int i = 1; i <= 10; ++i)
        d.flags[static_cast<size_t>(i)] = d.hars[i - 1] == QLatin1Char('1');
    return d;
}

std::vector<Definition> loadDefinitions(storage::DataModule &data)
{
    std::vector<Definition> cache;
    fb::Statement q(data.transaction(), QStringLiteral("select PERODEFS_COD, PERODEFS_TYP, PERODEFS_IME, PERODEFS_HARS from %1 "
                                                       "order by PERODEFS_COD")
                                            .arg(data.table(u"PERADEFS")));
    while (q.next())
        cache.push_back(readRow(q));
    return cache;
}

const Definition &findDefinition(const std::vector<Definition> &cache, int code)
{
    static const Definition none;
    for (const Definition &d : cache)
        if (d.code == code)
            return d;
    return cache.empty() ? none : cache.front();
}

QString flagCaption(int type, int position)
{
    static const char *const contribution[] = {"ДОО", "Здравна осигуровка", "ПКБ", "ДЗПО"};
    static const char *const other[] = {"База отсъствия", "База болнични", "База служебен отпуск", "Характеристика 5"};
    if (position == 1)
        return QStringLiteral("Копиране в следващ месец");
    if (position >= 2 && position <= 5)
        return QString::fromUtf8((type == 139 ? contribution : other)[position - 2]);
    return QStringLiteral("Характеристика %1").arg(position);
}

QString flagMark(const QString &hars, int position)
{
    const QString t = padFlags(hars);
    return t[position - 1] == QLatin1Char('1') ? QStringLiteral("д") : QStringLiteral("н");
}

void setTypeOfItems(storage::DataModule &data, int code, int type)
{
    fb::Statement::run(data.transaction(), QStringLiteral("UPDATE  %1 SET PERO_TYPE=? WHERE PERO_COD=?").arg(data.table(u"PERA")),
                       {type, code});
}

int definitionType(storage::DataModule &data, int code)
{
    return fb::Statement::scalar(data.transaction(),
                                 QStringLiteral("SELECT PERODEFS_TYP FROM %1 WHERE PERODEFS_COD=?").arg(data.table(u"PERADEFS")), {code})
        .toInt();
}

void removeUnfinishedDefinitions(storage::DataModule &data)
{
    data.deleteRows(data.table(u"PERADEFS"), QStringLiteral("(PERODEFS_TYP is NULL) or PERODEFS_TYP=0"));
    data.commitRetaining();
}

QString checkNewCode(storage::DataModule &data, const QString &code)
{
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (code.trimmed().isEmpty() || !ok)
        return QStringLiteral("Това поле е задължително. Моля въведете стойност за код или натиснете бутона \"ОТКАЗ\".");
    if (!data.notExists(data.table(u"PERADEFS"), QStringLiteral("PERODEFS_COD"), n))
        return QStringLiteral("Моля въведете друг код или натиснете бутона \"ОТКАЗ\"");
    return {};
}

void addDefinition(storage::DataModule &data, const Definition &d)
{
    // Checked again under the lock: a second copy may have taken the code since.
    data.lockFor(data.table(u"PERADEFS"));
    if (!data.notExists(data.table(u"PERADEFS"), QStringLiteral("PERODEFS_COD"), d.code)) {
        data.commitRetaining();
        throw fb::Error(0, QStringLiteral("Перо с код %1 вече е дефинирано. Моля въведете друг код.").arg(d.code));
    }
    data.insertRow(data.table(u"PERADEFS"), QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                   {d.code, d.type, d.name, padFlags(d.hars).left(10)});
    setTypeOfItems(data, d.code, d.type);
    data.commitRetaining();
    data.tableChanged(QStringLiteral("PERADEFS"));
}

void editDefinition(storage::DataModule &data, int code, int oldType, const Definition &d)
{
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET PERODEFS_TYP=?, PERODEFS_IME=?, PERODEFS_HARS=? WHERE PERODEFS_COD=?")
                           .arg(data.table(u"PERADEFS")),
                       {d.type, d.name, padFlags(d.hars).left(10), code});
    if (d.type != oldType)
        setTypeOfItems(data, code, d.type);
    data.commitRetaining();
    data.tableChanged(QStringLiteral("PERADEFS"));
}

bool deleteDefinition(storage::DataModule &data, int code, util::Prompter &prompter)
{
    fb::Statement q(data.transaction(), QStringLiteral("select PERODEFS_TYP, PERODEFS_IME from %1 where PERODEFS_COD=?")
                                            .arg(data.table(u"PERADEFS")));
    q.bind(0, code);
    if (!q.next())
        return false;
    const int type = static_cast<int>(q.toInt(0));
    const QString name = q.toText(1).trimmed();
    q.close();
    if (!prompter.confirm(QStringLiteral("Сигурни ли сте, че искате да изтриете дефиницията на перо %1 %2 ?").arg(code).arg(name)))
        return false;
    if (!data.notExistsWhere(data.table(u"PERA"), QStringLiteral("PERO_COD=? AND PERO_TYPE=?"), {code, type})) {
        prompter.message(QStringLiteral("Перо %1 %2 не може да бъде изтрито?").arg(code).arg(name));
        return false;
    }
    data.deleteRows(data.table(u"PERADEFS"), QStringLiteral("PERODEFS_COD=?"), {code});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("PERADEFS"));
    return true;
}

std::vector<Definition> pickerDefinitions(storage::DataModule &data, int type)
{
    const QString condition = type == 0 ? QStringLiteral(" (PERODEFS_TYP not in (100,200,201)) and (perodefs_ime<>'') ")
                                        : QStringLiteral(" (PERODEFS_TYP=?) and (perodefs_ime<>'') ");
    fb::Statement q(data.transaction(), QStringLiteral("select PERODEFS_COD, PERODEFS_TYP, PERODEFS_IME, PERODEFS_HARS from %1 where%2 "
                                                       "ORDER BY PERODEFS_COD")
                                            .arg(data.table(u"PERADEFS"), condition));
    if (type != 0)
        q.bind(0, type);
    std::vector<Definition> list;
    while (q.next())
        list.push_back(readRow(q));
    return list;
}

bool shownInPicker(const Definition &d) { return d.type != 100 && d.type != 200 && d.type != 201 && d.type != 101; }

} // namespace plavex::items
