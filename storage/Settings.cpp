#include "storage/Settings.h"

#include <QDir>

namespace plavex::storage {

namespace {

const QString kParams = QStringLiteral("PARAMETERS");
const QString kZveno = QStringLiteral("ZVENO");
const QString kDefaultUser = QStringLiteral("DORVA");
const QString kDefaultPassword = QStringLiteral("tazmo");
constexpr int kDefaultUnitDigits = 2;
constexpr int kMaxUnitDigits = 9; // 10^9 still fits an employee number

} // namespace

Settings::Settings(const QString &programDir)
{
    programDir_ = QDir::cleanPath(QDir(programDir).absolutePath());
    if (!programDir_.endsWith(QLatin1Char('/')))
        programDir_ += QLatin1Char('/');
    database = defaultDatabase(programDir_);
    user = kDefaultUser;
    password = kDefaultPassword;
    lastDate = util::Period::today();
}

namespace {
QString overridden(const std::optional<QString> &commandLine, const char *variable, const QString &file)
{
    if (commandLine)
        return *commandLine;
    if (qEnvironmentVariableIsSet(variable))
        return qEnvironmentVariable(variable);
    return file;
}
} // namespace

QString Settings::serverUser() const { return overridden(commandLineUser, "ISC_USER", user); }
QString Settings::serverPassword() const { return overridden(commandLinePassword, "ISC_PASSWORD", password); }

QString Settings::iniPath() const { return programDir_ + QStringLiteral("Plavex.ini"); }

QString Settings::nomsDir() const { return programDir_ + QStringLiteral("noms/"); }

QString Settings::defaultDatabase(const QString &programDir)
{
    QString dir = programDir;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + QStringLiteral("database/plavex.gdb");
}

void Settings::read()
{
    ini_.load(iniPath());
    auto text = [&](const QString &key, const QString &fallback) {
        const QString v = ini_.value(kParams, key).trimmed();
        return v.isEmpty() ? fallback : v;
    };
    database = text(QStringLiteral("DATABASE"), defaultDatabase(programDir_));
    user = text(QStringLiteral("USER"), kDefaultUser);
    password = text(QStringLiteral("PASSWORD"), kDefaultPassword);
    lastDate = util::Period::fromText(ini_.value(kParams, QStringLiteral("LASTDATE"))).value_or(util::Period::today());
    const int digits = ini_.intValue(kZveno, QStringLiteral("ZVENOCIFRI"), kDefaultUnitDigits);
    unitDigits = (digits >= 0 && digits <= kMaxUnitDigits) ? digits : kDefaultUnitDigits;
}

bool Settings::save()
{
    ini_.setValue(kParams, QStringLiteral("DATABASE"), database);
    ini_.setValue(kParams, QStringLiteral("USER"), user);
    ini_.setValue(kParams, QStringLiteral("PASSWORD"), password);
    ini_.setValue(kParams, QStringLiteral("LASTDATE"), lastDate.text());
    ini_.setInt(kZveno, QStringLiteral("ZVENOCIFRI"), unitDigits);
    return ini_.save(iniPath());
}

int Settings::unitDivisor() const
{
    int divisor = 1;
    for (int i = 0; i < unitDigits; ++i)
        divisor *= 10;
    return divisor;
}

} // namespace plavex::storage
