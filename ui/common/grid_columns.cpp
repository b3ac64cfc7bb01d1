#include "grid_columns.h"

#include "window_position.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

void setColumnWidthTwips(QTableView* view, int column, int twipsWidth, const QString& widestText)
{
    const QFontMetrics body(view->font());
    const QFontMetrics header(view->horizontalHeader()->font());
    const QString title = view->model() ? view->model()->headerData(column, Qt::Horizontal).toString() : QString();
    const int needed = std::max(body.horizontalAdvance(widestText), header.horizontalAdvance(title)) + 14;
    view->setColumnWidth(column, std::max(twips::toPixels(twipsWidth), needed));
}
