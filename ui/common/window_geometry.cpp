#include "window_geometry.h"

#include "window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
QSize screenTwips(const QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize px = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    return QSize(twips::fromPixels(px.width()), twips::fromPixels(px.height()));
}
} // namespace

void restoreWindowPosition(QWidget* window, const WindowPositions& positions)
{
    const QSize size(twips::fromPixels(window->frameGeometry().width()),
                     twips::fromPixels(window->frameGeometry().height()));
    const QPoint design(twips::fromPixels(window->x()), twips::fromPixels(window->y()));
    const QPoint at = positions.restore(window->objectName(), screenTwips(window), size, design);
    window->move(twips::toPixels(at.x()), twips::toPixels(at.y()));
}

void saveWindowPosition(const QWidget* window, WindowPositions& positions)
{
    positions.save(window->objectName(), QPoint(twips::fromPixels(window->x()), twips::fromPixels(window->y())));
}
