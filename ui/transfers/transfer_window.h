#pragma once

#include "roster_session.h"

#include "era_years.h"
#include "remembered_dialog.h"
#include "transfers.h"

#include <QAbstractTableModel>
#include <vector>

struct AppContext;
class QCheckBox;
class QComboBox;
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

// The rows of 所属選択: a row for each school that passes the filter and, when
// picking the post left, one for each further filled post.
class TransferSelectModel : public QAbstractTableModel {
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
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

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

    void on_B_PICUP_clicked();
    void on_B_OK_clicked();
    void on_B_ESC_clicked();

private:
    void areaChosen();
    void fillSubAreas();

    AppContext& m_context;
    TransferPick& m_pick;
    TransferSelectModel* m_model;
    QTableView* m_grid;
    QComboBox *m_area, *m_subArea, *m_group;
    QCheckBox *m_elementary, *m_junior, *m_special;
    QPushButton* m_extract;
};

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

    void pickOld();
    void pickNew(bool direct);
    void on_B_ADD_clicked();
    void on_B_DEL_clicked();
    void on_B_START_clicked();
    void loadLog();

signals:
    void rosterChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
};
