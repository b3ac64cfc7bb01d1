#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class SettingsStore;

// Window positions are kept in twips (15 to a pixel), under the program's
// "Position" section as "<window> Left" and "<window> Top".
namespace twips {
inline constexpr int kPerPixel = 15;
inline int fromPixels(int px) { return px * kPerPixel; }
inline int toPixels(int tw) { return tw / kPerPixel; }
} // namespace twips

// Where a window opens, in twips, from its saved Left and Top texts: a value
// beyond the screen less 1000 counts as 0; a negative one centres that axis;
// a positive one (Top at least 1) is taken; 0 keeps the design position.
// Text that is not a number centres the window.
QPoint placeWindow(const QString& leftText, const QString& topText, QSize screen, QSize window, QPoint design);

class WindowPositions {
public:
    WindowPositions(SettingsStore& store, QString appKey) : m_store(store), m_appKey(std::move(appKey)) {}
    void setAppKey(const QString& appKey) { m_appKey = appKey; }
    const QString& appKey() const { return m_appKey; }
    SettingsStore& settings() const { return m_store; }

    QPoint restore(const QString& windowName, QSize screen, QSize window, QPoint design) const;
    void save(const QString& windowName, QPoint position);

private:
    SettingsStore& m_store;
    QString m_appKey;
};
