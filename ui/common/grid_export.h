#pragma once

#include "table_export.h"

struct AppContext;
class QPushButton;
class QTableView;
class QWidget;

// A model's value for a cell when it is written to a spreadsheet, where the
// shown text is not it: a QDate for an era date, a number for a count. Left
// empty, the shown text decides (table_export::valueOfShownText).
inline constexpr int kSpreadsheetValueRole = 0x0100 + 40; // Qt::UserRole + 40

namespace grid_export {

// The grid as shown: its visible columns in their visual order, their
// headers (when the grid shows a header), every row.
ExportTable tableOf(const QTableView* grid, const QString& title);

// Writes the grid to `path`, a workbook for ".xlsx" and CSV otherwise. A
// failure is told to the user, naming the file; false then.
bool writeTo(AppContext& context, const QTableView* grid, const QString& title, const QString& path);
// Several tables: one sheet each, or one after another in a CSV.
bool writeTo(AppContext& context, const std::vector<ExportTable>& tables, const QString& path);

// Asks where (starting in the data folder, a name from `title`) and writes.
void ask(AppContext& context, QWidget* parent, const QTableView* grid, const QString& title);
void ask(AppContext& context, QWidget* parent, const std::vector<ExportTable>& tables, const QString& title);

// The list window's 表計算 button (B_SHEET): asks, then writes `grid` under
// the window's caption.
QPushButton* makeExportButton(AppContext& context, QWidget* window, const QTableView* grid);

} // namespace grid_export
