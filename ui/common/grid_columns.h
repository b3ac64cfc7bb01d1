#pragma once

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QStringView>

#include <span>
#include <vector>

class QTableView;

// A read-only grid of whole rows, named GRID1 as every list's grid is, with
// the compact row height the lists use.
void setUpRowGrid(QTableView* view, QAbstractItemView::SelectionMode selection);

// One column of a list's grid as the window is designed: its header, how its
// cells are aligned, its width in twips (0: not shown) and the widest text it
// must show whole, which widens it where the screen's font needs more room.
struct ColumnSpec {
    QStringView header;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int twips = 0;
    QStringView widest;
};

inline constexpr Qt::Alignment kAlignLeft = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment kAlignRight = Qt::AlignRight | Qt::AlignVCenter;
inline constexpr Qt::Alignment kAlignCentre = Qt::AlignCenter;

// Sizes the grid's columns from `first` on after their table: a column of no
// width is hidden, every other shown at its designed width, widened when its
// widest text or its header would not fit. The total width of those shown.
int applyColumns(QTableView* view, std::span<const ColumnSpec> columns, int first = 0);

// A list's model whose columns one column table describes: the column count,
// the (centred) headers and the alignment of the cells come from it, so the
// grid's set-up, the model and the spreadsheet export cannot disagree.
class ColumnTableModel : public QAbstractTableModel {
public:
    ColumnTableModel(int columnCount, QObject* parent) : QAbstractTableModel(parent), m_columnCount(columnCount) {}

    // Column `column` as the list shows it now (some change with the display).
    virtual ColumnSpec column(int column) const = 0;
    std::vector<ColumnSpec> columns() const;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // The value of Qt::TextAlignmentRole for the cells of `column`.
    QVariant cellAlignment(int column) const { return int(this->column(column).alignment); }

private:
    int m_columnCount;
};
