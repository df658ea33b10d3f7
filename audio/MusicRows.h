// The rows of the music list (window TForm4 "添加音乐") and of the lyric list with its display settings
// (window TForm5 "添加歌词"): adding files in the order chosen, deleting one or all after asking.
#pragma once

#include "core/JobOutcome.h"

#include "audio/LyricScreen.h"
#include "core/Album.h"
#include "core/Confirm.h"
#include "core/Job.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace lumiset {

// The length of a music file in milliseconds (MusicLengthMilliseconds of media/MusicFile.h); throws
// Error naming the file when it holds no readable sound.
using MusicLengthReader = std::function<qint64(const QString& path)>;

// The file the open dialog offers the first time it opens in a run: `samplePath` when the flag
// (Edit_yinyue_dakai_1ci or Edit_geci_dakai_1ci) still reads "0" and the file exists, else empty. The
// flag reads "1" afterwards.
QString FirstUseSample(QString& openedFlag, const QString& samplePath);

// Appends one music row per file, in the given order: number, name, extension, length "00:MM:SS", path.
// A file whose length cannot be read is left out with a message naming it; the others are added. A stop
// requested through `job` adds nothing.
EditResult AddMusicFiles(Album& album, const QStringList& paths, const MusicLengthReader& lengthOf,
                         const Job* job = nullptr);
// "删除音乐": deletes music row `selectedRow` (-1 when none is selected) after asking.
EditResult DeleteMusic(Album& album, int selectedRow, const Confirm& confirm);
// "全部删除" of the music window.
EditResult DeleteAllMusic(Album& album, const Confirm& confirm);

// The display settings a lyric file starts with (lyric settings columns 4..15).
QStringList DefaultLyricSettings(int previewHeight = kLyricPreviewHeight);

// Appends one lyric row and one lyric settings row per file, in the given order. A file that does not
// exist is left out with a message naming it.
EditResult AddLyricFiles(Album& album, const QStringList& paths, int previewHeight = kLyricPreviewHeight);
// "删除歌词": deletes lyric row `selectedRow` and its settings row after asking.
EditResult DeleteLyrics(Album& album, int selectedRow, const Confirm& confirm);
// "全部删除" of the lyric window.
EditResult DeleteAllLyrics(Album& album, const Confirm& confirm);

} // namespace lumiset
