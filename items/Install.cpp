#include "items/Install.h"

#include "items/DefinitionReader.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"

namespace plavex::items {

void install()
{
    storage::DataModule::setDefinitionSeeder([](storage::DataModule &data, const QString &table) {
        DefinitionReader(data).read(data.settings().nomsDir() + QStringLiteral("DATA3.TXT"), table);
    });
}

} // namespace plavex::items
