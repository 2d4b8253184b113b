#include "tests/support/TestDatabase.h"

#include "items/DefinitionReader.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace plavex::test {

TempProgramDir::TempProgramDir()
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary directory");
    QDir(dir_.path()).mkpath(QStringLiteral("noms"));
}

QString TempProgramDir::path() const { return dir_.path() + QLatin1Char('/'); }

QString TempProgramDir::databasePath() const { return path() + QStringLiteral("database/plavex.gdb"); }

void TempProgramDir::writeNom(const QString &name, const QStringList &lines) const
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += util::toCp1251(line) + "\r\n";
    writeFile(QStringLiteral("noms/") + name, bytes);
}

void TempProgramDir::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString file = path() + relative;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + file.toStdString());
}

TestDatabase::TestDatabase(const util::Period &period) : settings(dir.path())
{
    settings.lastDate = period;
}

TestDatabase::~TestDatabase() = default;

bool TestDatabase::open()
{
    data = std::make_unique<storage::DataModule>(settings, prompter, items::seedChart);
    if (!data->connectToDatabase(settings.database, settings.user, settings.password))
        return false;
    data->openPeriod(data->period());
    return true;
}

void TestDatabase::reopen()
{
    data.reset();
    open();
}

qint64 TestDatabase::scalar(const QString &sql, const QVariantList &values)
{
    return fb::Statement::scalar(data->transaction(), sql, values).toLongLong();
}

} // namespace plavex::test
