// Removing what a run leaves in the work folders, at start and at exit.
#pragma once

#include "core/DataPaths.h"
#include "core/Job.h"

namespace lumiset {

// Removes every folder of paths.workFoldersToClear() with all it holds and every file of
// paths.workFilesToClear() that exists. Reports (entries removed, entries in all) through `control` once
// before the first entry and after every entry, ending at (all, all); the count is taken before anything
// is removed, so entries that appear meanwhile never push the position past the maximum.
// An entry that cannot be removed does not keep the others: the rest are removed first, then Error is
// thrown for the first one that failed.
void ClearWorkFiles(const DataPaths& paths, const Job& control);

} // namespace lumiset
