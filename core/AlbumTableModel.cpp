#include "core/AlbumTableModel.h"

namespace lumiset {

AlbumTableModel::AlbumTableModel(const AlbumDocument& document, TableId table, QObject* parent)
    : QAbstractTableModel(parent), document_(document), table_(table) {
    // The document replaces whole albums, so a reset is the honest signal (and cheap for list views).
    connect(&document, &AlbumDocument::tablesChanged, this, [this](TableSet tables) {
        if (tables.contains(table_)) {
            beginResetModel();
            endResetModel();
        }
    });
}

int AlbumTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table().rowCount();
}

int AlbumTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table().columnCount();
}

QVariant AlbumTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= table().rowCount() || index.column() >= table().columnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return table().cell(index.row(), index.column());
    return {};
}

QVariant AlbumTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const auto& columns = SchemaOf(table_).columns;
    return section >= 0 && section < columns.size() ? QVariant(columns[section].heading) : QVariant();
}

} // namespace lumiset
