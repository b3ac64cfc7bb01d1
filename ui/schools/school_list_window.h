#pragma once

#include "find_text.h"
#include "grid_columns.h"
#include "school_list.h"
#include "widgets.h"

#include <QWidget>
#include <functional>

struct AppContext;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

// The columns of 学校ﾘｽﾄ's grid, left to right. A post's row shows its
// number, mark and clerk; the school's columns are on its first row only.
enum class SchoolListColumn : int {
    No,
    Gap, // a narrow empty column before the marks
    Mark,
    ClerkName,
    Municipality,
    SchoolName,
    Kind,
    CodeOrNumber, // the school's number when the schools are ordered by it
    Classes,
    SpecialClasses,
    Branches,
    Tel,
    Fax,
    PostalCode,
    Address,
    Mail,
    Count
};

// The grid of 学校ﾘｽﾄ: one row per post, readings under them when asked.
class SchoolListModel : public ColumnTableModel {
    Q_OBJECT
public:
    explicit SchoolListModel(RosterStore& store, QObject* parent = nullptr);
    // The column as the list shows it now: with the mail column or the
    // postal code and address, with the school's code or its number.
    ColumnSpec column(int column) const override;
    void setRows(std::vector<school_list::Row> rows);
    void setShowMail(bool on) { m_showMail = on; }
    const school_list::Row* row(int r) const;
    int rowOfSchoolCode(qint32 code) const;
    void toggleMark(int r);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    bool orderedByNumber() const;
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

    void listAll(); // B_ALL
    bool extract(); // B_PICUP
    // Lists again what is listed, after the roster changed underneath.
    void refill(); // CHK_FRI
    void activate();
    void selectRows(int first, int last);

    // The commands, also reachable from tests.
    void addSchool();             // B_ADD
    void editSchool();            // B_EDIT, a double click in GRID1 outside the marks
    void deleteSelectedSchools(); // B_DEL
    void markListedSchools();     // B_ALL_SEL: marks every listed school, or clears the marks
    void openLabelPrinting();     // B_PRT
    void printSurveyForms();      // B_PRT2
    void openContactNetwork();    // B_NET
    void printSchoolNames();      // B_SC_PRT

    // The form's controls, for tests.
    QComboBox* areaChoice() const { return m_area; }
    QComboBox* groupChoice() const { return m_groupChoice; }
    const SchoolKindChecks& kindChecks() const { return m_kinds; }
    QPushButton* showAllButton() const { return m_showAll; }
    QLabel* schoolCountLabel() const { return m_schoolCount; }
    QLabel* rowCountLabel() const { return m_rowCount; }
    QCheckBox* readingsBox() const { return m_readings; }
    QCheckBox* mailBox() const { return m_mail; }

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
    // The form, row by row from the top.
    void buildGrid();
    QHBoxLayout* buildSelectionRow();
    QGroupBox* buildExtractBox();
    QGridLayout* buildCounters();
    QHBoxLayout* buildCommandRow();
    QHBoxLayout* buildFindRow();
    void connectControls();

    void chooseArea();                        // CTV_SEL0
    void chooseDistrict();                    // CTV_SEL1
    void chooseGroup();                       // GRP_SEL: a group, or a municipality
    void clickGrid(const QModelIndex& index); // GRID1: a click on a mark toggles it
    void applyMailColumn();                   // CHK_NAME
    find_text::RowKeys rowKeys(int gridRow) const;
    void showSchools(const std::vector<int>& schools, bool all);
    // Lists the schools that pass `filter` and makes it the shown filter.
    void showExtraction(const SchoolFilter& filter);
    void fillAreas();
    void fillDistricts();
    void fillGroupChoice();
    int currentGridRow() const;
    bool anyMark() const;

    AppContext& m_context;
    SchoolListModel* m_model;
    QTableView* m_grid;
    QComboBox *m_area, *m_district, *m_groupChoice;
    SchoolKindChecks m_kinds;
    QPushButton *m_extract, *m_showAll;
    QCheckBox *m_readings, *m_mail;
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
