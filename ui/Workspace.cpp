#include "ui/Workspace.h"

namespace lumiset::ui {

Workspace::Workspace(DataPaths dataPaths, TemplateCatalogue loaded)
    : paths(std::move(dataPaths)), catalogue(std::move(loaded)), document(catalogue.catalogue().rowCount()),
      session(document), effects(paths), textEffects(catalogue, effects, random),
      pictureEffects(catalogue, effects, random),
      importJobs(catalogue, paths, random,
                 AfterImportEffects{
                     [this](Album& album, const Job& job) { return textEffects.runHidden(album, &job); },
                     [this](Album& album, const Job& job) { return pictureEffects.runHidden(album, &job); }}),
      thumbnails() {}

} // namespace lumiset::ui
