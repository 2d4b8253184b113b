#include "items/DefinitionReader.h"

#include "storage/DataModule.h"
#include "storage/NomLoader.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/CodePage.h"
#include "util/Prompter.h"

#include <QFile>
#include <QStringList>

namespace plavex::items {

namespace {

constexpr int kContribution = 139;
constexpr int kFieldsAfterCode = 6; // name, old type, four flag words
constexpr int kNameLength = 30;     // the older release's name field

} // namespace

DefinitionReader::DefinitionReader(storage::DataModule &data) : data_(data) {}

int DefinitionReader::typeFromOld(int oldType)
{
    switch (oldType) {
    case 38:
        return 100;
    case 54:
        return 101;
    case 49:
        return 199;
    default:
        return oldType >= 39 && oldType <= 99 ? oldType + 100 : oldType;
    }
}

QString DefinitionReader::flagsFor(int type, const QString &name, const std::array<bool, 4> &words)
{
    QString flags(10, QLatin1Char('0'));
    for (size_t i = 0; i < words.size(); ++i)
        if (words[i])
            flags[static_cast<int>(i)] = QLatin1Char('1');
    // The older charts named a contribution's fund instead of ticking it.
    if (type == kContribution) {
        if (name.contains(QStringLiteral("ЗО")) || name.contains(QStringLiteral("ЗДР")))
            flags[2] = QLatin1Char('1');
        if (name.contains(QStringLiteral("ПКБ")))
            flags[3] = QLatin1Char('1');
        if (name.contains(QStringLiteral("ДЗПО")))
            flags[4] = QLatin1Char('1');
    }
    return flags;
}

std::optional<DefinitionLine> DefinitionReader::parseLine(const QString &raw, QString &fault)
{
    fault.clear();
    const QString line = raw.trimmed();
    if (line.isEmpty())
        return std::nullopt;

    const int blank = line.indexOf(QLatin1Char(' '));
    const QString codeText = blank < 0 ? line : line.left(blank);
    bool ok = false;
    const int code = codeText.toInt(&ok);
    if (!ok) {
        fault = QStringLiteral("\"%1\" не е число (код).").arg(codeText);
        return std::nullopt;
    }
    const QStringList fields = blank < 0 ? QStringList() : line.mid(blank + 1).split(QLatin1Char(','));
    if (fields.size() < kFieldsAfterCode) {
        fault = QStringLiteral("%1 полета след кода вместо %2.").arg(fields.size()).arg(kFieldsAfterCode);
        return std::nullopt;
    }

    DefinitionLine d;
    d.code = code;
    d.name = fields[0].trimmed().left(kNameLength).trimmed();
    if (code <= 0 || d.name.isEmpty())
        return std::nullopt; // the older charts leave such lines as fillers

    // A malformed type would otherwise become type 0, an item that computes
    // nothing; a comma inside a name ends up here too.
    const QString typeText = fields[1].trimmed();
    const int oldType = typeText.toInt(&ok);
    if (!ok) {
        fault = QStringLiteral("\"%1\" не е число (тип).").arg(typeText);
        return std::nullopt;
    }
    d.type = typeFromOld(oldType);

    std::array<bool, 4> words{};
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = fields[static_cast<int>(i) + 2].trimmed().startsWith(QStringLiteral("д"), Qt::CaseInsensitive);
    d.flags = flagsFor(d.type, d.name, words);
    return d;
}

int DefinitionReader::read(const QString &path, const QString &table, int *faults)
{
    data_.insertStandardDefinitions(table);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QStringList lines = util::fromCp1251(util::dosToCp1251(file.readAll())).split(QLatin1Char('\n'));
    file.close();

    util::Prompter &prompter = data_.prompter();
    prompter.progressStart(QStringLiteral("Четене на файл ") + path);
    int inserted = 0;
    for (int n = 0; n < lines.size(); ++n) {
        prompter.progressStep(n + 1, static_cast<int>(lines.size()));
        QString fault;
        const std::optional<DefinitionLine> d = parseLine(lines[n], fault);
        if (d) {
            try {
                if (data_.notExists(table, QStringLiteral("PERODEFS_COD"), d->code)) {
                    data_.insertRow(table, QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                                    {d->code, d->type, d->name, d->flags});
                    ++inserted;
                }
            } catch (const fb::Error &e) {
                fault = e.message();
            }
        }
        if (!fault.isEmpty() && faults)
            ++*faults;
        if (!fault.isEmpty())
            prompter.message(QStringLiteral("Файл %1, ред %2: %3").arg(path, QString::number(n + 1), fault));
    }
    prompter.progressEnd();
    return inserted;
}

void seedChart(storage::DataModule &data, const QString &table)
{
    // A new company is made from the whole chart or not at all: the file is
    // looked at before anything of it is stored, and its first fault is the
    // one message.
    const QString path = data.settings().nomsDir() + QStringLiteral("DATA3.TXT");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        file.close();
        if (util::isUtf8Cyrillic(bytes))
            throw storage::ServiceFileError(
                QStringLiteral("Файл %1: файлът е в кодировка UTF-8, а се очаква DOS кирилица. Фирмата не е създадена.").arg(path));
        const QStringList lines = util::fromCp1251(util::dosToCp1251(bytes)).split(QLatin1Char('\n'));
        for (int n = 0; n < lines.size(); ++n) {
            QString fault;
            if (!DefinitionReader::parseLine(lines[n], fault) && !fault.isEmpty())
                throw storage::ServiceFileError(QStringLiteral("Файл %1, ред %2: %3 Фирмата не е създадена.")
                                                    .arg(path, QString::number(n + 1), fault));
        }
    }
    int faults = 0;
    DefinitionReader(data).read(path, table, &faults);
    if (faults > 0)
        throw storage::ServiceFileError(QStringLiteral("Файлът %1 не е прочетен изцяло (%2 грешни реда): фирмата не е създадена.")
                                            .arg(path)
                                            .arg(faults));
}

} // namespace plavex::items
