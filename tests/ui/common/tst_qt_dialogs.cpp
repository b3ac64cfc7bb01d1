// Qt's own dialogs, as the user meets them from プリンタ設定, 印刷, the preview,
// the file dialogs and a message box with details, speak Japanese.
#include "qt_translations.h"
#include "ui_helpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A caption is English when it holds a Latin word that is not one of the
// names a Japanese dialog keeps as they are (paper sizes, PDF, units).
bool isEnglish(QString text)
{
    text.remove(u'&');
    static const QRegularExpression word(u"[A-Za-z]{2,}"_s);
    static const QStringList kept{u"OK"_s,     u"PDF"_s,   u"CUPS"_s,      u"ISO"_s,     u"JIS"_s,
                                  u"mm"_s,     u"cm"_s,    u"pt"_s,        u"in"_s,      u"px"_s,
                                  u"Letter"_s, u"Legal"_s, u"Executive"_s, u"Tabloid"_s, u"Ledger"_s};
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        if (!kept.contains(w))
            return true;
    }
    return false;
}

// Every English caption on the dialog's buttons (and on the actions behind
// its tool buttons), with the button's name, for the failure message.
QStringList englishCaptions(QWidget* dialog)
{
    QStringList found;
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(dialog))
            continue;
        for (const QString& t : {b->text(), b->toolTip()})
            if (isEnglish(t))
                found << QString::fromLatin1(b->metaObject()->className()) + u": "_s + t;
    }
    for (QAction* a : dialog->findChildren<QAction*>())
        if (a->isVisible() && isEnglish(a->text()))
            found << u"action: "_s + a->text();
    for (QGroupBox* g : dialog->findChildren<QGroupBox*>())
        if (g->isVisibleTo(dialog) && isEnglish(g->title()))
            found << u"frame: "_s + g->title();
    if (isEnglish(dialog->windowTitle()))
        found << u"title: "_s + dialog->windowTitle();
    return found;
}

// Buttons of the dialog that carry a caption at all (a dialog whose
// captions were all lost would pass the English check for nothing).
int captionedButtons(QWidget* dialog)
{
    int n = 0;
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        n += b->isVisibleTo(dialog) && !b->text().trimmed().isEmpty();
    return n;
}

bool holdsKana(const QString& text)
{
    for (QChar c : text)
        if ((c.unicode() >= 0x3040 && c.unicode() <= 0x30ff) || (c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff))
            return true;
    return false;
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT
public:
    bool translated = false;

private slots:
    void theTranslationIsLoaded() { QVERIFY2(translated, "qtbase_ja.qm was not found in Qt's translations folder"); }

    void printAndPageSetUp()
    {
        QPrinter printer;
        QPrintDialog print(&printer);
        print.show();
        QVERIFY(QTest::qWaitForWindowExposed(&print));
        QVERIFY(captionedButtons(&print) >= 2);
        QVERIFY2(englishCaptions(&print).isEmpty(), qPrintable(englishCaptions(&print).join(u" | "_s)));
        // The options part the user opens with 「オプション」: Qt gives that
        // button no name, only its place in the dialog's button row. Each of
        // its pages (印刷部数, オプション) is looked at in turn.
        QAbstractButton* options = nullptr;
        for (QDialogButtonBox* row : print.findChildren<QDialogButtonBox*>())
            for (QAbstractButton* b : row->buttons())
                if (row->buttonRole(b) == QDialogButtonBox::ResetRole)
                    options = b;
        QVERIFY2(options, "the print dialog has no options button");
        options->click();
        auto* pages = print.findChild<QTabWidget*>();
        QVERIFY2(pages && pages->isVisibleTo(&print), "the options part did not open");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QVERIFY2(englishCaptions(&print).isEmpty(), qPrintable(englishCaptions(&print).join(u" | "_s)));
        }
        testenv::keepShot(&print, u"qt-print-dialog"_s);

        QPageSetupDialog setUp(&printer);
        setUp.show();
        QVERIFY(QTest::qWaitForWindowExposed(&setUp));
        QVERIFY(captionedButtons(&setUp) >= 2);
        QVERIFY2(englishCaptions(&setUp).isEmpty(), qPrintable(englishCaptions(&setUp).join(u" | "_s)));
        testenv::keepShot(&setUp, u"qt-page-setup"_s);
    }

    void preview()
    {
        QPrinter printer;
        QPrintPreviewDialog preview(&printer);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QVERIFY(preview.findChildren<QAction*>().size() > 10);
        QVERIFY2(englishCaptions(&preview).isEmpty(), qPrintable(englishCaptions(&preview).join(u" | "_s)));
        QVERIFY(holdsKana(preview.windowTitle()));
    }

    void fileDialogs()
    {
        for (QFileDialog::AcceptMode mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
            QFileDialog files(nullptr, u"ファイル読込"_s, QDir::tempPath(), u"職員ファイル (*.NK1)"_s);
            files.setOption(QFileDialog::DontUseNativeDialog); // the dialog Qt itself draws
            files.setAcceptMode(mode);
            files.show();
            QVERIFY(QTest::qWaitForWindowExposed(&files));
            QVERIFY(captionedButtons(&files) >= 2);
            QVERIFY2(englishCaptions(&files).isEmpty(), qPrintable(englishCaptions(&files).join(u" | "_s)));
            for (QLabel* l : files.findChildren<QLabel*>())
                if (l->isVisibleTo(&files))
                    QVERIFY2(!isEnglish(l->text()), qPrintable(l->text()));
        }
    }

    void messageBoxWithDetails()
    {
        QMessageBox box(QMessageBox::Warning, u"なかま帳"_s, u"名簿の保存に失敗しました"_s,
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        box.setDetailedText(u"38MEIBO.NKD"_s);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QAbstractButton* details = nullptr;
        for (QAbstractButton* b : box.findChildren<QAbstractButton*>())
            if (box.buttonRole(b) == QMessageBox::ActionRole)
                details = b;
        QVERIFY(details);
        QVERIFY2(holdsKana(details->text()), qPrintable(details->text()));
        QVERIFY2(englishCaptions(&box).isEmpty(), qPrintable(englishCaptions(&box).join(u" | "_s)));
        details->click(); // and once the details are shown, its other caption
        QVERIFY2(holdsKana(details->text()), qPrintable(details->text()));
        QVERIFY2(englishCaptions(&box).isEmpty(), qPrintable(englishCaptions(&box).join(u" | "_s)));
    }

    void theCheckFindsEnglish()
    {
        // The check itself: an English caption is found, a Japanese one is not.
        QVERIFY(isEnglish(u"&Cancel"_s));
        QVERIFY(isEnglish(u"Show Details..."_s));
        QVERIFY(!isEnglish(u"キャンセル(&C)"_s));
        QVERIFY(!isEnglish(u"A4 (210 x 297 mm)"_s));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestQtDialogs test;
    test.translated = installQtTranslations(app);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qt_dialogs.moc"
