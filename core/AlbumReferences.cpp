#include "core/AlbumReferences.h"

#include "core/Error.h"

#include <algorithm>
#include <vector>

namespace lumiset {

namespace {

// The row index a reference cell names, or -1 when it names none.
int referencedRow(const QString& text) {
    bool ok = false;
    const int row = text.toInt(&ok);
    return ok && row >= 0 ? row : -1;
}

void renumberOrdinals(Table& table, const TableSchema& schema) {
    for (int c = 0; c < schema.columns.size(); ++c)
        if (schema.columns[c].kind == ColumnKind::Ordinal)
            for (int r = 0; r < table.rowCount(); ++r)
                table.setCell(r, c, QString::number(r + 1));
}

void removeRows(Album& album, TableId id, QList<int> rows);

} // namespace

void RemoveRows(Album& album, TableId id, QList<int> rows) {
    const TableSchema& schema = SchemaOf(id);
    if (schema.rowsFollow)
        throw Error(
            QStringLiteral("表 %1 的行随表 %2 的行删除").arg(schema.name, SchemaOf(*schema.rowsFollow).name));
    removeRows(album, id, std::move(rows));
}

namespace {

void removeRows(Album& album, TableId id, QList<int> rows) {
    Table& target = album.table(id);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return;
    if (rows.front() < 0 || rows.back() >= target.rowCount())
        throw Error(QStringLiteral("表 %1 没有第 %2 行")
                        .arg(target.name())
                        .arg((rows.front() < 0 ? rows.front() : rows.back()) + 1));

    // Where each surviving row goes; -1 for a removed one.
    std::vector<int> newIndex(target.rowCount());
    auto next = rows.cbegin();
    for (int r = 0, kept = 0; r < target.rowCount(); ++r) {
        if (next != rows.cend() && *next == r) {
            newIndex[r] = -1;
            ++next;
        } else {
            newIndex[r] = kept++;
        }
    }
    target.removeRows(rows);
    renumberOrdinals(target, SchemaOf(id));

    for (const TableSchema& schema : AlbumTableSchemas()) {
        if (schema.derived)
            continue; // rebuilt from the tables they follow from
        if (schema.rowsFollow == id) {
            removeRows(album, schema.id, rows);
            continue;
        }
        Table& referring = album.table(schema.id);
        QList<int> orphans;
        for (int c = 0; c < schema.columns.size(); ++c) {
            const ColumnSchema& column = schema.columns[c];
            if (column.kind != ColumnKind::RowReference || column.refersTo != id)
                continue;
            for (int r = 0; r < referring.rowCount(); ++r) {
                const int old = referencedRow(referring.cell(r, c));
                if (old < 0 || old >= int(newIndex.size()))
                    continue;
                if (newIndex[old] >= 0) {
                    if (newIndex[old] != old)
                        referring.setCell(r, c, QString::number(newIndex[old]));
                } else if (column.onTargetRemoved == OnTargetRemoved::RemoveRow) {
                    orphans.append(r);
                } else {
                    referring.setCell(r, c, QString());
                }
            }
        }
        removeRows(album, schema.id, orphans);
    }
}

} // namespace

QStringList AlbumProblems(const Album& album, int catalogueSize) {
    QStringList problems;
    for (const TableSchema& schema : AlbumTableSchemas()) {
        const Table& table = album.table(schema.id);
        if (schema.rowsFollow) {
            const Table& leader = album.table(*schema.rowsFollow);
            if (table.rowCount() != leader.rowCount())
                problems.append(QStringLiteral("表 %1 有 %2 行, 但表 %3 有 %4 行")
                                    .arg(table.name())
                                    .arg(table.rowCount())
                                    .arg(leader.name())
                                    .arg(leader.rowCount()));
        }
        for (int c = 0; c < schema.columns.size(); ++c) {
            const ColumnSchema& column = schema.columns[c];
            for (int r = 0; r < table.rowCount(); ++r) {
                const QString& text = table.cell(r, c);
                if (column.kind == ColumnKind::RowReference) {
                    if (text.isEmpty() && column.emptyAllowed)
                        continue;
                    const int row = referencedRow(text);
                    const Table& target = album.table(*column.refersTo);
                    if (row < 0 || row >= target.rowCount())
                        problems.append(QStringLiteral("表 %1 第 %2 行第 %3 列引用了不存在的 %4 行“%5”")
                                            .arg(table.name())
                                            .arg(r + 1)
                                            .arg(c)
                                            .arg(target.name(), text));
                } else if (column.kind == ColumnKind::TemplateNumber) {
                    const int n = referencedRow(text);
                    if (n < 0 || (catalogueSize >= 0 && n >= catalogueSize))
                        problems.append(QStringLiteral("表 %1 第 %2 行的模板编号“%3”无效")
                                            .arg(table.name())
                                            .arg(r + 1)
                                            .arg(text));
                }
            }
        }
    }
    return problems;
}

} // namespace lumiset
