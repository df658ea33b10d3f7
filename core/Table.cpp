#include "core/Table.h"

namespace lumiset {

QStringList Table::padded(QStringList cells) const {
    Q_ASSERT_X(cells.size() <= columns_, "Table", qPrintable(name_));
    while (cells.size() < columns_)
        cells.append(QString());
    return cells;
}

int Table::appendRow(QStringList cells) {
    rows_.append(padded(std::move(cells)));
    return rowCount() - 1;
}

void Table::insertRow(int row, QStringList cells) {
    rows_.insert(row, padded(std::move(cells)));
}

void Table::removeRow(int row) {
    rows_.removeAt(row);
}

void Table::setRows(QList<QStringList> rows) {
    for (const QStringList& r : rows)
        Q_ASSERT_X(r.size() == columns_, "Table::setRows", qPrintable(name_));
    rows_ = std::move(rows);
}

} // namespace lumiset
