#include "employees/Chooser.h"

#include "storage/DataModule.h"
#include "storage/fb/Statement.h"

namespace plavex::employees {

namespace {

struct KindInfo {
    const char *caption;
    const char *base;
    const char *key;
    const char *select; // the columns shown, the code first
    QStringList captions;
};

KindInfo info(ChooserKind kind)
{
    switch (kind) {
    case ChooserKind::Towns:
        return {"Избор на населено място", "GRAD", "GRAD_COD",
                "g.GRAD_COD, g.GRAD_IME, o.OBS_IME from GRAD g left join OBS o on o.OBS_COD = g.GRAD_OBSCOD order by g.GRAD_COD",
                {QStringLiteral("Номер"), QStringLiteral("Име"), QStringLiteral("Име на област")}};
    case ChooserKind::Units:
        return {"Избор на звено", "ZVENA", "ZVENO_COD", "ZVENO_COD, ZVENO_IME, ZVENO_CODRAZ from %1 order by ZVENO_COD",
                {QStringLiteral("Код на звено"), QStringLiteral("Име"), QStringLiteral("Код на разпределение")}};
    case ChooserKind::Positions:
        return {"Избор на длъжност", "DL", "DL_COD",
                "d.DL_COD, d.DL_IME, d.DL_KSTEPEN, d.DL_SHIFAR, d.DL_PORNOMER, k.KAT_LIMIT from %1 d left join %2 k "
                "on k.KAT_COD = d.DL_KSTEPEN order by d.DL_COD",
                {QStringLiteral("Код"), QStringLiteral("Наименование"), QStringLiteral("Квал. степен"), QStringLiteral("Шифър"),
                 QStringLiteral("Пореден номер"), QStringLiteral("Мин. осиг. дох.")}};
    case ChooserKind::TaxScale:
        return {"Избор на ДОД", "DOD", "DOD_MINLIMIT", "DOD_GOD, DOD_MINLIMIT, DOD_SUMA, DOD_PROC from %1 order by DOD_MINLIMIT",
                {QStringLiteral("Година"), QStringLiteral("Долна граница"), QStringLiteral("Сума"), QStringLiteral("Процент")}};
    case ChooserKind::Employees:
        break;
    }
    return {"Избор на кадри", "PERSONS", "PERSON_ID", "PERSON_ID, PERSON_NOMER, PERSON_IME from %1 order by PERSON_ID",
            {QString(), QStringLiteral("Номер"), QStringLiteral("Име")}};
}

} // namespace

QString chooserCaption(ChooserKind kind) { return QString::fromUtf8(info(kind).caption); }

bool chooserEditable(ChooserKind kind) { return kind != ChooserKind::Employees; }

ChooserRows chooserRows(storage::DataModule &data, ChooserKind kind)
{
    const KindInfo i = info(kind);
    QString sql = QStringLiteral("select ") + QString::fromUtf8(i.select);
    if (sql.contains(QLatin1String("%2")))
        sql = sql.arg(data.table(QString::fromLatin1(i.base)), data.table(u"KAT"));
    else if (sql.contains(QLatin1String("%1")))
        sql = sql.arg(data.table(QString::fromLatin1(i.base)));
    ChooserRows result;
    result.columns = i.captions;
    fb::Statement q(data.transaction(), sql);
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < q.columnCount(); ++c)
            row << q.value(c);
        result.rows.push_back(row);
    }
    return result;
}

int chooserNewCode(storage::DataModule &data, ChooserKind kind)
{
    if (kind == ChooserKind::TaxScale)
        return data.period().year();
    const KindInfo i = info(kind);
    return data.getMaxValue(data.table(QString::fromLatin1(i.base)), QString::fromLatin1(i.key)) + 1;
}

void chooserDelete(storage::DataModule &data, ChooserKind kind, const QVariant &code)
{
    if (!chooserEditable(kind))
        return;
    const KindInfo i = info(kind);
    data.deleteRows(data.table(QString::fromLatin1(i.base)), QString::fromLatin1(i.key) + QStringLiteral("=?"), {code});
    data.commitRetaining();
    if (kind == ChooserKind::TaxScale || kind == ChooserKind::Positions)
        data.tableChanged(QString::fromLatin1(i.base));
}

} // namespace plavex::employees
