#pragma once

#include <QStringList>

class RosterStore;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// The controls every window builds, named after the program's control names.
QLineEdit* makeEdit(const QString& name, QWidget* parent, int width = 0, int maxLength = 0);
// A right-aligned box for a short number.
QLineEdit* makeNumberBox(const QString& name, QWidget* parent, int width, int maxLength);
// A button that Enter in a box does not press.
QPushButton* makeButton(const QString& name, const QString& text, QWidget* parent);
QCheckBox* makeCheck(const QString& name, const QString& text, QWidget* parent);
QRadioButton* makeRadio(const QString& name, const QString& text, QWidget* parent);
QComboBox* makeChoice(const QString& name, QWidget* parent, int minimumWidth = 0);

// The OK and ｷｬﾝｾﾙ buttons of a small dialog, to the right of their row.
struct OkCancelRow {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};
OkCancelRow makeOkCancelRow(QWidget* dialog, const QString& okName, const QString& okText, const QString& cancelName);

// The three school-kind boxes of an extraction (CHK_ES 小学校, CHK_JHS
// 中学校, CHK_TS 養護学校) and the kind bits they stand for (1, 2, 4).
struct SchoolKindChecks {
    QCheckBox* elementary = nullptr;
    QCheckBox* junior = nullptr;
    QCheckBox* special = nullptr;

    static SchoolKindChecks make(QWidget* parent);
    int kinds() const;
    void show(int kinds) const;
};

// The areas a list offers to choose from: the open year's, or the present
// ones while its table names none.
QStringList shownAreaNames(const RosterStore& store);
