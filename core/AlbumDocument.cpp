#include "core/AlbumDocument.h"

#include "core/AlbumFile.h"

#include <QFileInfo>
#include <QUndoCommand>

namespace lumiset {

namespace {

TableSet changedTables(const Album& before, const Album& after) {
    TableSet changed;
    for (const TableSchema& schema : AlbumTableSchemas())
        if (after.table(schema.id) != before.table(schema.id))
            changed.insert(schema.id);
    return changed;
}

bool sameChoices(const Album& a, const Album& b) {
    return a.settings == b.settings && a.facts == b.facts;
}

} // namespace

class AlbumStep : public QUndoCommand {
public:
    AlbumStep(AlbumDocument& document, const QString& text, Album before, Album after)
        : QUndoCommand(text), document_(document), before_(std::move(before)), after_(std::move(after)) {}
    void redo() override { document_.install(after_); }
    void undo() override { document_.install(before_); }

private:
    AlbumDocument& document_;
    Album before_;
    Album after_;
};

AlbumDocument::AlbumDocument(int catalogueSize, QObject* parent)
    : QObject(parent), catalogueSize_(catalogueSize) {
    qRegisterMetaType<lumiset::TableSet>();
    connect(&undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

TableSet AlbumDocument::apply(const QString& text, Album next) {
    next.refreshDerived();
    const TableSet changed = changedTables(album_, next);
    if (changed.isEmpty() && sameChoices(album_, next))
        return {};
    undoStack_.push(new AlbumStep(*this, text, album_, std::move(next)));
    return changed;
}

TableSet AlbumDocument::applyOutcome(const QString& text, const JobOutcome& outcome) {
    if (!outcome.isDone() || !outcome.album)
        return {};
    return apply(text, *outcome.album);
}

void AlbumDocument::install(Album album) {
    const TableSet changed = changedTables(album_, album);
    const bool settings = !sameChoices(album_, album);
    album_ = std::move(album);
    if (!changed.isEmpty())
        emit tablesChanged(changed);
    if (settings)
        emit settingsChanged();
}

QString AlbumDocument::displayName() const {
    return filePath_.isEmpty() ? QStringLiteral("未命名相册") : QFileInfo(filePath_).fileName();
}

void AlbumDocument::replaceWithoutHistory(Album album, const QString& path) {
    album.refreshDerived();
    undoStack_.clear();
    install(std::move(album));
    if (path != filePath_) {
        filePath_ = path;
        emit filePathChanged(filePath_);
    }
    undoStack_.setClean();
    emit modifiedChanged(false);
}

void AlbumDocument::newAlbum() {
    replaceWithoutHistory(Album(), QString());
}

void AlbumDocument::open(const QString& path) {
    Album opened = OpenAlbum(path, catalogueSize_);
    replaceWithoutHistory(std::move(opened), QFileInfo(path).absoluteFilePath());
}

void AlbumDocument::save() {
    if (filePath_.isEmpty())
        throw Error(QStringLiteral("相册还没有文件名, 请用“另存文件”"));
    saveAs(filePath_);
}

void AlbumDocument::saveAs(const QString& path) {
    SaveAlbum(album_, path);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (absolute != filePath_) {
        filePath_ = absolute;
        emit filePathChanged(filePath_);
    }
    undoStack_.setClean();
}

} // namespace lumiset
