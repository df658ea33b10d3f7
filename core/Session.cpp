#include "core/Session.h"

#include "core/Words.h"

namespace lumiset {

Session::Session(AlbumDocument& document, QObject* parent)
    : QObject(parent), photoRows_(document.album().photos.rowCount()) {
    connect(&document, &AlbumDocument::tablesChanged, this, [this, &document](TableSet tables) {
        if (!tables.contains(TableId::Photos))
            return;
        const int rows = document.album().photos.rowCount();
        const bool rowsWent = rows < photoRows_;
        photoRows_ = rows;
        if (rowsWent && selectedPhotoRow() >= 0)
            selectPhotoRow(-1);
    });
}

bool Session::isPlaying() const {
    return state.Edit_tuichu == Words::Playing;
}

int Session::selectedPhotoRow() const {
    bool ok = false;
    const int row = state.Edit_hangshu.toInt(&ok);
    return ok && row >= 0 ? row : -1;
}

void Session::selectPhotoRow(int row) {
    const QString word = row >= 0 ? QString::number(row) : Words::None;
    if (word == state.Edit_hangshu)
        return;
    state.Edit_hangshu = word;
    emit selectionChanged();
}

} // namespace lumiset
