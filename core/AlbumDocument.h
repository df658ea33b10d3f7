// The album document: owns the program's album and is the one way to change it. Every change applies a
// whole new album as one undoable step (copies share their rows, so a step costs little), the derived
// lists are recomputed, and `tablesChanged` says which tables differ. It knows its file and whether the
// album has changes that are not saved.
//
// Threading: lives on the interface thread. Jobs get a copy of album() and hand back an outcome.
#pragma once

#include "core/Album.h"
#include "core/JobOutcome.h"
#include "core/TableSchema.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

namespace lumiset {

class AlbumDocument : public QObject {
    Q_OBJECT
public:
    // `catalogueSize` (>= 0) makes open() check the template numbers of a file against the catalogue.
    explicit AlbumDocument(int catalogueSize = -1, QObject* parent = nullptr);

    const Album& album() const { return album_; }

    // Makes `next` the album as one undoable step called `text` and returns the tables that changed.
    // Nothing changes (and no step is recorded) when `next` equals the album.
    TableSet apply(const QString& text, Album next);
    // Runs `change` on a copy of the album and applies the result; when `change` throws, the album stays
    // as it was and the exception goes on to the caller.
    template <typename Change> TableSet modify(const QString& text, Change&& change) {
        Album next = album_;
        change(next);
        return apply(text, std::move(next));
    }
    // Applies a job's album when the job completed with one; otherwise nothing changes.
    TableSet applyOutcome(const QString& text, const JobOutcome& outcome);

    QUndoStack& undoStack() { return undoStack_; }
    void undo() { undoStack_.undo(); }
    void redo() { undoStack_.redo(); }

    const QString& filePath() const { return filePath_; }
    // The file's name for a window title, or "未命名相册" before the album has a file.
    QString displayName() const;
    bool isModified() const { return !undoStack_.isClean(); }

    // An empty album without a file.
    void newAlbum();
    // Replaces the album with the file's; throws Error saying why, leaving the album and its file as they
    // were. Opening cannot be undone (the history starts again).
    void open(const QString& path);
    // Saves to the album's file (Error without one) or to `path`, which becomes the album's file.
    void save();
    void saveAs(const QString& path);

signals:
    void tablesChanged(lumiset::TableSet tables);
    void settingsChanged();
    void modifiedChanged(bool modified);
    void filePathChanged(const QString& path);

private:
    friend class AlbumStep;
    // Makes `album` current (derived lists already fresh) and says what changed.
    void install(Album album);
    void replaceWithoutHistory(Album album, const QString& path);

    Album album_;
    QUndoStack undoStack_;
    QString filePath_;
    int catalogueSize_;
};

} // namespace lumiset

Q_DECLARE_METATYPE(lumiset::TableSet)
