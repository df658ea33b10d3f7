// Long jobs on the command line: the same runner the windows use, with a progress line on stderr.
#pragma once

#include "core/JobOutcome.h"

namespace lumiset::app {

// Runs `job` on `album` on the job runner, printing progress and the outcome's messages on stderr;
// Ctrl-C stops it. Returns the new album (or `album` when the job changed nothing); throws Error when the
// job failed or was stopped.
Album RunJobWithProgress(const Album& album, const AlbumJob& job);

} // namespace lumiset::app
