#pragma once

#include "remembered_dialog.h"

struct AppContext;
struct PrintRequest;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// なかま帳印刷 (PRT_SET): the layout, heading, page numbers, copies and
// options of the job about to print. Closing it any other way than 印刷開始
// cancels the job and leaves the stored options as they were.
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
    void on_P_LIST_clicked();
    void on_CHK_NO_clicked();
    void on_B_START_clicked();
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
    bool m_started = false;
};
