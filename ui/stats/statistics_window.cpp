#include "statistics_window.h"

#include "app_context.h"
#include "grid_export.h"
#include "post_status.h"
#include "tally_tables.h"
#include "view_window.h"
#include "wait_cursor.h"
#include "widgets.h"
#include "window_position.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

GraphCanvas::GraphCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"G_IMG"_s);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void GraphCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (paint)
        paint(painter, rect());
}

namespace {
QTableWidget* makeGrid(const QString& name, QWidget* parent, std::initializer_list<int> widths, int rows)
{
    auto* g = new QTableWidget(rows, int(widths.size()), parent);
    g->setObjectName(name);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(18);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);
    QVariantList designed;
    int c = 0;
    for (int w : widths) {
        designed << std::max(twips::toPixels(w), 22);
        g->setColumnWidth(c++, designed.last().toInt());
    }
    g->setProperty("designed", designed);
    if (rows <= 14) {
        // A short table shows all its rows: it needs no scroll bar, and the
        // room one would take is what lets the window fit a 1024-dot screen.
        g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->setFixedHeight(rows * g->verticalHeader()->defaultSectionSize() + 2 * g->frameWidth());
    }
    return g;
}
} // namespace

StatisticsWindow::StatisticsWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"CALC_F"_s);
    setWindowTitle(u"集計"_s);
    WaitCursor wait;
    QHBoxLayout* choices = buildChoiceRow();
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(buildTables());
    m_stack->addWidget(buildGraphPage());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(choices);
    layout->addWidget(m_stack, 1);
    showOpeningChoices();
    computeSummaryTally();
}

// The row of selectors, check boxes and buttons above the tables.
QHBoxLayout* StatisticsWindow::buildChoiceRow()
{
    m_area = new QComboBox(this);
    m_area->setObjectName(u"CTV_SEL1"_s);
    m_area->setMinimumWidth(twips::toPixels(1215));
    connect(m_area, &QComboBox::activated, this, &StatisticsWindow::chooseArea);
    m_district = new QComboBox(this);
    m_district->setObjectName(u"CTV_SEL2"_s);
    m_district->setMinimumWidth(twips::toPixels(1335));
    connect(m_district, &QComboBox::activated, this, &StatisticsWindow::computeSummaryTally);
    m_vacancy = makeCheck(u"CHK_ETC1"_s, u"欠員補充を含む"_s, this);
    connect(m_vacancy, &QCheckBox::clicked, this, &StatisticsWindow::computeSummaryTally);
    m_leave = makeCheck(u"CHK_ETC"_s, u"産育休補助を含む"_s, this);
    connect(m_leave, &QCheckBox::clicked, this, &StatisticsWindow::computeSummaryTally);
    m_change = makeButton(u"B_CHG"_s, u"Ｃｈｅｎｇｅ"_s, this);
    connect(m_change, &QPushButton::clicked, this, &StatisticsWindow::toggleGraphChart);
    m_view = new QComboBox(this);
    m_view->setObjectName(u"PRT_LIST"_s);
    m_view->addItems(
        {u"集計表"_s, u"級・職名別"_s, u"年齢別"_s, u"経験年数別"_s, u"グラフ"_s, u"グラフ２"_s, u"グラフ３"_s});
    m_view->setCurrentIndex(-1);
    connect(m_view, &QComboBox::activated, this, &StatisticsWindow::showChosenView);
    m_print = makeButton(u"B_PRT"_s, u"印刷"_s, this);
    connect(m_print, &QPushButton::clicked, this, &StatisticsWindow::printChosenView);
    m_lines = makeCheck(u"CHK_GLINE"_s, u"接続線有り"_s, this);
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(u"V_SC"_s);

    auto* top = new QHBoxLayout;
    top->addWidget(m_area);
    top->addWidget(m_district);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_vacancy);
    checks->addWidget(m_leave);
    top->addLayout(checks);
    top->addWidget(m_change);
    top->addWidget(m_view);
    top->addWidget(m_print);
    auto* sheet = makeButton(u"B_SHEET"_s, u"表計算"_s, this);
    sheet->setToolTip(u"集計表を表計算ブック (.xlsx) か CSV に書き出します"_s);
    connect(sheet, &QPushButton::clicked, this,
            [this] { grid_export::ask(m_context, this, spreadsheetTables(), windowTitle()); });
    top->addWidget(sheet);
    top->addWidget(m_lines);
    top->addStretch();
    return top;
}

