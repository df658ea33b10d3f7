// lumiset catalogue: the template catalogue of the data folder beside the executable, as text.
#include "app/Commands.h"
#include "app/TextOutput.h"

#include "core/Error.h"
#include "core/TemplateCatalogue.h"

namespace lumiset::app {

int runCatalogueCommand(const QStringList& args) {
    if (!args.isEmpty())
        throw Error(QStringLiteral("catalogue takes no arguments"));
    const TemplateCatalogue catalogue = TemplateCatalogue::build(DataPaths::forRunningProgram());
    for (const Table* table : {&catalogue.catalogue(), &catalogue.landscapeList(), &catalogue.portraitList(),
                               &catalogue.advancedList(), &catalogue.templateList()})
        printTable(*table);
    return 0;
}

} // namespace lumiset::app
