#pragma once

#include <QString>

#include <array>
#include <optional>

namespace plavex::storage {
class DataModule;
}

namespace plavex::items {

// One item definition as a chart file gives it, already in the program's
// terms: item type, not the old type number, and the ten-character flags.
struct DefinitionLine {
    int code = 0;
    int type = 0;
    QString name;
    QString flags;
};

// The chart of item definitions in the older release's text format
// ("DATA3.TXT"): per line the code, a blank, then comma-separated the name,
// the old type number and four flag words ("да" is yes, anything else no),
// in the DOS Cyrillic code page. The same reader seeds a new database from
// "noms/DATA3.TXT" and takes over an older release's chart.
class DefinitionReader {
public:
    explicit DefinitionReader(storage::DataModule &data);

    // Inserts the three standard definitions when missing, then every
    // definition of the file whose code the table lacks. A missing file adds
    // nothing and says nothing; a malformed line is reported with the file
    // and line number and skipped (counted in faults when given). Returns the
    // number of definitions of the file inserted.
    int read(const QString &path, const QString &table, int *faults = nullptr);

    // The item type of an old type number: the old numbering put the totals
    // and most deductions 100 lower.
    static int typeFromOld(int oldType);

    // The four flag words of a line as "1"/"0", then zeros to ten places;
    // a contribution (type 139) takes its fund flags from its name as well.
    static QString flagsFor(int type, const QString &name, const std::array<bool, 4> &words);

    // One line, already converted to Unicode. Nothing with an empty fault
    // for a line that carries no definition (blank, code 0, blank name);
    // nothing with the fault in Bulgarian for a malformed one.
    static std::optional<DefinitionLine> parseLine(const QString &line, QString &fault);

private:
    storage::DataModule &data_;
};

// What a new database's definitions start with: the chart the program ships,
// "noms/DATA3.TXT" of the program folder. Handed to the data module. A chart
// that cannot be read whole throws storage::ServiceFileError.
void seedChart(storage::DataModule &data, const QString &table);

} // namespace plavex::items
