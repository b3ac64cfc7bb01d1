#include "grid_columns.h"

#include "window_position.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

void setUpRowGrid(QTableView* view, QAbstractItemView::SelectionMode selection)
{
    view->setObjectName(QStringLiteral("GRID1"));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(selection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
}

int applyColumns(QTableView* view, std::span<const ColumnSpec> columns, int first)
{
    const QFontMetrics body(view->font());
    const QFontMetrics header(view->horizontalHeader()->font());
    int total = 0;
    for (int c = first; c < int(columns.size()); ++c) {
        const ColumnSpec& shown = columns[size_t(c)];
        if (shown.twips == 0) {
            view->setColumnHidden(c, true);
            continue;
        }
        view->setColumnHidden(c, false);
        const QString title = view->model() ? view->model()->headerData(c, Qt::Horizontal).toString() : QString();
        const int needed =
            std::max(body.horizontalAdvance(shown.widest.toString()), header.horizontalAdvance(title)) + 14;
        view->setColumnWidth(c, std::max(twips::toPixels(shown.twips), needed));
        total += view->columnWidth(c);
    }
    return total;
}

ColumnSpec ColumnTableModel::column(int column) const
{
    return column >= 0 && size_t(column) < m_columns.size() ? m_columns[size_t(column)] : ColumnSpec{};
}

std::vector<ColumnSpec> ColumnTableModel::columns() const
{
    std::vector<ColumnSpec> out;
    out.reserve(m_columns.size());
    for (size_t c = 0; c < m_columns.size(); ++c)
        out.push_back(column(int(c)));
    return out;
}

void ColumnTableModel::redrawAll()
{
    const int last = int(m_columns.size()) - 1;
    emit headerDataChanged(Qt::Horizontal, 0, last);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, last));
}

int ColumnTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ColumnTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || size_t(section) >= m_columns.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole)
        return column(section).header.toString();
    return {};
}
