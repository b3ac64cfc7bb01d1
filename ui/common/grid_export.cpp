#include "grid_export.h"

#include "app_context.h"
#include "widgets.h"
#include "xlsx_writer.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace grid_export {

ExportTable tableOf(const QTableView* grid, const QString& title)
{
    ExportTable table;
    table.title = title;
    const QAbstractItemModel* model = grid->model();
    if (!model)
        return table;
    const QHeaderView* header = grid->horizontalHeader();
    std::vector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int c = header->logicalIndex(visual);
        if (c >= 0 && !grid->isColumnHidden(c))
            columns.push_back(c);
    }
    for (int c : columns)
        if (!header->isHidden())
            table.headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    const int rows = model->rowCount();
    table.rows.reserve(size_t(rows));
    for (int r = 0; r < rows; ++r) {
        std::vector<QVariant> row;
        row.reserve(columns.size());
        for (int c : columns) {
            const QModelIndex index = model->index(r, c);
            const QVariant value = model->data(index, kSpreadsheetValueRole);
            row.push_back(value.isValid() ? value : table_export::valueOfShownText(model->data(index).toString()));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

bool writeTo(AppContext& context, const QTableView* grid, const QString& title, const QString& path)
{
    return writeTo(context, std::vector<ExportTable>{tableOf(grid, title)}, path);
}

bool writeTo(AppContext& context, const std::vector<ExportTable>& tables, const QString& path)
{
    QString error;
    // One table goes to a CSV as it is; several each under their title.
    const bool ok = path.endsWith(u".xlsx"_s, Qt::CaseInsensitive) ? table_export::writeXlsx(tables, path, &error)
                    : tables.size() == 1                           ? table_export::writeCsv(tables[0], path, &error)
                                                                   : table_export::writeCsv(tables, path, &error);
    if (!ok)
        context.notifier.tell(error, MessageIcon::Warning);
    return ok;
}

void ask(AppContext& context, QWidget* parent, const QTableView* grid, const QString& title)
{
    ask(context, parent, std::vector<ExportTable>{tableOf(grid, title)}, title);
}

void ask(AppContext& context, QWidget* parent, const std::vector<ExportTable>& tables, const QString& title)
{
    const QString folder = context.store.paths.dataFolder.isEmpty() ? QDir::homePath() : context.store.paths.dataFolder;
    QString selected = u"表計算ブック (*.xlsx)"_s;
    QString path =
        QFileDialog::getSaveFileName(parent, u"表計算用に書き出し"_s, QDir(folder).filePath(title + u".xlsx"_s),
                                     u"表計算ブック (*.xlsx);;CSV (*.csv)"_s, &selected);
    if (path.isEmpty())
        return;
    if (!path.endsWith(u".xlsx"_s, Qt::CaseInsensitive) && !path.endsWith(u".csv"_s, Qt::CaseInsensitive))
        path += selected.contains(u"csv"_s) ? u".csv"_s : u".xlsx"_s;
    writeTo(context, tables, path);
}

QPushButton* makeExportButton(AppContext& context, QWidget* window, const QTableView* grid)
{
    QPushButton* sheet = makeButton(u"B_SHEET"_s, u"表計算"_s, window);
    sheet->setToolTip(u"一覧を表示のまま表計算ブック (.xlsx) か CSV に書き出します"_s);
    QObject::connect(sheet, &QPushButton::clicked, window,
                     [&context, window, grid] { ask(context, window, grid, window->windowTitle()); });
    return sheet;
}

} // namespace grid_export
