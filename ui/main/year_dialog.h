#pragma once

#include "remembered_dialog.h"

#include <QDate>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UserNotifier;

// 名簿作成年度: which roster year to open and which list to show first.
class YearDialog : public RememberedDialog {
    Q_OBJECT
public:
    YearDialog(WindowPositions& positions, UserNotifier& notifier, const QDate& today, QWidget* parent = nullptr);

    int year() const { return m_year; }            // set when accepted
    int initialView() const;                       // 1 学校リスト, 2 職員リスト, 3 集計
    QLineEdit* yearBox() const { return m_entry; } // T_Y
    QRadioButton* viewOption(int view) const { return m_views[view - 1]; } // OPT1..OPT3, by initialView()
    QPushButton* okButton() const { return m_ok; }                         // OK

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openChosenYear(); // OK
    void showBothYears();  // T_Y

    UserNotifier& m_notifier;
    QDate m_today;
    QLineEdit* m_entry;
    QLabel* m_both;
    QRadioButton* m_views[3];
    QPushButton* m_ok;
    int m_year = 0;
};
