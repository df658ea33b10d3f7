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

    // Appends a row; missing trailing cells are empty, extra cells are an error (asserted).
    int appendRow(QStringList cells = {});
    void insertRow(int row, QStringList cells = {});
    void removeRow(int row);
    void clear() { rows_.clear(); }

    const QString& cell(int row, int column) const { return rows_.at(row).at(column); }
    void setCell(int row, int column, const QString& value) { rows_[row][column] = value; }
    const QStringList& row(int row) const { return rows_.at(row); }
    const QList<QStringList>& rows() const { return rows_; }

    // Replaces every row; each must have exactly columnCount() cells.
    void setRows(QList<QStringList> rows);

    bool operator==(const Table& other) const = default;

private:
    QStringList padded(QStringList cells) const;

    QString name_;
    int columns_;
    QList<QStringList> rows_;
};

} // namespace lumiset
