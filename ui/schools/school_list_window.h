#pragma once

#include "school_list.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

struct AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

// The grid of 学校ﾘｽﾄ: one row per post, readings under them when asked.
class SchoolListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SchoolListModel(RosterStore& store, QObject* parent = nullptr);
    void setRows(std::vector<school_list::Row> rows);
    void setShowMail(bool on) { m_showMail = on; }
    const school_list::Row* row(int r) const;
    int rowOfSchoolCode(qint32 code) const;
    void toggleMark(int r);
    void refreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RosterStore& m_store;
    std::vector<school_list::Row> m_rows;
    bool m_showMail = false;
};

// 学校ﾘｽﾄ: view 1 of the main window.
class SchoolListWindow : public QWidget {
    Q_OBJECT
public:
    SchoolListWindow(AppContext& context, QWidget* parent = nullptr);
    ~SchoolListWindow() override;

    SchoolListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    int schoolsShown() const { return m_schoolsShown; }
    bool narrowed() const;

    void listAll();
    bool extract();
    // Lists again what is listed, after the roster changed underneath.
    void refill();
    void activate();
    void selectRows(int first, int last);

    void on_B_ADD_clicked();
    void on_B_EDIT_clicked();
    void on_B_DEL_clicked();
    void on_B_ALL_SEL_clicked();
    void on_B_PRT_clicked();
    void on_B_PRT2_clicked();
    void on_B_NET_clicked();
    void on_B_SC_PRT_clicked();

    // The label designer and the network editor, wired in by the program
    // start so the list does not depend on their folders.
    std::function<void()> openLabels;
    std::function<void()> openNetwork;

signals:
    void transferCommandVisible(bool visible);
    void narrowedChanged(bool narrowed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showSchools(const std::vector<int>& schools, bool all);
    // Lists the schools that pass `filter` and makes it the shown filter.
    void showExtraction(const SchoolFilter& filter);
    void fillAreas();
    void fillDistricts();
    void fillGroupChoice();
    void applyMailColumn();
    int currentGridRow() const;
    bool anyMark() const;

    AppContext& m_context;
    SchoolListModel* m_model;
    QTableView* m_grid;
    QComboBox *m_area, *m_district, *m_groupChoice;
    QCheckBox *m_elementary, *m_junior, *m_special, *m_readings, *m_mail;
    QLabel *m_areaLabel, *m_groupLabel, *m_schoolCount, *m_rowCount;
    bool m_municipalityMode = false;
    // What the selections say; it becomes the session's filter (the one the
    // export and the prints use) only when a listing shows it.
    SchoolFilter m_filter;
    SchoolFilter m_shownFilter;
    bool m_showingAll = true;
    int m_schoolsShown = 0;
    bool m_connected = false;
    bool m_activatedOnce = false;
};
