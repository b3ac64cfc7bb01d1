#include "window_position.h"

#include "settings_store.h"

using namespace Qt::StringLiterals;

QPoint placeWindow(const QString& leftText, const QString& topText, QSize screen, QSize window, QPoint design)
{
    const QPoint centred((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
    bool okLeft = false;
    bool okTop = false;
    qint64 left = leftText.trimmed().isEmpty() ? 0 : leftText.trimmed().toLongLong(&okLeft);
    qint64 top = topText.trimmed().isEmpty() ? 0 : topText.trimmed().toLongLong(&okTop);
    if ((!leftText.trimmed().isEmpty() && !okLeft) || (!topText.trimmed().isEmpty() && !okTop))
        return centred;
    if (left > screen.width() - 1000)
        left = 0;
    if (top > screen.height() - 1000)
        top = 0;
    QPoint at = design;
    if (left < 0)
        at.setX(centred.x());
    else if (left > 0)
        at.setX(int(left));
    if (top < 0)
        at.setY(centred.y());
    else if (top >= 1)
        at.setY(int(top));
    return at;
}

QPoint WindowPositions::restore(const QString& windowName, QSize screen, QSize window, QPoint design) const
{
    return placeWindow(m_store.get(m_appKey, u"Position"_s, windowName + u" Left"_s, u"0"_s),
                       m_store.get(m_appKey, u"Position"_s, windowName + u" Top"_s, u"0"_s), screen, window,
                       design);
}

void WindowPositions::save(const QString& windowName, QPoint position)
{
    m_store.save(m_appKey, u"Position"_s, windowName + u" Left"_s, QString::number(position.x()));
    m_store.save(m_appKey, u"Position"_s, windowName + u" Top"_s, QString::number(position.y()));
}
