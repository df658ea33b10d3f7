// What every window of one run shares: the data folder, the template catalogue loaded at start, the album
// document and the session, and the operations built on them. Made once, after the catalogue has loaded,
// and handed to each window by reference (never a global), so tests can make one over a small data folder.
#pragma once
#include "core/AlbumDocument.h"
#include "core/DataPaths.h"
#include "core/Random.h"
#include "core/Session.h"
#include "core/TemplateCatalogue.h"
#include "effects/AutomaticPictureEffects.h"
#include "effects/AutomaticTextEffects.h"
#include "effects/EffectLibrary.h"
#include "photos/ImportJobs.h"
#include "photos/ThumbnailLoader.h"

namespace lumiset::ui {

class Workspace {
public:
    Workspace(DataPaths paths, TemplateCatalogue catalogue);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const DataPaths paths;
    const TemplateCatalogue catalogue;
    AlbumDocument document;
    Session session;
    // Shared by the jobs; they run one at a time, so the engine is never used by two threads at once.
    SystemRandom random;
    const EffectLibrary effects;
    const AutomaticTextEffects textEffects;
    const AutomaticPictureEffects pictureEffects;
    const PhotoImportJobs importJobs;
    const ThumbnailLoader thumbnails;
};

} // namespace lumiset::ui
