#pragma once

#include <QWidget>

class QToolButton;

// A pair of small arrow buttons beside a box. The window decides what a step
// means; the buttons only say which way.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void up();
    void down();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
