#pragma once

#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls every window builds, named after the program's control names.
QLineEdit* makeEdit(const QString& name, QWidget* parent, int width = 0, int maxLength = 0);
// A right-aligned box for a short number.
QLineEdit* makeNumberBox(const QString& name, QWidget* parent, int width, int maxLength);
// A button that Enter in a box does not press.
QPushButton* makeButton(const QString& name, const QString& text, QWidget* parent);
QCheckBox* makeCheck(const QString& name, const QString& text, QWidget* parent);
