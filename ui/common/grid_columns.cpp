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

int setColumnWidthsTwips(QTableView* view, const QList<int>& twipsWidths, const QStringList& widestTexts)
{
    int total = 0;
    for (qsizetype c = 0; c < twipsWidths.size(); ++c) {
        setColumnWidthTwips(view, int(c), twipsWidths[c], widestTexts.value(c));
        total += view->columnWidth(int(c));
    }
    return total;
}

void setColumnWidthTwips(QTableView* view, int column, int twipsWidth, const QString& widestText)
{
    const QFontMetrics body(view->font());
    const QFontMetrics header(view->horizontalHeader()->font());
    const QString title = view->model() ? view->model()->headerData(column, Qt::Horizontal).toString() : QString();
    const int needed = std::max(body.horizontalAdvance(widestText), header.horizontalAdvance(title)) + 14;
    view->setColumnWidth(column, std::max(twips::toPixels(twipsWidth), needed));
}
