#pragma once

#include "grid_columns.h"
#include "officers.h"

#include <QWidget>
#include <functional>

struct AppContext;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QTableView;

// The columns of 役員リスト's grid, left to right: the school's contacts,
// then the home's.
enum class OfficerListColumn : int {
    No,
    Post1,
    Post2,
    District,
    Name,
    School,
    SchoolTel,
    SchoolFax,
    SchoolPostal,
    SchoolAddress,
    HomeTel,
    HomeFax,
    Mobile,
    HomePostal,
    HomeAddress,
    Count
};

// The rows of 役員リスト: the officers of the chosen post group, in rank order.
class OfficerListModel : public ColumnTableModel {
    Q_OBJECT
public:
    explicit OfficerListModel(QObject* parent = nullptr);
    // The column as the chosen contacts show it: the school's, or the home's
    // with the mobile or the fax.
    ColumnSpec column(int column) const override;
    void setContacts(bool home, bool mobile);
    void setList(std::vector<OfficerEntry> list);
    void setGroup(const QString& group);
    std::vector<OfficerEntry>& list() { return m_list; }
    const std::vector<int>& shown() const { return m_shown; }
    // The list index of grid row `row`, -1 when there is none.
    int entryAt(int row) const;
    void refreshRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<OfficerEntry> m_list;
    std::vector<int> m_shown;
    QString m_group;
    bool m_home = false;
    bool m_mobile = true;
};

// 役員リスト (YAKUIN_F): view 4 of the main window, for a prefecture-level
// user. The association's officers with their school or home contacts.
class OfficerListWindow : public QWidget {
    Q_OBJECT
public:
    OfficerListWindow(AppContext& context, QWidget* parent = nullptr);

    OfficerListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }

    void editOfficer();        // B_EDIT, a double click in GRID1
    void openContactNetwork(); // B_NET
    void showContactColumns(); // OPT_SC, OPT_HOME; OPT_CTEL, OPT_FAX

    // The form's controls, for tests.
    QComboBox* groupChoice() const { return m_group; }
    QRadioButton* homeContactsButton() const { return m_home; }
    QRadioButton* faxButton() const { return m_fax; }
    QFrame* homeChoiceFrame() const { return m_homeChoice; }
    QPushButton* editButton() const { return m_edit; }

    // The officers' contact network; handed the shown officers.
    std::function<void(const std::vector<OfficerEntry>&)> openNetwork;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildGrid();
    QHBoxLayout* buildTopRow();
    void connectControls();
    void chooseGroup(); // YAKU_LIST

    AppContext& m_context;
    OfficerListModel* m_model;
    QTableView* m_grid;
    QComboBox* m_group;
    QRadioButton *m_school, *m_home, *m_mobile, *m_fax;
    QFrame* m_homeChoice;
    QPushButton *m_edit, *m_network;
    bool m_connected = false;
};
