#pragma once

#include "periods.h"
#include "remembered_dialog.h"

#include <QDate>

struct AppContext;
struct StaffRecord;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// 年月日設定: enters one of a staff member's dates in era notation and writes
// it into the record. resultText() is what the editor shows afterwards:
// the new date, "X" when the date was cleared, "" when nothing changed.
class DaySetDialog : public RememberedDialog {
    Q_OBJECT
public:
    DaySetDialog(AppContext& context, StaffRecord& record, DateFieldKind kind, QWidget* parent = nullptr,
                 const QDate& today = QDate::currentDate());
    const QString& resultText() const { return m_result; }
    QRadioButton* reiwaOption() const { return m_reiwa; }   // REIWA
    QRadioButton* heiseiOption() const { return m_heisei; } // HEISEI
    QRadioButton* showaOption() const { return m_showa; }   // SYOUWA
    QLineEdit* yearBox() const { return m_year; }           // BY
    QLineEdit* monthBox() const { return m_month; }         // BM
    QLineEdit* dayBox() const { return m_day; }             // BD
    QPushButton* okButton() const { return m_ok; }          // B_OK

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildEraRow(QGridLayout* grid);
    void buildDateRow(QGridLayout* grid);
    void buildButtons(QGridLayout* grid);
    void fillBoxes(const QDate& today);
    void storeDate();        // B_OK
    void clearDate();        // B_NO
    void clampDayToMonth();  // BM
    void clampFebruaryDay(); // BY, the era
    void step(int which, bool up);
    int eraBase() const;

    AppContext& m_context;
    StaffRecord& m_record;
    DateFieldKind m_kind;
    QString m_result;
    QRadioButton* m_reiwa;
    QRadioButton* m_heisei;
    QRadioButton* m_showa;
    QLineEdit* m_year;
    QLineEdit* m_month;
    QLineEdit* m_day;
    QPushButton* m_ok;
    bool m_adjusting = false;
};

// 年月数設定: enters a period in years and months; the date is counted back
// from the survey date and written into the record.
class DayBackDialog : public RememberedDialog {
    Q_OBJECT
public:
    DayBackDialog(AppContext& context, StaffRecord& record, DateFieldKind kind, QWidget* parent = nullptr);
    const QString& resultText() const { return m_result; }
    QLineEdit* yearsBox() const { return m_years; }   // BD_Y
    QLineEdit* monthsBox() const { return m_months; } // BD_M
    QPushButton* okButton() const { return m_ok; }    // B_OK

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void storeDateCountedBack(); // B_OK

    AppContext& m_context;
    StaffRecord& m_record;
    DateFieldKind m_kind;
    QString m_result;
    QLineEdit* m_years;
    QLineEdit* m_months;
    QPushButton* m_ok;
};
