#pragma once

#include "table_export.h"

namespace table_export {

// An .xlsx workbook of one sheet: the headers in bold on the first row,
// frozen; numbers as numbers, dates as dates (yyyy/mm/dd), texts as texts.
// Written beside `path` and renamed over it like every other file.
bool writeXlsx(const ExportTable& table, const QString& path, QString* error);
// One sheet per table, in that order.
bool writeXlsx(const std::vector<ExportTable>& tables, const QString& path, QString* error);

} // namespace table_export
