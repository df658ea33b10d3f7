// One album table as a Qt item model, for the windows' list views: headings from the table's
// description, cells as text, refreshed whenever the document says the table changed. Read-only: windows
// change the album through document operations.
#pragma once

#include "core/AlbumDocument.h"
#include "core/TableSchema.h"

#include <QAbstractTableModel>

namespace lumiset {

class AlbumTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    AlbumTableModel(const AlbumDocument& document, TableId table, QObject* parent = nullptr);

    TableId tableId() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const Table& table() const { return document_.album().table(table_); }

    const AlbumDocument& document_;
    TableId table_;
};

} // namespace lumiset