// The eight tables of the summary tally.
QWidget* StatisticsWindow::buildTables()
{
    auto* tables = new QWidget(this);
    auto* grid = new QGridLayout(tables);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    const QStringList kinds{u"小学校"_s, u"中学校"_s, u"養護学校"_s};
    for (int i = 0; i < 4; ++i) {
        m_category[i] = makeGrid(u"GRID1(%1)"_s.arg(i), tables, {250, 1100, 250, 500, 500, 500}, 14);
        auto* box = new QVBoxLayout;
        if (i < 3) {
            auto* label = new QLabel(kinds[i], tables);
            label->setObjectName(u"Label1(%1)"_s.arg(i));
            box->addWidget(label);
        }
        box->addWidget(m_category[i]);
        grid->addLayout(box, i < 3 ? 0 : 1, i < 3 ? i : 0);
    }
    m_titles = makeGrid(u"GRID2"_s, tables, {250, 1100, 500, 500, 500}, 9);
    m_bands = makeGrid(u"GRID3"_s, tables, {800, 500, 500, 500, 600}, 10);
    m_average = new QLabel(tables);
    m_average->setObjectName(u"AVE_LABEL"_s);
    auto* bandBox = new QVBoxLayout;
    bandBox->addWidget(m_bands);
    bandBox->addWidget(m_average);
    grid->addWidget(m_titles, 1, 1, Qt::AlignTop);
    grid->addLayout(bandBox, 1, 2);
    m_ages = makeGrid(u"GRID20"_s, tables, {300, 500, 500, 500}, 45);
    m_experience = makeGrid(u"GRID30"_s, tables, {300, 500, 500, 500}, 45);
    auto* ageBox = new QVBoxLayout;
    auto* ageLabel = new QLabel(u"年齢"_s, tables);
    ageLabel->setObjectName(u"Label2"_s);
    ageBox->addWidget(ageLabel);
    ageBox->addWidget(m_ages);
    auto* expBox = new QVBoxLayout;
    auto* expLabel = new QLabel(u"経験"_s, tables);
    expLabel->setObjectName(u"Label3"_s);
    expBox->addWidget(expLabel);
    expBox->addWidget(m_experience);
    grid->addLayout(ageBox, 0, 3, 2, 1);
    grid->addLayout(expBox, 0, 4, 2, 1);
    return tables;
}

// The canvas of the graph views with its scroll bar.
QWidget* StatisticsWindow::buildGraphPage()
{
    m_canvas = new GraphCanvas(this);
    m_canvas->paint = [this](QPainter& p, const QRect& r) {
        const std::optional<StatisticsView> view = chosenView();
        if (drawGraph && view && isGraphView(*view))
            drawGraph(p, r, *this, *view);
    };
    auto* graphPage = new QWidget(this);
    auto* graphRow = new QHBoxLayout(graphPage);
    graphRow->setContentsMargins(0, 0, 0, 0);
    graphRow->addWidget(m_canvas, 1);
    graphRow->addWidget(m_scroll);
    connect(m_lines, &QCheckBox::clicked, m_canvas, qOverload<>(&QWidget::update));
    connect(m_scroll, &QScrollBar::valueChanged, m_canvas, qOverload<>(&QWidget::update));
    return graphPage;
}

// What shows on opening: the whole roster's tally, the area choice for the
// prefecture only.
void StatisticsWindow::showOpeningChoices()
{
    RosterStore& store = m_context.store;
    m_district->setVisible(false);
    m_change->setVisible(false);
    m_lines->setVisible(false);
    m_scroll->setVisible(false);
    if (!store.prefectureLevel()) {
        m_area->setVisible(false);
        m_view->setVisible(false);
    }
    tally::prepareAges(store);
    m_area->addItem(u"全"_s);
    m_area->addItems(store.municipalities.areaNames.isEmpty() ? store.places.areaNamesBC
                                                              : store.municipalities.areaNames);
    m_area->addItem(otherChoiceName());
    m_area->setCurrentIndex(-1); // both selectors empty: the whole roster
}

void StatisticsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        attachViewWindow(this, [] {});
    }
}

QTableWidget* StatisticsWindow::grid(const QString& name) const
{
    return findChild<QTableWidget*>(name);
}

tally::Options StatisticsWindow::options() const
{
    tally::Options o;
    o.area = m_area->currentText();
    o.district = m_district->isHidden() ? QString() : m_district->currentText();
    o.includeLeaveCover = m_leave->isChecked();
    o.includeVacancyFill = m_vacancy->isChecked();
    return o;
}

bool StatisticsWindow::connectingLines() const
{
    return m_lines->isChecked();
}

int StatisticsWindow::scrollValue() const
{
    return m_scroll->value();
}

bool StatisticsWindow::showingGraph() const
{
    return m_stack->currentIndex() == 1;
}

