#pragma once

#include "remembered_dialog.h"

struct AppContext;
struct PrintRequest;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QListWidget;
class QRadioButton;
class QSpinBox;

// なかま帳印刷 (PRT_SET): the layout, heading, page numbers, copies,
// options and the pages to print (all, or a range to print a jammed page
// again) of the job about to print. Closing it any other way than 印刷開始
// cancels the job and leaves the stored options as they were. The range is
// for one reprint: every opening starts from 全ページ.
class PrintOptionsDialog : public RememberedDialog {
    Q_OBJECT
public:
    // Fills `request` (job, options, destination) when 印刷開始 is pressed;
    // any other close sets its job to none.
    PrintOptionsDialog(AppContext& context, PrintRequest& request, QWidget* parent = nullptr);
    bool started() const { return m_started; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    // Built in the order the form shows them.
    void buildTitle();
    void buildLayoutList();
    void buildBoxes();
    void buildPageRange();
    void buildButtons();
    void layOut();
    void connectControls();
    void loadDefaults();

    void chooseLayout();      // P_LIST
    void switchPageNumbers(); // CHK_NO
    void choosePageRange();   // OPT_ALL, OPT_RANGE
    void keepRangeInOrder();  // P_FROM
    void startPrinting();     // B_START
    QString yearText() const;

    AppContext& m_context;
    PrintRequest& m_request;
    QLabel* m_title;
    QListWidget* m_layouts;
    QLineEdit* m_heading;
    QLineEdit* m_prefix;
    QLineEdit* m_startPage;
    QLineEdit* m_copies;
    QCheckBox* m_numbers;
    QCheckBox* m_omitSubstitutes;
    QCheckBox* m_evenTop;
    QCheckBox* m_omitGrade;
    QComboBox* m_destination;
    QRadioButton* m_allPages;
    QRadioButton* m_pageRange;
    QSpinBox* m_fromPage;
    QSpinBox* m_toPage;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_started = false;
};
