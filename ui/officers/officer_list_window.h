#pragma once

#include "officers.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

struct AppContext;
class QComboBox;
class QFrame;
class QRadioButton;
class QTableView;

// The rows of 役員リスト: the officers of the chosen post group, in rank order.
class OfficerListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OfficerListModel(QObject* parent = nullptr);
    void setList(std::vector<OfficerEntry> list);
    void setGroup(const QString& group);
    std::vector<OfficerEntry>& list() { return m_list; }
    const std::vector<int>& shown() const { return m_shown; }
    // The list index of grid row `row`, -1 when there is none.
    int entryAt(int row) const;
    void refreshRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<OfficerEntry> m_list;
    std::vector<int> m_shown;
    QString m_group;
};

// 役員リスト (YAKUIN_F): view 4 of the main window, for a prefecture-level
// user. The association's officers with their school or home contacts.
class OfficerListWindow : public QWidget {
    Q_OBJECT
public:
    OfficerListWindow(AppContext& context, QWidget* parent = nullptr);

    OfficerListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }

    void on_B_EDIT_clicked();
    void on_B_NET_clicked();
    void applyColumns();

    // The officers' contact network; handed the shown officers.
    std::function<void(const std::vector<OfficerEntry>&)> openNetwork;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& m_context;
    OfficerListModel* m_model;
    QTableView* m_grid;
    QComboBox* m_group;
    QRadioButton *m_school, *m_home, *m_mobile, *m_fax;
    QFrame* m_homeChoice;
    bool m_connected = false;
};
