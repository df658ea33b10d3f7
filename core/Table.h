// A table of the album or the catalogue: rows of text cells addressed by column number, as the
// program's tables have always been (every value is text; numbers are decimal text).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lumiset {

class Table {
public:
    Table(QString name, int columns) : name_(std::move(name)), columns_(columns) {}

    const QString& name() const { return name_; }
    int columnCount() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }

    // Appends a row; missing trailing cells are empty. A row with more cells than the table has columns
    // throws Error naming the table, in every build: a shifted row would misread every later column.
    int appendRow(QStringList cells = {});
    void insertRow(int row, QStringList cells = {});
    void removeRow(int row);
    // Removes the rows whose indices `rows` holds (any order, duplicates allowed) in one pass.
    void removeRows(QList<int> rows);
    void clear() { rows_.clear(); }

    const QString& cell(int row, int column) const { return rows_.at(row).at(column); }
    void setCell(int row, int column, const QString& value) { rows_[row][column] = value; }
    const QStringList& row(int row) const { return rows_.at(row); }
    const QList<QStringList>& rows() const { return rows_; }

    // Replaces every row; each must have exactly columnCount() cells (Error naming the table otherwise).
    void setRows(QList<QStringList> rows);

    bool operator==(const Table& other) const = default;

private:
    QStringList padded(QStringList cells) const;

    QString name_;
    int columns_;
    QList<QStringList> rows_;
};

// A table whose cells are addressed by the column constants of one table only (core/Columns.h): a column
// of another table, or a bare number, does not compile. Generic code reaches the cells through Table.
template <typename ColumnOfTable> class TableOf : public Table {
public:
    using Table::Table;
    explicit TableOf(Table table) : Table(std::move(table)) {}

    const QString& cell(int row, ColumnOfTable column) const { return Table::cell(row, column); }
    void setCell(int row, ColumnOfTable column, const QString& value) { Table::setCell(row, column, value); }
    template <typename Other> const QString& cell(int row, Other column) const = delete;
    template <typename Other> void setCell(int row, Other column, const QString& value) = delete;
};

} // namespace lumiset
