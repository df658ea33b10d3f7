#include "audio/MusicRows.h"

#include "core/AlbumReferences.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "media/MusicFile.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace lumiset {

namespace {

// The fixed texts of one list window.
struct ListTexts {
    QString empty;
    QString caption;
    QString askOne;
    QString noSelection;
    QString deletedOne;
    QString askAll;
    QString deletedAll;
};

const ListTexts kMusicTexts{QStringLiteral("没有添加音乐文件！"),
                            QStringLiteral("删除音乐"),
                            QStringLiteral("是否确定要删除当前选中的音乐文件?"),
                            QStringLiteral("没有选中音乐文件！"),
                            QStringLiteral("选中的音乐文件已经删除！"),
                            QStringLiteral("是否确定要删除全部音乐文件?"),
                            QStringLiteral("音乐文件已经全部删除！")};

const ListTexts kLyricTexts{QStringLiteral("没有添加歌词文件！"),
                            QStringLiteral("删除歌词"),
                            QStringLiteral("是否确定要删除当前选中的歌词文件?"),
                            QStringLiteral("没有选中歌词文件！"),
                            QStringLiteral("选中的歌词文件已经删除！"),
                            QStringLiteral("是否确定要删除全部歌词文件?"),
                            QStringLiteral("歌词文件已经全部删除！")};

const QString kAddMusicProgress = QStringLiteral("添加音乐");

// Deletes row `selectedRow` of `id`, or every row when `selectedRow` is nullopt, after asking; the rows
// that follow it (the lyric settings) go too.
EditResult deleteRows(Album& album, TableId id, std::optional<int> selectedRow, const Confirm& confirm,
                      const ListTexts& texts) {
    EditResult result;
    const Table& table = album.table(id);
    if (table.isEmpty()) {
        result.messages.append(texts.empty);
        return result;
    }
    if (!confirm(texts.caption, selectedRow ? texts.askOne : texts.askAll))
        return result;
    if (selectedRow && (*selectedRow < 0 || *selectedRow >= table.rowCount())) {
        result.messages.append(texts.noSelection);
        return result;
    }
    QList<int> rows;
    for (int r = 0; r < table.rowCount(); ++r)
        if (!selectedRow || r == *selectedRow)
            rows.append(r);
    RemoveRows(album, id, rows);
    result.changed = true;
    result.messages.append(selectedRow ? texts.deletedOne : texts.deletedAll);
    return result;
}

} // namespace

QString FirstUseSample(QString& openedFlag, const QString& samplePath) {
    const bool first = openedFlag == QLatin1String("0");
    openedFlag = QStringLiteral("1");
    return first && QFileInfo(samplePath).isFile() ? samplePath : QString();
}

EditResult AddMusicFiles(Album& album, const QStringList& paths, const MusicLengthReader& lengthOf,
                         const Job* job) {
    EditResult result;
    QList<QStringList> rows;
    const int total = static_cast<int>(paths.size());
    for (int i = 0; i < total; ++i) {
        if (job && job->stopRequested())
            return {};
        try {
            const QString length = MusicLengthText(lengthOf(paths[i]));
            const FileNameParts parts = SplitFileName(paths[i]);
            rows.append({QString(), parts.name, parts.extension, length, paths[i]});
        } catch (const Error& e) {
            result.messages.append(e.message());
        }
        if (job)
            job->report(i + 1, total, kAddMusicProgress);
    }
    for (QStringList& row : rows) {
        row[MusicCol::Number] = QString::number(album.music.rowCount() + 1);
        album.music.appendRow(row);
    }
    result.changed = !rows.isEmpty();
    return result;
}

EditResult DeleteMusic(Album& album, int selectedRow, const Confirm& confirm) {
    return deleteRows(album, TableId::Music, selectedRow, confirm, kMusicTexts);
}

EditResult DeleteAllMusic(Album& album, const Confirm& confirm) {
    return deleteRows(album, TableId::Music, std::nullopt, confirm, kMusicTexts);
}

QStringList DefaultLyricSettings(int previewHeight) {
    const QString top = QString::number(previewHeight - previewHeight / 7);
    return {QStringLiteral("moren_xianshi"),
            top,
            QStringLiteral("0"),
            top,
            QStringLiteral("黑体"),
            QStringLiteral("cuti"),
            QStringLiteral("10"),
            QStringLiteral("wu"),
            QStringLiteral("暂时不用"),
            QStringLiteral("clWhite"),
            QStringLiteral("16777215"),
            QStringLiteral("jianti")};
}

EditResult AddLyricFiles(Album& album, const QStringList& paths, int previewHeight) {
    EditResult result;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (!file.isFile()) {
            result.messages.append(
                QStringLiteral("歌词文件“%1”不存在或不是文件, 未添加").arg(QDir::toNativeSeparators(path)));
            continue;
        }
        const QString number = QString::number(album.lyrics.rowCount() + 1);
        const FileNameParts parts = SplitFileName(path);
        const QStringList cells{number, parts.name, parts.extension, path};
        album.lyrics.appendRow(cells);
        album.lyricSettings.appendRow(cells + DefaultLyricSettings(previewHeight));
        result.changed = true;
    }
    return result;
}

EditResult DeleteLyrics(Album& album, int selectedRow, const Confirm& confirm) {
    return deleteRows(album, TableId::Lyrics, selectedRow, confirm, kLyricTexts);
}

EditResult DeleteAllLyrics(Album& album, const Confirm& confirm) {
    return deleteRows(album, TableId::Lyrics, std::nullopt, confirm, kLyricTexts);
}

} // namespace lumiset
