#pragma once

#include "remembered_dialog.h"

#include <QAbstractTableModel>
#include <vector>

struct AppContext;
class RosterStore;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;

// The rows of 職員選択: staff-table rows that pass the filters, in table order.
class StaffSelectModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StaffSelectModel(const RosterStore& store, QObject* parent = nullptr);
    void setFilter(bool unpostedOnly, const QString& jobTitle, const QString& name);
    int staffRow(int row) const { return row >= 0 && size_t(row) < m_rows.size() ? m_rows[size_t(row)] : -1; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

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

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void refresh();
    void on_B_OK_clicked();

    AppContext& m_context;
    StaffSelectModel* m_model;
    QTableView* m_grid;
    QComboBox* m_jobTitle;
    QLineEdit* m_name;
    QCheckBox* m_unposted;
    qint32 m_picked = -1;
    bool m_scrolled = false;
};

// 氏名・コード変更: a member's name and code, and the post that refers to them.
class CodeChangeDialog : public RememberedDialog {
    Q_OBJECT
public:
    // `position`: the member's place in the staff list's display order.
    CodeChangeDialog(AppContext& context, int position, QWidget* parent = nullptr);

private:
    void on_B_OK_clicked();
    AppContext& m_context;
    QLineEdit* m_newName;
    QLineEdit* m_newCode;
    qint32 m_oldCode = 0;
};
