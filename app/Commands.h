// Headless subcommands of the lumiset executable. Each takes the arguments after its name, prints
// its result on stdout, and returns the exit status; errors are thrown as lumiset::Error.
#pragma once

#include <QStringList>

namespace lumiset::app {

int runCatalogueCommand(const QStringList& args);
int runPreviewTemplateCommand(const QStringList& args);
int runAlbumCommand(const QStringList& args);
int runPreviewEffectsCommand(const QStringList& args);
int runProduceCommand(const QStringList& args);

} // namespace lumiset::app
