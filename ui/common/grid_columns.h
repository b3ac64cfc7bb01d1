#pragma once

#include <QString>

#include <QAbstractItemView>
#include <QStringList>

class QTableView;

// A read-only grid of whole rows, named GRID1 as every list's grid is, with
// the compact row height the lists use.
void setUpRowGrid(QTableView* view, QAbstractItemView::SelectionMode selection);

// Sets the columns to their designed widths (see below); the total width.
int setColumnWidthsTwips(QTableView* view, const QList<int>& twipsWidths, const QStringList& widestTexts);

// Sets a grid column to its designed width in twips, widened when the text
// it must show would not fit in the font on this screen.
void setColumnWidthTwips(QTableView* view, int column, int twipsWidth, const QString& widestText);
