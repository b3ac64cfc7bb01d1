#include "view_window.h"

#include <QMdiArea>
#include <QMdiSubWindow>

bool attachViewWindow(QWidget* window, const std::function<void()>& activate)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area)
        return false;
    // The frame less the margins of the original design, at the top left.
    sub->move(0, 0);
    sub->resize(std::max(600, area->width() - 27), std::max(400, area->height() - 20));
    QObject::connect(area, &QMdiArea::subWindowActivated, window, [sub, activate](QMdiSubWindow* active) {
        if (active == sub)
            activate();
    });
    if (area->activeSubWindow() == sub)
        activate();
    return true;
}
