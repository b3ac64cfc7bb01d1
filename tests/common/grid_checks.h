#pragma once

#include "grid_columns.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStringList>
#include <QStyle>
#include <QTableView>

namespace testenv {
// The text a list shows in a cell, and in a column's header.
template <typename Column>
QString cellText(const QAbstractItemModel* model, int row, Column column)
{
    return model->index(row, int(column)).data().toString();
}

template <typename Column>
QString headerText(const QAbstractItemModel* model, Column column)
{
    return model->headerData(int(column), Qt::Horizontal).toString();
}

// What a list's grid cuts off or shows against its column table: a shown
// column too narrow for its header or for a text it holds, a column shown
// that the table gives no width or hidden that the table shows. Empty when
// the grid shows its rows whole.
inline QStringList cutColumns(const QTableView* grid, const std::vector<ColumnSpec>& columns)
{
    QStringList out;
    const QAbstractItemModel* model = grid->model();
    const QFontMetrics body(grid->font());
    const QFontMetrics head(grid->horizontalHeader()->font());
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    for (int c = 0; c < int(columns.size()); ++c) {
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        const QString name = QStringLiteral("%1 (column %2)").arg(title).arg(c);
        if (columns[size_t(c)].twips == 0) {
            if (!grid->isColumnHidden(c))
                out << name + QStringLiteral(": shown");
            continue;
        }
        if (grid->isColumnHidden(c)) {
            out << name + QStringLiteral(": hidden");
            continue;
        }
        int need = head.horizontalAdvance(title) + margin;
        QString widest = title;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QString text = model->index(r, c).data().toString();
            if (body.horizontalAdvance(text) + margin > need) {
                need = body.horizontalAdvance(text) + margin;
                widest = text;
            }
        }
        if (grid->columnWidth(c) < need)
            out << QStringLiteral("%1: \"%2\" needs %3, has %4").arg(name, widest).arg(need).arg(grid->columnWidth(c));
    }
    return out;
}
} // namespace testenv
