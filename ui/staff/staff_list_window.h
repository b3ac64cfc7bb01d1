#pragma once

#include "era_years.h"
#include "staff_list.h"

#include <QAbstractTableModel>
#include <QWidget>

struct AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The grid of 職員ﾘｽﾄ: one row per display position that passes the filter.
class StaffListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Display { Age = 0, Service = 1, Tenure = 2 };
    StaffListModel(const RosterStore& store, RosterSession& session, QObject* parent = nullptr);

    void rebuild(const staff_list::Filter& filter);
    void setDisplay(int display, bool ageAndService, bool showMail);
    int position(int row) const; // display position of a grid row, -1 beyond
    int staffRow(int row) const; // table row of a grid row, -1 beyond
    int rowOfCode(qint32 code) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int display() const { return m_display; }
    bool ageAndService() const { return m_ageAndService; }
    bool showMail() const { return m_showMail; }

private:
    QString cell(const StaffRecord& s, int column, int row) const;
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
    void on_B_ADD_clicked();
    void on_B_EDIT_clicked();
    void on_B_CHG_clicked();
    void on_B_DEL_clicked();
    void on_B_CHK_clicked();
    void on_B_PRT_CODE_clicked();

signals:
    void surveyDateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
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
    QPushButton *m_add, *m_edit, *m_delete, *m_change, *m_check;
    QLabel *m_nameLabel, *m_gradeLabel;
    int m_sort = 1;
    bool m_loaded = false;
    bool m_activatedOnce = false;
    bool m_connected = false;
    qint32 m_lastCode = 0;
};
