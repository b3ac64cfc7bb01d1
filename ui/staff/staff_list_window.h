#pragma once

#include "date_entry.h"
#include "era_years.h"
#include "grid_columns.h"
#include "staff_list.h"

#include <QWidget>

struct AppContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The columns of 職員ﾘｽﾄ's grid, left to right.
enum class StaffListColumn : int {
    No, // running row number
    Name,
    Code,
    JobTitle,
    Grade,
    PayStep,
    Sex,
    Date,      // the display's date (birth, hire, posting); the age beside the service
    Period,    // the display's period (age, service, tenure)
    AgeAtHire, // age years less service years, beside the service only
    SchoolOrMail,
    PostalCode,
    Address,
    Count
};

// The grid of 職員ﾘｽﾄ: one row per display position that passes the filter.
class StaffListModel : public ColumnTableModel {
    Q_OBJECT
public:
    enum Display { Age = 0, Service = 1, Tenure = 2 };
    StaffListModel(const RosterStore& store, RosterSession& session, QObject* parent = nullptr);

    // The column as the chosen display shows it.
    ColumnSpec column(int column) const override;

    void rebuild(const staff_list::Filter& filter);
    void setDisplay(int display, bool ageAndService, bool showMail);
    int position(int row) const; // display position of a grid row, -1 beyond
    int staffRow(int row) const; // table row of a grid row, -1 beyond
    int rowOfCode(qint32 code) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int display() const { return m_display; }
    bool ageAndService() const { return m_ageAndService; }
    bool showMail() const { return m_showMail; }

private:
    bool ageAndServiceShown() const { return m_display == Service && m_ageAndService; }
    QString cell(const StaffRecord& s, StaffListColumn column, int row) const;
    const RosterStore& m_store;
    RosterSession& m_session;
    std::vector<int> m_positions;
    int m_display = Age;
    bool m_ageAndService = false;
    bool m_showMail = false;
};

// 職員ﾘｽﾄ: view 2 of the main window.
class StaffListWindow : public QWidget {
    Q_OBJECT
public:
    StaffListWindow(AppContext& context, QWidget* parent = nullptr);
    ~StaffListWindow() override;

    StaffListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    int currentSort() const { return m_sort; }
    void selectSort(int sort);
    void refresh();
    void activate();

    // The commands, also reachable from tests.
    void addMember();         // B_ADD
    void editMember();        // B_EDIT, a double click in GRID1
    void changeNameAndCode(); // B_CHG
    void deleteMembers();     // B_DEL: the selected rows
    void checkTheList();      // B_CHK
    void printStaffCodes();   // B_PRT_CODE: the selected rows

    // The form's controls, for tests.
    QComboBox* jobTitleChoice() const { return m_jobTitle; }
    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* gradeBox() const { return m_grade; }
    QLabel* nameLabel() const { return m_nameLabel; }
    QLabel* gradeLabel() const { return m_gradeLabel; }
    QComboBox* displayChoice() const { return m_display; }
    QCheckBox* ageAndServiceBox() const { return m_ageAndService; }
    QComboBox* sortChoice() const { return m_sortBox; }
    QCheckBox* mailBox() const { return m_mail; }
    QLabel* surveyEraLabel() const { return m_surveyEra; }
    QLineEdit* surveyYearBox() const { return m_year; }
    QLineEdit* surveyMonthBox() const { return m_month; }
    QLineEdit* surveyDayBox() const { return m_day; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* changeButton() const { return m_change; }
    QPushButton* checkButton() const { return m_check; }

signals:
    void surveyDateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The form, row by row from the top.
    void buildGrid();
    QHBoxLayout* buildFilterRow();
    QHBoxLayout* buildDisplayRow();
    QGroupBox* buildSurveyDateBox();
    QHBoxLayout* buildCommandRow();
    void connectControls();

    void chooseDisplay(int display); // DISP_L
    staff_list::Filter filter() const;
    void applyDisplay();
    void readSurveyDate();
    void showSurveyDate();
    void afterEditing(qint32 code, bool select);
    int currentGridRow() const;

    AppContext& m_context;
    StaffListModel* m_model;
    QTableView* m_grid;
    QComboBox *m_display, *m_sortBox, *m_jobTitle, *m_municipality, *m_area;
    QLineEdit *m_name, *m_grade, *m_year, *m_month, *m_day;
    QLabel* m_surveyEra = nullptr;
    int m_surveyEraBase = kHeiseiBase; // the typed year counts from this calendar year
    QCheckBox *m_ageAndService, *m_mail;
    QPushButton *m_add, *m_edit, *m_delete, *m_change, *m_check, *m_printCodes;
    QLabel *m_nameLabel, *m_gradeLabel;
    int m_sort = staff_list::ByCode;
    bool m_loaded = false;
    bool m_activatedOnce = false;
    bool m_connected = false;
    qint32 m_lastCode = 0;
};
