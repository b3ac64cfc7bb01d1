#pragma once

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>

namespace testenv {
// Types Japanese text the way an input method delivers it: a preedit of the
// kana, then the committed text. ASCII goes through ordinary key clicks.
inline void typeText(QWidget* target, const QString& text, const QString& preedit = QString())
{
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii && preedit.isEmpty()) {
        QTest::keyClicks(target, text);
        return;
    }
    target->setFocus();
    if (!preedit.isEmpty()) {
        QInputMethodEvent compose(preedit, {});
        QCoreApplication::sendEvent(target, &compose);
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(target, &commit);
}
} // namespace testenv

namespace testenv {
// With NAKAMA_SHOTS set to a folder, keeps a picture of the window there so a
// developer can look at what the test drove.
inline void keepShot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("NAKAMA_SHOTS");
    if (!folder.isEmpty())
        window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
} // namespace testenv

#include <QApplication>
#include <QTimer>
#include <functional>

namespace testenv {
// Acts on the next modal dialog of type T once it is up (dialogs run their
// own event loop, so the test hands over what to do before opening them).
// Returns the watcher; delete it when the dialog may never come.
template <typename T> QTimer* onModal(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto started = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, started] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        } else if (++*started > 2000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return timer;
}
} // namespace testenv
