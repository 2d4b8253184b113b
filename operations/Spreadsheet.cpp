#include "operations/Spreadsheet.h"

#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

namespace plavex::operations {

namespace {

using Kind = SheetColumn::Kind;

// A worksheet name: at most 31 characters, none of []:*?/\.
QString worksheetName(const QString &title)
{
    QString name = title;
    for (QChar &c : name)
        if (QStringView(u"[]:*?/\\").contains(c))
            c = QLatin1Char(' ');
    name = name.trimmed().left(31);
    return name.isEmpty() ? QStringLiteral("Таблица") : name;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool writeXlsx(const Sheet &sheet, const QString &path, QString *error)
{
    // libxlsxwriter writes to a path of its own: a file beside the target
    // that takes its place only when whole.
    QTemporaryFile temporary(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".plavex-XXXXXX.xlsx")));
    if (!temporary.open()) {
        if (error)
            *error = temporary.errorString();
        return false;
    }
    temporary.close();
    const QByteArray temporaryPath = QFile::encodeName(temporary.fileName());

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE; // rows go out as they are written
    lxw_workbook *book = workbook_new_opt(temporaryPath.constData(), &options);
    if (!book) {
        if (error)
            *error = QStringLiteral("libxlsxwriter не може да създаде файла.");
        return false;
    }
    lxw_worksheet *ws = workbook_add_worksheet(book, worksheetName(sheet.title).toUtf8().constData());
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *amount = workbook_add_format(book);
    format_set_num_format(amount, "0.00");
    lxw_format *whole = workbook_add_format(book);
    format_set_num_format(whole, "0");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "dd.mm.yyyy");

