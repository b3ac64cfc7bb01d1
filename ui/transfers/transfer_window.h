#pragma once

#include "roster_session.h"

#include "date_entry.h"
#include "era_years.h"
#include "grid_columns.h"
#include "remembered_dialog.h"
#include "transfers.h"
#include "widgets.h"

#include <vector>

struct AppContext;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;

// What 所属選択 picks for 人事異動: the post being left (mode 0) or the
// school being joined (mode 1), as school-table rows and post indexes.
struct TransferPick {
    int mode = 0;
    int oldSchool = -1;
    int oldPost = -1;
    int newSchool = -1;
    // 所属選択's own filter, kept while 人事異動 is open. It is a copy: the
    // school list's filter (which the export and the prints use) is never
    // touched from here.
    SchoolFilter filter;
};

// The columns of 所属選択's grid, left to right.
enum class TransferSelectColumn : int { No, ClerkName, Municipality, SchoolName, Kind, Count };

// The rows of 所属選択: a row for each school that passes the filter and, when
// picking the post left, one for each further filled post.
class TransferSelectModel : public ColumnTableModel {
    Q_OBJECT
public:
    struct Row {
        int school = -1;
        int post = 0;
    };
    TransferSelectModel(const RosterStore& store, QObject* parent = nullptr);
    void fill(const std::vector<int>& schools, bool withPosts);
    const Row* row(int r) const { return r >= 0 && size_t(r) < m_rows.size() ? &m_rows[size_t(r)] : nullptr; }
    // The first row of a school, which shows the school's columns.
    bool isSchoolRow(int r) const
    {
        return row(r) && (r == 0 || m_rows[size_t(r - 1)].school != m_rows[size_t(r)].school);
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const RosterStore& m_store;
    std::vector<Row> m_rows;
};

// 所属選択 (MOVE_SEL): picks a post or a school among the extracted schools.
class TransferSelectDialog : public RememberedDialog {
    Q_OBJECT
public:
    TransferSelectDialog(AppContext& context, TransferPick& pick, QWidget* parent = nullptr);
    TransferSelectModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }

    void extract();      // B_PICUP
    void pickSelected(); // B_OK, a double click in GRID1: the last selected row
    void cancelPick();   // B_ESC

    // The form's controls, for tests.
    const SchoolKindChecks& kindChecks() const { return m_kinds; }
    QPushButton* extractButton() const { return m_extract; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void buildGrid();
    QHBoxLayout* buildFilterRow();
    QHBoxLayout* buildButtonRow();
    void connectControls();
    // What was chosen at the last opening comes back, and is extracted again.
    void restoreLastChoice();

    void chooseArea();     // CTV_SEL0
    void chooseDistrict(); // CTV_SEL1
    void chooseGroup();    // GRP_SEL
    void fillSubAreas();

    AppContext& m_context;
    TransferPick& m_pick;
    TransferSelectModel* m_model;
    QTableView* m_grid;
    QComboBox *m_area, *m_subArea, *m_group;
    SchoolKindChecks m_kinds;
    QPushButton *m_extract, *m_ok, *m_cancel;
};

// The columns of 人事異動's list of transfers, left to right.
enum class TransferColumn : int { No, Name, Code, OldSchool, NewSchool, Count };

// 人事異動 (MOVE_F): collects a batch of transfers and carries it out on one
// transfer date, then appends it to the year's transfer log.
class TransferWindow : public RememberedDialog {
    Q_OBJECT
public:
    TransferWindow(AppContext& context, QWidget* parent = nullptr);

    const std::vector<TransferEntry>& entries() const { return m_entries; }
    TransferPick& pick() { return m_pick; }
    bool logLoaded() const { return m_logLoaded; }

    // Opens 所属選択; tests replace it to pick without a dialog.
    std::function<void(TransferPick&)> runSelector;

    void pickOld();            // B_PICUP(0): the post left, then the school joined
    void pickNew(bool direct); // B_PICUP(1): the school joined
    void addTransfer();        // B_ADD
    void removeTransfer();     // B_DEL: the current row
    void carryOutTransfers();  // B_START
    void loadLog();            // a double click on Label_DATE

    // The form's controls, for tests.
    QTableWidget* grid() const { return m_grid; }
    QLabel* oldSchoolLabel() const { return m_oldName; }
    QLabel* dateLabel() const { return m_dateLabel; }
    QLineEdit* yearBox() const { return m_year; }
    QLineEdit* monthBox() const { return m_month; }
    QLineEdit* dayBox() const { return m_day; }
    QPushButton* pickOldButton() const { return m_pickOld; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* startButton() const { return m_start; }

signals:
    void rosterChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The form, row by row from the top.
    void buildGrid();
    QGridLayout* buildPickRows();
    QHBoxLayout* buildDateRow();
    QHBoxLayout* buildButtonRow();
    void connectControls();

    void rebuildGrid();
    void showPick();

    AppContext& m_context;
    TransferPick m_pick;
    std::vector<TransferEntry> m_entries;
    bool m_logLoaded = false;
    QTableWidget* m_grid;
    QLabel *m_name, *m_oldName, *m_newName, *m_dateLabel;
    QLineEdit *m_year, *m_month, *m_day;
    int m_dateEraBase = kHeiseiBase; // calendar year of the date box's era year 0
    QLineEdit *m_oldNo, *m_postNo, *m_newNo, *m_buttonNo;
    QPushButton *m_pickOld, *m_pickNew, *m_add, *m_delete, *m_start, *m_close;
};