void StatisticsWindow::fill(QTableWidget* grid, const QList<QStringList>& rows)
{
    grid->setUpdatesEnabled(false);
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QString text = r < rows.size() ? rows[r].value(c) : QString();
            QTableWidgetItem* item = grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                grid->setItem(r, c, item);
            }
            // Numbers to the right, words to the left.
            bool number = false;
            text.toDouble(&number);
            item->setTextAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            item->setText(text);
        }
    }
    // The designed widths, widened where this screen's font needs more.
    int total = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const int designed = grid->property("designed").toList().value(c).toInt();
        int needed = 0;
        for (int r = 0; r < grid->rowCount(); ++r)
            if (const QTableWidgetItem* item = grid->item(r, c))
                needed = std::max(needed, grid->fontMetrics().horizontalAdvance(item->text()) + 10);
        grid->setColumnWidth(c, std::max(designed, needed));
        total += grid->columnWidth(c);
    }
    const bool scrolls = grid->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    grid->setMinimumWidth(total + (scrolls ? grid->verticalScrollBar()->sizeHint().width() : 0) +
                          2 * grid->frameWidth());
    grid->setUpdatesEnabled(true);
}

std::vector<ExportTable> StatisticsWindow::spreadsheetTables() const
{
    // The tables as shown, one sheet each, named as on the screen.
    const QString names[] = {u"小学校"_s, u"中学校"_s, u"養護学校"_s, u"計"_s};
    std::vector<ExportTable> tables;
    for (int i = 0; i < 4; ++i)
        tables.push_back(grid_export::tableOf(m_category[i], names[i]));
    tables.push_back(grid_export::tableOf(m_titles, u"職名別"_s));
    tables.push_back(grid_export::tableOf(m_bands, u"級別"_s));
    tables.push_back(grid_export::tableOf(m_ages, u"年齢"_s));
    tables.push_back(grid_export::tableOf(m_experience, u"経験"_s));
    return tables;
}

void StatisticsWindow::computeSummaryTally()
{
    WaitCursor wait;
    const tally::Options o = options();
    m_context.session.selections.tallyArea = o.area;
    m_context.session.selections.tallyDistrict = o.district;
    m_context.session.selections.tallyLeaveCoverIncluded = o.includeLeaveCover;
    m_context.session.selections.tallyVacancyFillIncluded = o.includeVacancyFill;
    m_summary = tally::computeSummaryTally(m_context.store, o);
    for (int i = 0; i < 4; ++i)
        fill(m_category[i], tally_tables::categoryTable(m_summary, i, o));
    fill(m_titles, tally_tables::titleTable(m_summary, o));
    fill(m_ages, tally_tables::ageTable(m_summary));
    fill(m_experience, tally_tables::experienceTable(m_summary));
    fill(m_bands, tally_tables::bandTable(m_summary));
    m_average->setText(tally_tables::averageText(m_summary));
    m_districtTally.valid = false;
    showChosenView();
}

const tally::DistrictTally& StatisticsWindow::districtTally()
{
    if (!m_districtTally.valid) {
        WaitCursor wait;
        m_districtTally = tally::computeDistrictTally(m_context.store, options());
    }
    return m_districtTally;
}

void StatisticsWindow::chooseArea()
{
    m_district->clear();
    m_district->setVisible(false);
    if (const DistrictSubList* sub = m_context.store.places.subListFor(m_area->currentText())) {
        // Wait for a district before counting.
        m_district->addItems(sub->districts);
        m_district->setCurrentIndex(-1);
        m_district->setVisible(true);
        return;
    }
    computeSummaryTally();
}

std::optional<StatisticsView> StatisticsWindow::chosenView() const
{
    return statisticsViewAt(m_view->currentIndex());
}

void StatisticsWindow::showChosenView()
{
    m_lines->setVisible(false);
    m_change->setVisible(false);
    const std::optional<StatisticsView> view = chosenView();
    if (!view || !isGraphView(*view)) {
        m_graphToggle = 0;
        m_stack->setCurrentIndex(0);
        return;
    }
    districtTally();
    m_stack->setCurrentIndex(1);
    m_scroll->setVisible(false);
    if (*view == StatisticsView::Graph1) {
        m_change->setVisible(true);
    } else {
        m_graphToggle = 0;
        m_scroll->setVisible(true);
        m_lines->setVisible(*view == StatisticsView::Graph2);
    }
    m_canvas->update();
}

void StatisticsWindow::toggleGraphChart()
{
    if (chosenView() != StatisticsView::Graph1)
        return;
    m_graphToggle = m_graphToggle == 0 ? 1 : 0;
    m_canvas->update();
}

void StatisticsWindow::printChosenView()
{
    districtTally();
    // Below the prefecture level the view choice is hidden: only the summary prints.
    const std::optional<StatisticsView> view =
        m_context.store.prefectureLevel() ? chosenView() : std::optional(StatisticsView::Summary);
    static const QStringList questions{
        u"集計表を印刷します"_s, u"級・職名別表を印刷します"_s, u"年齢別を印刷します"_s,  u"経験年数別を印刷します"_s,
        u"グラフを印刷します"_s, u"グラフ２を印刷します"_s,     u"グラフ３を印刷します"_s};
    if (!view)
        return;
    if (!m_context.notifier.askYesNo(questions[int(*view)]))
        return;
    if (printEntry)
        printEntry(*this, *view);
}