    for (size_t c = 0; c < sheet.columns.size(); ++c) {
        const SheetColumn &column = sheet.columns[c];
        const double width = column.kind == Kind::Text ? 30 : column.kind == Kind::Date ? 12 : 14;
        worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr);
    }
    worksheet_freeze_panes(ws, 1, 0);
    for (size_t c = 0; c < sheet.columns.size(); ++c)
        worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), sheet.columns[c].heading.toUtf8().constData(), bold);
    lxw_row_t r = 1;
    for (const QVariantList &row : sheet.rows) {
        for (size_t c = 0; c < sheet.columns.size() && c < static_cast<size_t>(row.size()); ++c) {
            const QVariant &v = row[static_cast<qsizetype>(c)];
            const auto col = static_cast<lxw_col_t>(c);
            if (!v.isValid() || v.isNull())
                continue;
            const Kind kind = sheet.columns[c].kind;
            if (kind == Kind::Date && v.typeId() == QMetaType::QDate) {
                const QDate d = v.toDate();
                lxw_datetime dt = {d.year(), d.month(), d.day(), 0, 0, 0};
                worksheet_write_datetime(ws, r, col, &dt, date);
            } else if ((kind == Kind::Amount || kind == Kind::Integer) && isNumber(v)) {
                worksheet_write_number(ws, r, col, v.toDouble(), kind == Kind::Amount ? amount : whole);
            } else {
                const QString text = v.typeId() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("dd.MM.yyyy")) : v.toString();
                worksheet_write_string(ws, r, col, text.toUtf8().constData(), nullptr);
            }
        }
        ++r;
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(closed));
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(temporary.fileName(), path)) {
        if (error)
            *error = QStringLiteral("файлът не може да бъде преименуван");
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

QString csvCell(const QVariant &v, Kind kind)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (kind == Kind::Amount && isNumber(v))
        return QString::number(v.toDouble(), 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
    if (kind == Kind::Integer && isNumber(v))
        return QString::number(v.toLongLong());
    QString text = v.toString();
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r')))
        text = QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    return text;
}

bool writeCsv(const Sheet &sheet, const QString &path, QString *error)
{
    QString text;
    auto line = [&](const QStringList &cells) { text += cells.join(QLatin1Char(';')) + QStringLiteral("\r\n"); };
    QStringList headings;
    for (const SheetColumn &c : sheet.columns)
        headings << csvCell(c.heading, Kind::Text);
    line(headings);
    for (const QVariantList &row : sheet.rows) {
        QStringList cells;
        for (size_t c = 0; c < sheet.columns.size(); ++c)
            cells << csvCell(row.value(static_cast<qsizetype>(c)), sheet.columns[c].kind);
        line(cells);
    }
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

std::optional<SheetFormat> sheetFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx")
        return SheetFormat::Xlsx;
    if (suffix == u"csv")
        return SheetFormat::Csv;
    return std::nullopt;
}

bool writeSheet(const Sheet &sheet, const QString &path, QString *error)
{
    const auto format = sheetFormatOf(path);
    if (!format) {
        if (error)
            *error = QStringLiteral("файлът трябва да завършва на .xlsx или .csv");
        return false;
    }
    return *format == SheetFormat::Xlsx ? writeXlsx(sheet, path, error) : writeCsv(sheet, path, error);
}

QString amountHeading(const QString &heading, const util::Period &period)
{
    return heading + QStringLiteral(", ") + util::currencyOf(period).plural;
}

Sheet employeesSheet(storage::DataModule &data)
{
    Sheet s;
    s.title = QStringLiteral("Служители %1").arg(data.period().text());
    s.addColumn(QStringLiteral("Номер"), Kind::Integer);
    s.addColumn(QStringLiteral("Име"));
    s.addColumn(QStringLiteral("ЕГН"));
    s.addColumn(QStringLiteral("Звено"), Kind::Integer);
    s.addColumn(QStringLiteral("Статус"));
    s.addColumn(QStringLiteral("Дата на назначение"), Kind::Date);
    s.addColumn(QStringLiteral("Дата на уволнение"), Kind::Date);
    s.addColumn(QStringLiteral("IBAN за заплата"));
    s.addColumn(QStringLiteral("BIC за заплата"));
    s.addColumn(QStringLiteral("E-mail"));
    fb::Statement q(data.transaction(),
                    QStringLiteral("select PERSON_NOMER, PERSON_IME, PERSON_EGN, PERSON_ZVENO, PERSON_ACT, PERSON_DATANAZ, "
                                   "PERSON_DATAUWOL, PERSON_ZPIBAN, PERSON_ZPBIC, PERSON_BOLNIBAN, PERSON_BOLNBIC, PERSON_EMAIL "
                                   "from %1 order by PERSON_NOMER")
                        .arg(data.table(u"PERSONS")));
    while (q.next()) {
        // The account the salary goes to: his own, else the benefits account.
        const bool own = !q.toText(7).trimmed().isEmpty();
        s.rows.push_back({q.toInt(0), q.toText(1).trimmed(), q.toText(2).trimmed(), q.toInt(3),
                          q.toInt(4) == 1 ? QStringLiteral("активен") : QStringLiteral("уволнен"), q.value(5), q.value(6),
                          q.toText(own ? 7 : 9).trimmed(), q.toText(own ? 8 : 10).trimmed(), q.toText(11).trimmed()});
    }
    return s;
}

Sheet itemsSheet(storage::DataModule &data)
{
    const util::Period period = data.period();
    Sheet s;
    s.title = QStringLiteral("Пера %1").arg(period.text());
    s.addColumn(QStringLiteral("Номер"), Kind::Integer);
    s.addColumn(QStringLiteral("Име"));
    s.addColumn(QStringLiteral("Код"), Kind::Integer);
    s.addColumn(QStringLiteral("Перо"));
    s.addColumn(QStringLiteral("Тип"), Kind::Integer);
    s.addColumn(QStringLiteral("Сума 1"), Kind::Amount);
    s.addColumn(QStringLiteral("Сума 2"), Kind::Amount);
    s.addColumn(QStringLiteral("Дни"), Kind::Integer);
    s.addColumn(QStringLiteral("От"), Kind::Date);
    s.addColumn(QStringLiteral("До"), Kind::Date);
    s.addColumn(amountHeading(QStringLiteral("Сума"), period), Kind::Amount);
    fb::Statement q(data.transaction(),
                    QStringLiteral("select p.PERSON_NOMER, p.PERSON_IME, a.PERO_COD, d.PERODEFS_IME, a.PERO_TYPE, a.PERO_SUMA1, "
                                   "a.PERO_SUMA2, a.PERO_D, a.PERO_BEGINDATE, a.PERO_ENDDATE, a.PERO_SUMA "
                                   "from %1 a join %2 p on p.PERSON_ID=a.PERO_PERSONID "
                                   "left join %3 d on d.PERODEFS_COD=a.PERO_COD "
                                   "order by p.PERSON_NOMER, a.PERO_TYPE, a.PERO_COD, a.PERO_PEROID")
                        .arg(data.table(u"PERA"), data.table(u"PERSONS"), data.table(u"PERADEFS")));
    while (q.next())
        s.rows.push_back({q.toInt(0), q.toText(1).trimmed(), q.toInt(2), q.toText(3).trimmed(), q.toInt(4), q.toDouble(5),
                          q.toDouble(6), q.toInt(7), q.value(8), q.value(9), q.toDouble(10)});
    return s;
}

} // namespace plavex::operations
