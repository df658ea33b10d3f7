#include "app/TextOutput.h"

#include <cstdio>

namespace lumiset::app {

void printLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void printError(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

void printTable(const Table& table) {
    printLine(QStringLiteral("# ") + table.name());
    for (const QStringList& row : table.rows())
        printLine(row.join(u'\t'));
}

} // namespace lumiset::app
