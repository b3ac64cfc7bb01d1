#pragma once

#include "find_text.h"
#include "grid_columns.h"
#include "remembered_dialog.h"

#include <QAbstractTableModel>
#include <vector>

struct AppContext;
class RosterStore;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// What finds a staff member in a list of staff (the find box): name and
// reading, code. Nothing for a row that is not in the staff table.
find_text::RowKeys staffRowKeys(const RosterStore& store, int staffRow);

// The columns of 職員選択's grid, left to right.
enum class StaffSelectColumn : int { No, Name, Code, JobTitle, Grade, PayStep, Sex, BirthDate, Age, Count };

// The rows of 職員選択: staff-table rows that pass the filters, in table order.
class StaffSelectModel : public ColumnTableModel {
    Q_OBJECT
public:
    explicit StaffSelectModel(const RosterStore& store, QObject* parent = nullptr);
    void setFilter(bool unpostedOnly, const QString& jobTitle, const QString& name);
    int staffRow(int row) const { return row >= 0 && size_t(row) < m_rows.size() ? m_rows[size_t(row)] : -1; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const RosterStore& m_store;
    std::vector<int> m_rows;
};

// 職員選択: picks the staff member for a school post. pickedCode() is the
// chosen member's code, or -1 when nothing was chosen.
class StaffSelectDialog : public RememberedDialog {
    Q_OBJECT
public:
    StaffSelectDialog(AppContext& context, QWidget* parent = nullptr);
    qint32 pickedCode() const { return m_picked; }
    StaffSelectModel* model() const { return m_model; }

    // The form's controls, for tests.
    QTableView* grid() const { return m_grid; }
    QComboBox* jobTitleChoice() const { return m_jobTitle; }
    QLineEdit* nameBox() const { return m_name; }
    QCheckBox* unpostedBox() const { return m_unposted; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildGrid();
    QHBoxLayout* buildFilterRow();
    QHBoxLayout* buildButtonRow();
    void refresh();
    void pickSelected(); // B_OK, a double click in GRID1

    AppContext& m_context;
    StaffSelectModel* m_model;
    QTableView* m_grid;
    QComboBox* m_jobTitle;
    QLineEdit* m_name;
    QCheckBox* m_unposted;
    QPushButton *m_ok, *m_cancel;
    qint32 m_picked = -1;
    bool m_scrolled = false;
};

// 氏名・コード変更: a member's name and code, and the post that refers to them.
class CodeChangeDialog : public RememberedDialog {
    Q_OBJECT
public:
    // `position`: the member's place in the staff list's display order.
    CodeChangeDialog(AppContext& context, int position, QWidget* parent = nullptr);

    // The form's controls, for tests.
    QLabel* oldCodeLabel() const { return m_oldCodeLabel; }
    QLineEdit* newNameBox() const { return m_newName; }
    QLineEdit* newCodeBox() const { return m_newCode; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* closeButton() const { return m_close; }

private:
    void changeNameAndCode(); // B_OK
    AppContext& m_context;
    QLabel* m_oldCodeLabel;
    QLineEdit* m_newName;
    QLineEdit* m_newCode;
    QPushButton *m_ok, *m_close;
    qint32 m_oldCode = 0;
};
