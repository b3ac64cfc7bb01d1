#include "remembered_dialog.h"

#include "window_geometry.h"

RememberedDialog::RememberedDialog(WindowPositions& positions, QWidget* parent)
    : QDialog(parent), m_positions(positions)
{
}

void RememberedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        restoreWindowPosition(this, m_positions);
    }
}

void RememberedDialog::done(int result)
{
    saveWindowPosition(this, m_positions);
    QDialog::done(result);
}
