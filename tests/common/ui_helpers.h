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
