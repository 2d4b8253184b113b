#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "operations/LegacyImport.h"

#include <QFileInfo>

namespace plavex::cli {

namespace {

int importLegacy(CliContext &c)
{
    if (c.args.size() != 1)
        return c.fail(QStringLiteral("Употреба: plavex-cli import-legacy ПАПКА --yes"));
    const QFileInfo folder(c.args.first());
    if (!folder.isDir())
        return c.fail(QStringLiteral("Папката %1 не съществува.").arg(c.args.first()));
    if (!c.openDatabase(false))
        return 1;
    c.prompter.showProgress = true;
    switch (operations::importLegacy(*c.data, folder.absoluteFilePath(), c.prompter)) {
    case operations::ImportResult::Imported:
        c.out << c.data->period().text() << Qt::endl;
        return 0;
    case operations::ImportResult::PartlyImported:
        // Kept, but not all of it: a script must not take it for a full import.
        c.out << c.data->period().text() << Qt::endl;
        return 3;
    default:
        return 1;
    }
}

} // namespace

std::vector<Command> importCommands()
{
    return {{QStringLiteral("import-legacy"), QStringLiteral("import-legacy ПАПКА --yes"), importLegacy}};
}

} // namespace plavex::cli
