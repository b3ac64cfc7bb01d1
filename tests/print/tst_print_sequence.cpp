#include "periods.h"
#include "print_options_dialog.h"
#include "print_runner.h"
#include "roster_print.h"
#include "sample_roster.h"
#include "staff_list_print.h"
#include "window_context.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
struct Sample : WindowContext {
    Sample()
    {
        store.profile.areaName = store.places.prefectureName;
        SampleOptions o;
        o.schools = 120;
        o.staff = 200;
        o.seed = 5;
        generateSampleRoster(store, o);
        for (const SchoolRecord& school : store.schools)
            context.session.shownSchools.push_back(school.code);
        calcAllAges(store);
    }
};

// Fills in the options form as the clerk does once it opens.
void fillOptions(int copies, int from, int to, PrintDestination where = PrintDestination::Pdf)
{
    QTimer::singleShot(0, [=] {
        QWidget* d = QApplication::activeModalWidget();
        QVERIFY(d);
        d->findChild<QLineEdit*>(u"P_COUNT"_s)->setText(QString::number(copies));
        d->findChild<QComboBox*>(u"P_DEST"_s)->setCurrentIndex(int(where));
        if (from > 0) {
            d->findChild<QRadioButton*>(u"OPT_RANGE"_s)->setChecked(true);
            d->findChild<QSpinBox*>(u"P_FROM"_s)->setValue(from);
            d->findChild<QSpinBox*>(u"P_TO"_s)->setValue(to);
        }
        QTest::mouseClick(d->findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
    });
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}
QString pages(const QString& pdf)
{
    const QString info = run(u"pdfinfo"_s, {pdf});
    const qsizetype at = info.indexOf(u"Pages:"_s);
    return at < 0 ? QString() : info.mid(at, info.indexOf(u'\n', at) - at).simplified();
}
QString text(const QString& pdf)
{
    return run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
}
} // namespace

class TestPrintSequence : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        roster_print::registerRosterJobs();
        registerStaffListJobs();
    }

    void nothingCarriesOverFromOneJobToTheNext()
    {
        QTemporaryDir dir;
        auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
        {
            Sample s;
            // A roster, three copies of pages 2 to 3.
            PrintRequest r = newPrintRequest(s.store, PrintJobCode::Roster25);
            r.pdfPath = path("a.pdf");
            fillOptions(3, 2, 3);
            QVERIFY(printWithDialogs(s.context, r, nullptr));
            QCOMPARE(pages(path("a.pdf")), u"Pages: 6"_s);
            // A look at the roster in the preview, two copies, closed again.
            PrintRequest look = newPrintRequest(s.store, PrintJobCode::Roster25);
            fillOptions(2, 0, 0, PrintDestination::Preview);
            QTimer::singleShot(1500, [] {
                if (QWidget* w = QApplication::activeModalWidget())
                    w->close();
            });
            printWithDialogs(s.context, look, nullptr);
            // Then the staff phone list, then the roster again with the form as it opens.
            PrintRequest list = newPrintRequest(s.store, PrintJobCode::StaffPhoneList);
            list.pdfPath = path("b.pdf");
            list.destination = PrintDestination::Pdf; // the last choice was the preview
            QVERIFY(printWithDialogs(s.context, list, nullptr));
            PrintRequest again = newPrintRequest(s.store, PrintJobCode::Roster25);
            again.pdfPath = path("c.pdf");
            fillOptions(1, 0, 0);
            QVERIFY(printWithDialogs(s.context, again, nullptr));
        }
        {
            Sample fresh;
            PrintRequest list = newPrintRequest(fresh.store, PrintJobCode::StaffPhoneList);
            list.destination = PrintDestination::Pdf;
            list.pdfPath = path("b0.pdf");
            QVERIFY(printWithDialogs(fresh.context, list, nullptr));
            PrintRequest again = newPrintRequest(fresh.store, PrintJobCode::Roster25);
            again.pdfPath = path("c0.pdf");
            fillOptions(1, 0, 0);
            QVERIFY(printWithDialogs(fresh.context, again, nullptr));
        }
        QCOMPARE(pages(path("b.pdf")), pages(path("b0.pdf")));
        QCOMPARE(text(path("b.pdf")), text(path("b0.pdf")));
        QCOMPARE(pages(path("c.pdf")), pages(path("c0.pdf")));
        QCOMPARE(text(path("c.pdf")), text(path("c0.pdf")));
        QVERIFY(pages(path("c.pdf")) != u"Pages: 2"_s);
    }
};

QTEST_MAIN(TestPrintSequence)
#include "tst_print_sequence.moc"
