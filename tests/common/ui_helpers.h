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
template <typename T>
QTimer* onModal(std::function<void(T*)> act)
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

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

namespace testenv {
// The captions of `window` that do not fit their control: labels and buttons
// narrower or lower than their text needs, grid headers narrower than their
// caption. Run at QT_SCALE_FACTOR=2 too, as on a HiDPI screen.
inline QStringList clippedCaptions(QWidget* window)
{
    QStringList clipped;
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(window) || l->text().isEmpty() || l->wordWrap())
            continue;
        const QSize need = l->sizeHint();
        if (l->width() < need.width() - 1 || l->height() < need.height() - 1)
            clipped << QStringLiteral("label ") + l->text();
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(window) || b->text().isEmpty())
            continue;
        const QSize need = b->minimumSizeHint();
        if (b->width() < need.width() - 1 || b->height() < need.height() - 1)
            clipped << QStringLiteral("button ") + b->text();
    }
    for (QTableView* t : window->findChildren<QTableView*>()) {
        if (!t->isVisibleTo(window) || !t->model())
            continue;
        QHeaderView* h = t->horizontalHeader();
        const QFontMetrics fm(h->font());
        for (int c = 0; c < t->model()->columnCount(); ++c) {
            const QString caption = t->model()->headerData(c, Qt::Horizontal).toString();
            if (h->isSectionHidden(c) || caption.isEmpty())
                continue;
            if (h->sectionSize(c) < fm.horizontalAdvance(caption))
                clipped << QStringLiteral("column ") + caption;
        }
    }
    return clipped;
}
} // namespace testenv
