#pragma once

#include "periods.h"
#include "reading_capture.h"
#include "records.h"
#include "remembered_dialog.h"

#include <QDate>

struct AppContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UpDown;

// 個人データ編集: one staff member's record. Three openers use it:
//  - EditM, the staff list: records in the list's display order, browsing
//    or a single record;
//  - EditM2, a school post: staff-table rows, the proposed code preset;
//  - EditM3, the officer list: staff-table rows.
// The form is written back into the record when the user pages on or closes.
class StaffEditor : public RememberedDialog {
    Q_OBJECT
public:
    enum Variant { EditM, EditM2, EditM3 };

    // `start`: the display position (EditM) or table row (the others) to
    // show first; the row count for a new record.
    StaffEditor(AppContext& context, Variant variant, int start, QWidget* parent = nullptr);

    void setSingleRecord(bool single); // EditM: no paging
    void setPresetCode(qint32 code);   // EditM2: put into the code box on opening
    void setToday(const QDate& today) { m_today = today; }

    int recordNumber() const { return m_recordNumber; } // ED_NO, 1-based
    // The form's main boxes, for code that drives the editor.
    QLineEdit* nameBox() const { return m_name; }                                         // S_NAME
    QLineEdit* codeBox() const { return m_code; }                                         // S_CODE
    QLineEdit* readingBox() const { return m_reading; }                                   // S_FURI
    QComboBox* jobTitleBox() const { return m_jobTitle; }                                 // S_SN
    QCheckBox* temporaryBox() const { return m_temporary; }                               // CHK1
    QLabel* dateLabel(DateFieldKind kind) const { return m_dayLabels[int(kind)]; }        // DAY_L
    QPushButton* dateButton(DateFieldKind kind) const { return m_dayButtons[int(kind)]; } // B_DAY
    // The table row of the record shown (the row count for a new one).
    int currentRow() const;
    bool save();
    bool codeAcceptable();
    void goTo(int recordNumber);
    void pageUp();
    void pageDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    struct FormRows;
    // One period box: its date, the years and months since, the correction.
    struct PeriodBoxSpec {
        QString title;
        DateFieldKind kind;
        QString caption;
        QLabel** years;
        QLabel** months;
        QLineEdit** adjust;
        QString yearsName, monthsName, adjustName;
        void (StaffEditor::*recompute)(); // when the correction changes
    };
    // The form, built a row or a box at a time from the top.
    void buildForm();
    void buildNameRows(FormRows& rows);
    void buildDateControls();
    void buildBirthRow(FormRows& rows);
    void buildContactRows(FormRows& rows);
    void buildJobRows(FormRows& rows);
    QGroupBox* buildPeriodBox(const PeriodBoxSpec& period);
    void buildPeriodBoxes(FormRows& rows);
    void buildPostRows(FormRows& rows);
    QHBoxLayout* buildBottomRow(QPushButton*& close);
    void connectBehaviour(QPushButton* close);

    void clearForm();
    void showRecord(const StaffRecord& s);
    void recomputePeriods();
    void recomputeAge();
    void recomputeService();
    void recomputeTenure();
    void showPeriodSince(DateFieldKind kind, const QLineEdit* adjust, QLabel* years, QLabel* months);
    void refillYaku2(const QString& keep);
    StaffRecord& record();
    void enterDate(int kind);         // B_DAY
    void enterDateAsPeriod(int kind); // DAY_L, double-clicked
    void afterDate(int kind);
    void leaveSchoolOnNewCode();      // S_CODE
    void takeReadingFromName();       // S_NAME
    void fillAddressFromPostalCode(); // S_PNO
    void tidyPostalCode();            // S_PNO, left
    void proposeGrade(int jobTitle);  // S_SN
    void offerPostsOfRank();          // YAKU1

    AppContext& m_context;
    Variant m_variant;
    int m_start;
    int m_recordNumber = 0;
    bool m_single = false;
    qint32 m_presetCode = 0;
    bool m_loading = false;
    bool m_activated = false;
    QDate m_today = QDate::currentDate();
    StaffRecord m_newRecord; // the record being entered past the end of the table
    ReadingCapture m_capture;
    std::optional<QString> m_pendingPreedit; // arrived together with a commit

    QLineEdit *m_name, *m_code, *m_reading, *m_postal, *m_address1, *m_address2, *m_tel, *m_fax, *m_mobile, *m_mail;
    QLineEdit *m_grade, *m_payStep, *m_serviceAdjust, *m_tenureAdjust, *m_remarks;
    QLineEdit *m_surveyYear, *m_surveyMonth, *m_surveyDay;
    QLabel* m_surveyEra;
    QRadioButton *m_man, *m_woman;
    QCheckBox* m_temporary;
    QComboBox *m_jobTitle, *m_yaku1, *m_yaku2;
    QLabel* m_dayLabels[4];
    QPushButton* m_dayButtons[4];
    QLabel *m_age, *m_serviceYears, *m_serviceMonths, *m_tenureYears, *m_tenureMonths;
    QLabel* m_recordLabel;
    UpDown* m_recordSpin;
    UpDown* m_gradeSpin;
    UpDown* m_stepSpin;
};
