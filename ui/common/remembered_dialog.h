#pragma once

#include <QDialog>

class WindowPositions;

// A dialog that opens where the user last left it and remembers where it
// was closed, under its object name.
class RememberedDialog : public QDialog {
    Q_OBJECT
public:
    RememberedDialog(WindowPositions& positions, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    WindowPositions& m_positions;
    bool m_placed = false;
};
