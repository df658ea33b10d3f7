// Text output of the command line: UTF-8 on stdout and stderr.
#pragma once

#include "core/Table.h"

#include <QString>

namespace lumiset::app {

void printLine(const QString& line);
void printError(const QString& line);
// "# <table name>", then one line per row, cells separated by tabs, column 0 first.
void printTable(const Table& table);

} // namespace lumiset::app
