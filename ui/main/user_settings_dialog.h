#pragma once

#include "remembered_dialog.h"

struct AppContext;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

// 環境設定: the area name and user ID, the school order, row numbering, the
// age rule and the print position corrections. On OK the fields go into the
// user's profile and `accepted` is where the caller writes them out.
class UserSettingsDialog : public RememberedDialog {
    Q_OBJECT
public:
    UserSettingsDialog(AppContext& context, QWidget* parent = nullptr);

    bool correctionsShown() const;
    QLineEdit* areaBox() const { return m_area; }         // SC_NAME
    QCheckBox* textCopyBox() const { return m_textCopy; } // CH_T

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    QGridLayout* buildAreaRows();
    QHBoxLayout* buildOptionBoxes();
    QHBoxLayout* buildNumberingRow();
    void buildCorrections();
    void storeSettings(); // B_OK
    void toggleCorrections();

    AppContext& m_context;
    QLineEdit* m_area;
    QLineEdit* m_userId;
    QRadioButton* m_byCode;
    QRadioButton* m_byNumber;
    QRadioButton* m_kindFirst;
    QRadioButton* m_municipalityFirst;
    QCheckBox* m_numberSchools;
    QRadioButton* m_ageBeforeBirthday;
    QRadioButton* m_ageOnBirthday;
    QLineEdit* m_offsets[4];
    QCheckBox* m_textCopy;
    QLabel* m_areaLabel;
    QLabel* m_numberLabel;
    QGroupBox* m_corrections;
};

// Reads an offset box as the program always has: the leading number, or 0.
double offsetValue(const QString& text);
QString offsetText(double value); // "###0.0"
