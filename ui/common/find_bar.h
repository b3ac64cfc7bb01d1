#pragma once

#include "find_text.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTableView;

// The find box of a list window. Ctrl+F anywhere in `host` puts the cursor
// in it; what is typed moves the grid's selection to the first row at or
// after the current one whose texts (names and readings, codes: `rowKeys`) hold
// it; Enter and F3 go on to the next such row, Shift+F3 back to the previous,
// wrapping round the list. It only selects: the list keeps its rows and
// their order. When no row holds the text the box turns a warning colour and
// "見つかりません" shows beside it.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(QWidget* host, QTableView* grid, std::function<find_text::RowKeys(int row)> rowKeys,
            QWidget* parent = nullptr);

    QLineEdit* box() const { return m_box; }
    bool nothingFound() const { return m_nothingFound; }

    // Moves to the next (or previous) matching row after the current one.
    void findNext();
    void findPrevious();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void find(int start, bool forward);
    void showNothingFound(bool on);
    int currentRow() const;

    QTableView* m_grid;
    std::function<find_text::RowKeys(int)> m_rowKeys;
    QLineEdit* m_box;
    QLabel* m_none;
    bool m_nothingFound = false;
};
