#include "storage/IniFile.h"

#include "util/CodePage.h"

#include <QFile>
#include <QSaveFile>

namespace plavex::storage {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

bool fitsCp1251(const QString &text) { return util::fromCp1251(util::toCp1251(text)) == text; }

} // namespace

bool IniFile::load(const QString &path)
{
    sections_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const QString text = bytes.startsWith(kBom) ? QString::fromUtf8(bytes.mid(kBom.size())) : util::fromCp1251(bytes);
    QString section;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        setValue(section, line.left(eq).trimmed(), line.mid(eq + 1));
    }
    return true;
}

bool IniFile::save(const QString &path) const
{
    QString text;
    for (const Section &s : sections_) {
        text += QLatin1Char('[') + s.name + QStringLiteral("]\r\n");
        for (const auto &[key, value] : s.entries)
            text += key + QLatin1Char('=') + value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(fitsCp1251(text) ? util::toCp1251(text) : kBom + text.toUtf8());
    return file.commit();
}

const IniFile::Section *IniFile::find(const QString &section) const
{
    for (const Section &s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    if (const Section *s = find(section))
        for (const auto &[k, v] : s->entries)
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return v;
    return fallback;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    if (const Section *s = find(section))
        for (const auto &entry : s->entries)
            if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

int IniFile::intValue(const QString &section, const QString &key, int fallback) const
{
    bool ok = false;
    const int v = value(section, key).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *target = const_cast<Section *>(find(section));
    if (!target) {
        sections_.push_back(Section{section, {}});
        target = &sections_.back();
    }
    for (auto &entry : target->entries)
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    target->entries.emplace_back(key, value);
}

void IniFile::setInt(const QString &section, const QString &key, int value) { setValue(section, key, QString::number(value)); }

} // namespace plavex::storage
