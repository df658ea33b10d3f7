#include "core/Table.h"

#include "core/Error.h"

#include <algorithm>

namespace lumiset {

QStringList Table::padded(QStringList cells) const {
    if (cells.size() > columns_)
        throw Error(QStringLiteral("表 %1 只有 %2 列, 但新行有 %3 个单元格")
                        .arg(name_)
                        .arg(columns_)
                        .arg(cells.size()));
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

void Table::removeRows(QList<int> rows) {
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QList<QStringList> kept;
    kept.reserve(rows_.size());
    auto next = rows.cbegin();
    for (int r = 0; r < rowCount(); ++r) {
        while (next != rows.cend() && *next < r)
            ++next;
        if (next != rows.cend() && *next == r)
            continue;
        kept.append(std::move(rows_[r]));
    }
    rows_ = std::move(kept);
}

void Table::setRows(QList<QStringList> rows) {
    for (qsizetype r = 0; r < rows.size(); ++r)
        if (rows[r].size() != columns_)
            throw Error(QStringLiteral("表 %1 第 %2 行应有 %3 列, 却有 %4 列")
                            .arg(name_)
                            .arg(r + 1)
                            .arg(columns_)
                            .arg(rows[r].size()));
    rows_ = std::move(rows);
}

} // namespace lumiset
