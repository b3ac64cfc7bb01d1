#pragma once

#include <QString>

class QTableView;

// Sets a grid column to its designed width in twips, widened when the text
// it must show would not fit in the font on this screen.
void setColumnWidthTwips(QTableView* view, int column, int twipsWidth, const QString& widestText);
