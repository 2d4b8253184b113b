#pragma once

#include "util/Period.h"

#include <QString>

namespace plavex::storage {

class DataModule;
class Settings;

// The questions the backup and restore commands ask before they run.
QString backupQuestion();         // "Сигурни ли сте, че искате да архивирате базата данни?"
QString restoreQuestion();        // "Сигурни ли сте, че искате да възстановите стари данни?"
QString restoreOtherQuestion();   // "Желаете ли да възстановите данните в друга база?"
QString restoreCurrentQuestion(); // "... Текущото състояние ще бъде заличено."

// True when the file holds a database of the engine (recognised by its
// header page, whatever its name): a backup must never be written over one.
bool isDatabaseFile(const QString &path);
// True when both names lead to one file (links and "../" included).
bool sameFile(const QString &a, const QString &b);

// "backup/" + period + "back.gbk" under the program folder; for a database
// on a server, period + "back.gbk" beside the database file on the server
// (the server writes the backup, so the path is the server's).
QString defaultBackupFile(const Settings &settings, const util::Period &period, const QString &databasePath = {});
// Where a backup file lies, as the messages say it: the path, and for a
// database on a server "host:path" (the file is on the server).
QString backupLocation(const QString &file, const QString &databasePath);

// The engine's backup of the database into the file, waited for. The file
// is written under a temporary name and takes its place only when the
// backup succeeded, so a failure never spoils an older backup of that name.
// Throws fb::Error.
void backupDatabase(const QString &file, const QString &databasePath, const QString &user, const QString &password);

// Backs up the open company database (it stays open). False after the
// message "Грешка при архивиране на базата данни." with the reason; a file
// that is a database, or a folder, is refused before anything is written.
bool backupCurrent(DataModule &data, const QString &file);

// Restores the backup over the open company database: the backup is first
// restored into a new file beside it, so a damaged backup leaves the
// current database as it was; only then is the database closed, replaced
// and reopened on its current period. Refused while another program works
// on the database. False after the message.
bool restoreOverCurrent(DataModule &data, const QString &file);

// Restores the backup into another database file, which must not exist;
// the company database stays open and unchanged. The restore is written
// under a temporary name beside the target and takes the target's name
// only when complete, so a killed or failed restore never leaves a file
// that opens as a company. False after the message.
bool restoreInto(DataModule &data, const QString &file, const QString &target);

} // namespace plavex::storage
