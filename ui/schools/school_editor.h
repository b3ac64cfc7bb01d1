#pragma once

#include "capacities.h"
#include "remembered_dialog.h"

#include <array>
#include <vector>

struct AppContext;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class UpDown;

// 学校データ編集: one school with its seven clerk posts. Opened on a listed
// school it pages through the schools of the list; opened for a new school
// it pages by record number. The shown school is stored on paging and closing.
class SchoolEditor : public RememberedDialog {
    Q_OBJECT
public:
    // List mode: the list's school row of each grid row and the current grid row.
    SchoolEditor(AppContext& context, std::vector<int> listRows, int currentListRow, QWidget* parent = nullptr);
    // A new school at the end of the table.
    explicit SchoolEditor(AppContext& context, QWidget* parent = nullptr);

    int recordNumber() const { return m_recordNumber; }
    int currentRow() const { return m_recordNumber - 1; }
    bool storeRecord();
    void pageUp();
    void pageDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    // The form, built a part at a time from the top.
    void build();
    UpDown* buildRecordControls();
    void buildSchoolControls();
    QGridLayout* buildSchoolGrid();
    QGroupBox* buildPosts();
    void buildPostRow(QGridLayout* posts, int slot);
    void goTo(int recordNumber);
    void showRecord(int row);
    void movePage(int direction);
    void clearRecord();
    void page(int direction);
    void takeClerkIntoPost(int slot); // M_CODE
    void editClerk(int slot);         // B_EDIT
    void pickClerk(int slot);         // B_PICUP
    void addGroup();
    QString fullName() const;

    AppContext& m_context;
    bool m_listMode;
    std::vector<int> m_listRows;
    int m_listRow = -1;
    int m_recordNumber = 1;
    bool m_loading = false;
    bool m_refused = false; // the record was not stored: the user was told why
    std::array<qint32, cap::kClerkSlots> m_heldCode{};

    QLabel* m_recordLabel;
    QComboBox *m_pref, *m_municipality, *m_kind, *m_group;
    QLineEdit *m_name, *m_reading, *m_code, *m_number, *m_postal, *m_address, *m_tel, *m_fax, *m_mail;
    QLineEdit *m_regular, *m_special, *m_branch;
    std::array<QLineEdit*, cap::kClerkSlots> m_staffCode{};
    std::array<QLineEdit*, cap::kClerkSlots> m_staffName{};
    std::array<QComboBox*, cap::kClerkSlots> m_status{};
    std::array<QLineEdit*, cap::kClerkSlots> m_note{};
};
