#pragma once

#include "statistics_view.h"
#include "table_export.h"
#include "tally.h"

#include <QWidget>
#include <functional>

struct AppContext;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTableWidget;

// The canvas the graphs draw on.
class GraphCanvas : public QWidget {
    Q_OBJECT
public:
    explicit GraphCanvas(QWidget* parent = nullptr);
    std::function<void(QPainter&, const QRect&)> paint;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// 集計 (CALC_F): view 3 of the main window. The tallies in eight tables, the
// area and district selection, and the views and prints of the sheets and
// graphs.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(AppContext& context, QWidget* parent = nullptr);

    const tally::SummaryTally& summary() const { return m_summary; }
    const tally::DistrictTally& districtTally();
    tally::Options options() const;
    int graphToggle() const { return m_graphToggle; }
    bool connectingLines() const;
    int scrollValue() const;
    bool showingGraph() const;
    // The view chosen in PRT_LIST; nullopt before the first choice.
    std::optional<StatisticsView> chosenView() const;
    QTableWidget* grid(const QString& name) const;
    // The eight tables for a spreadsheet.
    std::vector<ExportTable> spreadsheetTables() const;

    void computeSummaryTally();
    void chooseArea();       // CTV_SEL1
    void showChosenView();   // PRT_LIST
    void toggleGraphChart(); // B_CHG
    void printChosenView();  // B_PRT

    // How the window draws a graph on its canvas and prints a view: the
    // graphs and sheets live below the window, and the program start wires
    // them in.
    std::function<void(QPainter&, const QRect&, StatisticsWindow&, StatisticsView view)> drawGraph;
    std::function<void(StatisticsWindow&, StatisticsView view)> printEntry;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QHBoxLayout* buildChoiceRow();
    QWidget* buildTables();
    QWidget* buildGraphPage();
    void showOpeningChoices();
    void fill(QTableWidget* grid, const QList<QStringList>& rows);

    AppContext& m_context;
    tally::SummaryTally m_summary;
    tally::DistrictTally m_districtTally;
    int m_graphToggle = 0;
    bool m_placed = false;
    QComboBox *m_area, *m_district, *m_view;
    QCheckBox *m_leave, *m_vacancy, *m_lines;
    QPushButton *m_change, *m_print;
    QScrollBar* m_scroll;
    QStackedWidget* m_stack;
    GraphCanvas* m_canvas;
    QLabel* m_average;
    QTableWidget* m_category[4];
    QTableWidget *m_titles, *m_bands, *m_ages, *m_experience;
};
