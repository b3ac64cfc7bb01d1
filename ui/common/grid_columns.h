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

// The widest texts of the columns several lists show alike.
struct WidestTexts {
    QStringView rowNumber, name, staffCode, jobTitle, grade, payStep, sex, eraDate;
    QStringView period; // years.months
    QStringView municipality, schoolName, schoolKind, fullSchoolName, phone, postalCode, address;
};
// In the order of the fields above.
inline constexpr WidestTexts widest{u"1500",
                                    u"長谷川　佐和子",
                                    u"20260001",
                                    u"市町村職員",
                                    u"10",
                                    u"T10",
                                    u"女",
                                    u"H 31 04 30",
                                    u"60.11",
                                    u"瑠璃東部学校組合",
                                    u"星ヶ丘第二",
                                    u"特別支援学校",
                                    u"瑠璃東部学校組合立星ヶ丘第二小学校",
                                    u"0123-45-6789",
                                    u"900-0000",
                                    u"瑠璃市桜木町1-20-30"};

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
    ColumnTableModel(std::span<const ColumnSpec> columns, QObject* parent)
        : QAbstractTableModel(parent),
          m_columns(columns)
    {
    }

    // Column `column` as the list shows it now: as the table has it, unless
    // the list's display changes it.
    virtual ColumnSpec column(int column) const;
    std::vector<ColumnSpec> columns() const;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Every header and cell is to be drawn again (the display changed).
    void redrawAll();

protected:
    // The value of Qt::TextAlignmentRole for the cells of `column`.
    QVariant cellAlignment(int column) const { return int(this->column(column).alignment); }

private:
    std::span<const ColumnSpec> m_columns;
};
