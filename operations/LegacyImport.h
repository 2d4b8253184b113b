#pragma once

#include <QString>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::operations {

enum class ImportResult {
    Imported,
    PartlyImported, // committed, but a file stopped at a bad line (reported)
    Declined,      // the question was answered no: nothing changed
    NothingToRead, // none of the files is in the folder: nothing changed
    Failed,        // said why; the data are as before the import
};

// Takes over the text files of the older release from a folder ("DATA1.TXT"
// company, "DATA6.TXT" units, "DATA2.TXT" calendars, "DATA8.TXT" positions,
// "DATA3.TXT" item definitions, "DATA5.TXT" employees, "DATA5S.TXT" their
// items, "DATA5O.TXT" their earlier months, "DATA15.TXT" towns), in the DOS
// Cyrillic code page. The month of DATA1.TXT becomes the current period;
// a month that holds employees or items is replaced only after the
// question. Its tables and the shared ones are emptied and read anew in one
// unit of work, committed once: a file with a bad line is reported (file,
// line, why) and read no further while the others go on, but an engine
// failure, a cancel or a kill leaves everything as it was.
ImportResult importLegacy(storage::DataModule &data, const QString &folder, util::Prompter &prompter);

// The question asked before a month holding data is replaced.
QString importQuestion();

} // namespace plavex::operations
