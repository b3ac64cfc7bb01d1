#include "app_context.h"
#include "file_ops.h"
#include "painter_device.h"
#include "pdf_file.h"
#include "print_framework.h"
#include "print_options_dialog.h"
#include "print_progress_dialog.h"
#include "print_runner.h"
#include "recording_device.h"
#include "settings_store.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {};

constexpr auto kRoster = PrintJobCode::Roster25;

// A one-line page, printed as the job of `code`.
PrintRequest oneLine(PrintJobCode code, qint16 copies)
{
    PrintRequest r = PrintRequest::forJob(code, [](PrintJobContext& c) {
        setupReportPage(c.device, u"A4"_s, u"V"_s);
        resetPage(c.device);
        c.device.currentX = 10;
        c.device.currentY = 10;
        c.device.print(u"一部"_s);
    });
    r.options.copies = copies;
    return r;
}

int countKind(const RecordingDevice& d, RecordingDevice::Primitive::Kind kind)
{
    int n = 0;
    for (const auto& p : d.primitives)
        n += p.kind == kind ? 1 : 0;
    return n;
}
} // namespace

class TestPrintFramework : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerTestPage(); }

    void fittingTextToAWidth()
    {
        RecordingDevice d;
        d.font.face = u"ＭＳ 明朝"_s;
        const QString name = u"瑠璃市立星ヶ丘小学校"_s;
        fitTextToWidth(d, name, 12, 30);
        QVERIFY(d.textWidth(name) < 30);
        const float fitted = d.font.size;
        d.font.size = fitted + 0.2f;
        QVERIFY(d.textWidth(name) >= 30); // the first size under the limit, not any smaller one
        QVERIFY(fitted < 12 && fitted > 5);

        fitTextToWidth(d, name, 12, 3); // never fits: stops at about 5 pt
        QVERIFY(d.font.size >= 5.0f && d.font.size < 5.2f);

        fitTextToWidth(d, name, 12, 1000); // fits at once
        QCOMPARE(d.font.size, 12.0f);

        const QString longer = u"瑠璃東部学校組合立星ヶ丘特別支援学校"_s;
        fitTextToWidth(d, name, longer, 12, 40, 0.1f);
        QVERIFY(d.textWidth(name) < 40 && d.textWidth(longer) < 40);
        d.font.size += 0.1f;
        QVERIFY(d.textWidth(longer) >= 40);
    }

    void pageOriginAndNumbers()
    {
        Fixture f;
        RecordingDevice d;
        d.printableMm = QSizeF(200, 287);
        d.printableOffsetMm = QPointF(4.5, 3.25);
        setupReportPage(d, u"A4"_s, u"V"_s);
        QCOMPARE(d.printableWidthMm, 200.0f);
        QCOMPARE(d.printableHeightMm, 287.0f);
        QVERIFY(std::abs(d.printerOffsetXMm - 4.5f) < 0.01f);
        QVERIFY(std::abs(d.printerOffsetYMm - 3.25f) < 0.01f);
        QCOMPARE(d.font.face, u"ＭＳ 明朝"_s);
        QCOMPARE(d.font.size, 14.0f);

        // A design wider than the printable area moves left by the shortfall.
        reportOrigin(d, 210, 297, 5, 8);
        QVERIFY(std::abs(d.scaleLeft - (4.5 + 10 - 5)) < 0.01);
        QVERIFY(std::abs(d.scaleTop - (3.25 + 10 - 8)) < 0.01);
        resetPage(d);
        QCOMPARE(d.font.size, 12.0f);
        QCOMPARE(d.lineWidth, 1);
        d.currentX = 20;
        d.currentY = 30;
        d.print(u"学校"_s);
        const auto t = d.findText(u"学校"_s);
        QVERIFY(t);
        // 20 mm of the layout lies 20 + 5 mm from the paper's edge, less the shortfall.
        QVERIFY(std::abs(t->paper1.x() - (20 + 5 - 10)) < 0.01);
        QVERIFY(std::abs(t->paper1.y() - (30 + 8 - 10)) < 0.01);
        QCOMPARE(d.currentX, d.scaleLeft); // the next line starts at the left edge
        QVERIFY(d.currentY > 30);

        PrintOptions o;
        o.startPage = 5;
        QCOMPARE(pageNumberText(o, 0), u"5"_s);
        QCOMPARE(pageNumberText(o, 2), u"7"_s);
        o.pagePrefix = 2;
        o.startPage = 1;
        QCOMPARE(pageNumberText(o, 0), u"2-1"_s);
        QCOMPARE(pageNumberText(o, 1), u"2-2"_s);
        o.startPage = 0;
        QCOMPARE(pageNumberText(o, 3), QString());
    }

    void copiesOnlyWhereTheJobPrintsCopies()
    {
        Fixture f;
        RecordingDevice d;
        QVERIFY(runPrintJob(d, f.store, oneLine(kRoster, 0)));
        QCOMPARE(d.texts().size(), 1); // 0 copies: once
        QVERIFY(d.ended);

        RecordingDevice three;
        QVERIFY(runPrintJob(three, f.store, oneLine(kRoster, 3)));
        QCOMPARE(three.texts().size(), 3);
        QCOMPARE(countKind(three, RecordingDevice::Primitive::NewPage), 2);
        RecordingDevice officers;
        QVERIFY(runPrintJob(officers, f.store, oneLine(PrintJobCode::OfficerRoster, 2)));
        QCOMPARE(officers.texts().size(), 2);

        // Every other job prints once, whatever the request says.
        for (const PrintJobInfo& info : printJobCatalogue()) {
            if (info.loopsCopies)
                continue;
            RecordingDevice once;
            QVERIFY(runPrintJob(once, f.store, oneLine(info.code, 3)));
            QVERIFY2(once.texts().size() == 1, qPrintable(QString::fromUtf16(info.name)));
        }
        const QList<PrintJobCode> copying{PrintJobCode::Roster25,       PrintJobCode::Roster20,
                                          PrintJobCode::SchoolContacts, PrintJobCode::RosterWide,
                                          PrintJobCode::StaffContacts,  PrintJobCode::OfficerRoster};
        for (const PrintJobInfo& info : printJobCatalogue())
            QCOMPARE(info.loopsCopies, copying.contains(info.code));

        // The next print starts from a fresh request: three copies of a
        // roster leave nothing behind for the survey forms after it.
        PrintRequest next = newPrintRequest(f.store, PrintJobCode::SurveyForms);
        QCOMPARE(next.options.copies, qint16(1));
        QVERIFY(next.options.heading.isEmpty());
    }

    void aJobWithoutADrawingPrintsNothing()
    {
        Fixture f;
        RecordingDevice none;
        PrintOutcome outcome = PrintOutcome::Printed;
        QVERIFY(!runPrintJob(none, f.store, PrintRequest::forJob(PrintJobCode::NameLabels), nullptr, &outcome));
        QCOMPARE(outcome, PrintOutcome::NoSuchJob);
        QVERIFY(none.primitives.isEmpty());
    }

    void correctionsComeWithTheRequest()
    {
        Fixture f;
        f.store.profile.printOffsets = {1.5f, 2.0f, -1.0f, 0.5f};
        RecordingDevice corrected;
        PrintRequest r = newPrintRequest(f.store, kRoster, oneLine(kRoster, 1).body);
        QVERIFY(runPrintJob(corrected, f.store, r));
        const auto t = corrected.findText(u"一部"_s);
        QVERIFY(t && std::abs(t->paper1.x() - 11.5) < 0.01 && std::abs(t->paper1.y() - 12.0) < 0.01);
        // A request made before the corrections changed keeps its own; the
        // device takes what each request says.
        RecordingDevice plain;
        QVERIFY(runPrintJob(plain, f.store, oneLine(kRoster, 1)));
        const auto u = plain.findText(u"一部"_s);
        QVERIFY(u && std::abs(u->paper1.x() - 10) < 0.01 && std::abs(u->paper1.y() - 10) < 0.01);
    }

    void eachDeviceMeasuresItsOwnOffsets()
    {
        // A printer with margins, then a borderless destination: the heading
        // of the second roster lands where the layout puts it on paper.
        Fixture f;
        PrintRequest heading = PrintRequest::forJob(kRoster, [](PrintJobContext& c) {
            setupPaperReport(c.device);
            resetPage(c.device);
            c.device.currentX = 25;
            c.device.currentY = 10;
            c.device.print(u"見出し"_s);
        });
        RecordingDevice printer;
        printer.printableOffsetMm = QPointF(4.23, 6.1);
        printer.printableMm = QSizeF(205, 290);
        QVERIFY(runPrintJob(printer, f.store, heading));
        RecordingDevice pdf;
        QVERIFY(runPrintJob(pdf, f.store, heading));
        const auto onPrinter = printer.findText(u"見出し"_s);
        const auto onPdf = pdf.findText(u"見出し"_s);
        QVERIFY(onPrinter && onPdf);
        QVERIFY(std::abs(onPdf->paper1.x() - 25) < 0.01 && std::abs(onPdf->paper1.y() - 10) < 0.01);
        // On the printer the page moves up and left by what its area lacks of A4.
        QVERIFY(std::abs(onPrinter->paper1.x() - (25 - 5)) < 0.01 && std::abs(onPrinter->paper1.y() - (10 - 7)) < 0.01);
        QCOMPARE(pdf.printerOffsetXMm, 0.0f);

        // A real PDF printer after a label page set-up on another printer.
        RecordingDevice labels;
        labels.printableOffsetMm = QPointF(5, 5);
        setupLabelPage(labels, false);
        QVERIFY(std::abs(labels.printerOffsetXMm - 5) < 0.01);
        const QString path = f.dir.filePath(u"after-labels.pdf"_s);
        PrintRequest toPdf = heading;
        toPdf.pdfPath = path;
        PrintOutcome outcome = PrintOutcome::NoSuchJob;
        QVERIFY(printToPdf(f.store, toPdf, &outcome));
        QCOMPARE(outcome, PrintOutcome::Printed);
    }

    void aDestinationThatCannotBeOpenedIsAFailure()
    {
        Fixture f;
        const QString path = u"/no/such/folder/x.pdf"_s;
        PrintRequest r = oneLine(kRoster, 2);
        r.pdfPath = path;
        PrintOutcome outcome = PrintOutcome::Printed;
        QVERIFY(!printToPdf(f.store, r, &outcome));
        QCOMPARE(outcome, PrintOutcome::DeviceFailed);
        QVERIFY(!QFileInfo::exists(path));

        // From a window: the user hears it, and nothing counts as printed.
        r.destination = PrintDestination::Pdf;
        QVERIFY(!printDirect(f.context, r, nullptr));
        QCOMPARE(f.notifier.messages.size(), 1);
        QCOMPARE(f.notifier.messages[0].text, u"印刷できませんでした"_s);
        QVERIFY(f.notifier.messages[0].detail.contains(path));

        // A file that can be written is printed, and nobody is told anything.
        r.pdfPath = f.dir.filePath(u"fine.pdf"_s);
        QVERIFY(printDirect(f.context, r, nullptr));
        QCOMPARE(f.notifier.messages.size(), 1);
        QVERIFY(QFileInfo(r.pdfPath).size() > 0);
    }

    void thePrinterKeepsNoCopiesOrPagesFromAnEarlierDialog()
    {
        // The platform's printer dialog can leave copies and a page range on
        // the program's printer; a print asks for its own, so neither may
        // multiply or cut what the next print to the printer sends.
        Fixture f;
        QPrinter& printer = sharedPrinter();
        const QString spooled = f.dir.filePath(u"spooled.pdf"_s);
        printer.setOutputFileName(spooled); // the printer, writing what it would send
        printer.setCopyCount(3);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
        PrintRequest r = oneLine(kRoster, 2);
        r.destination = PrintDestination::Printer;
        const bool printed = printDirect(f.context, r, nullptr);
        const int copies = printer.copyCount();
        const QPrinter::PrintRange range = printer.printRange();
        const int from = printer.fromPage();
        printer.setOutputFileName(QString());
        QVERIFY(printed);
        QCOMPARE(copies, 1);
        QCOMPARE(range, QPrinter::AllPages);
        QCOMPARE(from, 0);
        QVERIFY(QFileInfo(spooled).size() > 0);
    }

    void aStopDuringTheFirstPagePrintsNothing()
    {
        Fixture f;
        static bool clickStop = true;
        const PrintRequest pages = PrintRequest::forJob(kRoster, [](PrintJobContext& c) {
            setupReportPage(c.device, u"A4"_s, u"V"_s);
            for (int page = 0; page < 50; ++page) {
                if (page > 0)
                    c.device.newPage();
                resetPage(c.device);
                c.device.currentX = 10;
                c.device.currentY = 10;
                c.device.print(u"頁"_s);
                if (page == 0 && clickStop) {
                    // The user presses 中止 while the first page is drawn.
                    QTimer::singleShot(0, [] {
                        auto* dialog = qobject_cast<PrintProgressDialog*>(QApplication::activeModalWidget());
                        QTest::mouseClick(dialog->findChild<QPushButton*>(u"B_STOP"_s), Qt::LeftButton);
                    });
                }
                if (c.stopRequested())
                    return;
            }
        });
        RecordingDevice d;
        PrintProgressDialog dialog(d, f.store, pages);
        QCOMPARE(dialog.windowTitle(), u"印刷"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"B_STOP"_s)->text(), u"中止"_s);
        dialog.exec();
        QVERIFY(d.aborted);
        QVERIFY(!d.ended);
        QVERIFY(!dialog.printed());
        QCOMPARE(d.page(), 1);
        QCOMPARE(dialog.outcome(), PrintOutcome::Stopped);

        clickStop = false;
        RecordingDevice whole;
        PrintProgressDialog run(whole, f.store, pages);
        run.exec();
        QVERIFY(run.printed());
        QCOMPARE(whole.page(), 50);
        QVERIFY(whole.ended && !whole.aborted);
    }

    void theOptionsForm()
    {
        Fixture f;
        f.store.fiscalYear = 38;
        PrintRequest g = PrintRequest::forJob(PrintJobCode::Roster25);
        g.options.heading = u"前の見出し"_s;
        g.options.copies = 4;
        {
            PrintOptionsDialog d(f.context, g);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            auto* list = d.findChild<QListWidget*>(u"P_LIST"_s);
            QCOMPARE(list->count(), 4);
            QCOMPARE(list->currentRow(), 3);
            QVERIFY(d.findChild<QCheckBox*>(u"CHK_UP"_s)->isVisible());
            QVERIFY(!d.findChild<QCheckBox*>(u"CHK1"_s)->isVisible());
            QCOMPARE(d.findChild<QLineEdit*>(u"P_COUNT"_s)->text(), u"1"_s);
            testenv::keepShot(&d, u"prt_set"_s);
            auto* title = d.findChild<QLabel*>(u"Label1"_s);
            QCOMPARE(title->text(), u"なかま帳印刷"_s);
            QTest::mouseDClick(title, Qt::LeftButton);
            QTest::mouseDClick(title, Qt::LeftButton);
            QCOMPARE(list->count(), 5); // added once only
            d.findChild<QLineEdit*>(u"P_HED"_s)->setText(u"変えた見出し"_s);
            d.close(); // the close box: cancelled
        }
        QCOMPARE(g.job, PrintJobCode::None);
        QCOMPARE(g.options.heading, u"前の見出し"_s);
        QCOMPARE(g.options.copies, qint16(4));

        // From a narrowed school list the layouts make their headings.
        f.context.session.schoolFilter.area = u"北部地区"_s;
        f.context.session.schoolFilter.district = u"北瑠璃東地区"_s;
        g.job = PrintJobCode::Roster25;
        {
            PrintOptionsDialog d(f.context, g);
            auto* list = d.findChild<QListWidget*>(u"P_LIST"_s);
            auto* heading = d.findChild<QLineEdit*>(u"P_HED"_s);
            QCOMPARE(heading->text(), u"(北部地区) 地区名  北瑠璃東地区"_s);
            list->setCurrentRow(1);
            QCOMPARE(g.job, PrintJobCode::Roster20);
            QCOMPARE(heading->text(), u"令和８年度北瑠璃東地区学校事務職員名簿"_s);
            list->setCurrentRow(0);
            QVERIFY(!d.findChild<QCheckBox*>(u"CHK1"_s)->isHidden());
            d.findChild<QCheckBox*>(u"CHK1"_s)->setChecked(true);
            d.findChild<QCheckBox*>(u"PRT_S_NO"_s)->setChecked(true);
            heading->setText(u"表題"_s);
            d.findChild<QLineEdit*>(u"P_NO(0)"_s)->setText(u"2"_s);
            d.findChild<QLineEdit*>(u"P_COUNT"_s)->setText(u"99999"_s); // beyond 16 bits: refused
            QTest::mouseClick(d.findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
            QVERIFY(!d.started());
            QCOMPARE(f.notifier.messages.size(), 1);
            d.findChild<QLineEdit*>(u"P_COUNT"_s)->setText(QString());
            QTest::mouseClick(d.findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
            QVERIFY(d.started());
        }
        QCOMPARE(g.job, PrintJobCode::Roster25);
        QCOMPARE(g.options.heading, u"表題"_s);
        QCOMPARE(g.options.pagePrefix, qint16(2));
        QCOMPARE(g.options.startPage, qint16(1));
        QCOMPARE(g.options.copies, qint16(0)); // an empty count: printed once
        QCOMPARE(g.options.flags, qint16(PrintOptions::OmitSubstitutes | PrintOptions::OmitGradeStep));
        QCOMPARE(f.settings.get(u"NAKAMA-CHO"_s, u"PRINT"_s, u"HED10"_s), u"表題"_s);

        // Page numbers off: both numbers are 0 whatever the boxes say.
        g.job = PrintJobCode::Tallies;
        f.context.session.selections.tallyArea = u"北部地区"_s;
        f.context.session.selections.tallyDistrict = u"北瑠璃西地区"_s;
        {
            PrintOptionsDialog d(f.context, g);
            QCOMPARE(d.findChild<QLabel*>(u"Label1"_s)->text(), u"集計表印刷"_s);
            QVERIFY(d.findChild<QListWidget*>(u"P_LIST"_s)->isHidden());
            QCOMPARE(d.findChild<QLineEdit*>(u"P_HED"_s)->text(),
                     u"令和８年度　学校事務職員集計(北部地区.北瑠璃西地区)"_s);
            d.findChild<QLineEdit*>(u"P_NO(1)"_s)->setText(u"5"_s);
            QTest::mouseClick(d.findChild<QCheckBox*>(u"CHK_NO"_s), Qt::LeftButton);
            QVERIFY(!d.findChild<QLineEdit*>(u"P_NO(1)"_s)->isEnabled());
            QTest::mouseClick(d.findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
        }
        QCOMPARE(g.job, PrintJobCode::Tallies);
        QCOMPARE(g.options.startPage, qint16(0));
        QCOMPARE(g.options.pagePrefix, qint16(0));
        g.job = PrintJobCode::OfficerRoster;
        g.options = PrintOptions{};
        PrintOptionsDialog officers(f.context, g);
        QCOMPARE(officers.findChild<QLineEdit*>(u"P_HED"_s)->text(), u"令和８年度　役員"_s);
    }

    void aPageRangeFromTheOptionsForm()
    {
        Fixture f;
        f.store.fiscalYear = 38;
        PrintRequest g = PrintRequest::forJob(PrintJobCode::OfficerRoster);
        g.firstPage = 7; // what an earlier reprint asked: not kept
        g.lastPage = 9;
        {
            PrintOptionsDialog d(f.context, g);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            auto* all = d.findChild<QRadioButton*>(u"OPT_ALL"_s);
            auto* range = d.findChild<QRadioButton*>(u"OPT_RANGE"_s);
            auto* from = d.findChild<QSpinBox*>(u"P_FROM"_s);
            auto* to = d.findChild<QSpinBox*>(u"P_TO"_s);
            QVERIFY(all && range && from && to);
            QVERIFY(all->isChecked());
            QVERIFY(!from->isEnabled() && !to->isEnabled());
            // By keyboard: the choice, then the first page, Tab, the last page.
            range->setFocus();
            QTest::keyClick(range, Qt::Key_Space);
            QVERIFY(range->isChecked());
            QVERIFY(from->isEnabled() && to->isEnabled());
            QCOMPARE(QApplication::focusWidget(), from);
            // An arrow key from 全ページ onto ページ指定 lands in the first page box too.
            all->setChecked(true);
            QVERIFY(!from->isEnabled());
            all->setFocus();
            QTest::keyClick(all, Qt::Key_Right);
            QVERIFY(range->isChecked());
            QTRY_COMPARE(QApplication::focusWidget(), from);
            QTest::keyClicks(QApplication::focusWidget(), u"2"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), to);
            QTest::keyClicks(QApplication::focusWidget(), u"3"_s);
            QCOMPARE(from->value(), 2);
            QCOMPARE(to->value(), 3);
            testenv::keepShot(&d, u"prt_set_range"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(d.started());
        }
        QCOMPARE(g.firstPage, 2);
        QCOMPARE(g.lastPage, 3);
        QCOMPARE(g.job, PrintJobCode::OfficerRoster);

        // The next opening starts from 全ページ; full-width digits are pages
        // too, and the last page follows a first page typed past it.
        {
            PrintOptionsDialog d(f.context, g);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QVERIFY(d.findChild<QRadioButton*>(u"OPT_ALL"_s)->isChecked());
            QTest::mouseClick(d.findChild<QRadioButton*>(u"OPT_RANGE"_s), Qt::LeftButton);
            auto* from = d.findChild<QSpinBox*>(u"P_FROM"_s);
            auto* to = d.findChild<QSpinBox*>(u"P_TO"_s);
            // Full-width digits come from the input method as a commit.
            QInputMethodEvent commit;
            commit.setCommitString(u"１２"_s);
            from->selectAll();
            QApplication::sendEvent(from->findChild<QLineEdit*>(), &commit);
            QCOMPARE(from->value(), 12);
            QCOMPARE(to->value(), 12);
            // Back to 全ページ: the whole job, whatever the boxes hold.
            QTest::mouseClick(d.findChild<QRadioButton*>(u"OPT_ALL"_s), Qt::LeftButton);
            QVERIFY(!from->isEnabled());
            QTest::mouseClick(d.findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
        }
        QCOMPARE(g.firstPage, 1);
        QCOMPARE(g.lastPage, 0);
        QVERIFY(g.wholeJob());
    }

    void aRangePastTheEndIsToldAndWritesNoFile()
    {
        Fixture f;
        f.store.fiscalYear = 38;
        const QString pdf = f.dir.filePath(u"reprint.pdf"_s);
        PrintRequest r = PrintRequest::forJob(PrintJobCode::OfficerRoster, [](PrintJobContext& c) {
            setupPaperReport(c.device);
            for (int page = 0; page < 3; ++page) {
                if (!startReportPage(c, page))
                    return;
                c.device.currentX = 20;
                c.device.currentY = 20;
                c.device.print(pageNumberText(c.options(), page));
            }
        });
        r.destination = PrintDestination::Pdf;
        r.pdfPath = pdf;
        // The form asks for pages 4 to 5 of a three-page job.
        testenv::onModal<PrintOptionsDialog>([](PrintOptionsDialog* d) {
            QTest::mouseClick(d->findChild<QRadioButton*>(u"OPT_RANGE"_s), Qt::LeftButton);
            d->findChild<QSpinBox*>(u"P_FROM"_s)->setValue(4);
            d->findChild<QSpinBox*>(u"P_TO"_s)->setValue(5);
            QTest::mouseClick(d->findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
        });
        QVERIFY(!printWithDialogs(f.context, r, nullptr));
        QVERIFY(!QFileInfo::exists(pdf));
        QCOMPARE(f.notifier.messages.size(), 1);
        QCOMPARE(f.notifier.messages[0].text, noSuchPagesText());

        // Page 3 alone is the third page, numbered as it was.
        testenv::onModal<PrintOptionsDialog>([](PrintOptionsDialog* d) {
            QTest::mouseClick(d->findChild<QRadioButton*>(u"OPT_RANGE"_s), Qt::LeftButton);
            d->findChild<QSpinBox*>(u"P_FROM"_s)->setValue(3);
            QTest::mouseClick(d->findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
        });
        QVERIFY(printWithDialogs(f.context, r, nullptr));
        QCOMPARE(f.notifier.messages.size(), 1);
        QProcess text;
        text.start(u"pdftotext"_s, {pdf, u"-"_s});
        QVERIFY(text.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(text.readAllStandardOutput()).simplified(), u"3"_s);

        // In the preview: no empty preview stays open, the message comes.
        r.destination = PrintDestination::Preview;
        testenv::onModal<PrintOptionsDialog>([](PrintOptionsDialog* d) {
            QTest::mouseClick(d->findChild<QRadioButton*>(u"OPT_RANGE"_s), Qt::LeftButton);
            d->findChild<QSpinBox*>(u"P_FROM"_s)->setValue(9);
            QTest::mouseClick(d->findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
        });
        bool leftOpen = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&leftOpen] {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                leftOpen = true;
                preview->reject();
            }
        });
        watchdog.start(5000);
        QVERIFY(!printWithDialogs(f.context, r, nullptr));
        watchdog.stop();
        QVERIFY(!leftOpen);
        QCOMPARE(f.notifier.messages.size(), 2);
        QCOMPARE(f.notifier.messages[1].text, noSuchPagesText());
    }

    void aPdfFromTheWindowsReplacesTheOldOneOnlyWhenWhole()
    {
        Fixture f;
        f.store.fiscalYear = 38;
        QVERIFY(QDir(f.dir.path()).mkdir(u"out"_s));
        const QString out = f.dir.filePath(u"out"_s);
        const QString pdf = out + u"/roster.pdf"_s;
        static int stopAt = -1;
        PrintRequest r = PrintRequest::forJob(kRoster, [](PrintJobContext& c) {
            setupPaperReport(c.device);
            for (int page = 0; page < 20; ++page) {
                if (!startReportPage(c, page))
                    return;
                c.device.currentX = 20;
                c.device.currentY = 20;
                c.device.print(pageNumberText(c.options(), page));
                if (page == stopAt)
                    QTimer::singleShot(0, [] {
                        auto* dialog = qobject_cast<PrintProgressDialog*>(QApplication::activeModalWidget());
                        QTest::mouseClick(dialog->findChild<QPushButton*>(u"B_STOP"_s), Qt::LeftButton);
                    });
            }
        });
        r.destination = PrintDestination::Pdf;
        r.pdfPath = pdf;
        auto start = [](int from = 0, int to = 0) {
            testenv::onModal<PrintOptionsDialog>([from, to](PrintOptionsDialog* d) {
                if (from > 0) {
                    QTest::mouseClick(d->findChild<QRadioButton*>(u"OPT_RANGE"_s), Qt::LeftButton);
                    d->findChild<QSpinBox*>(u"P_FROM"_s)->setValue(from);
                    d->findChild<QSpinBox*>(u"P_TO"_s)->setValue(to);
                }
                QTest::mouseClick(d->findChild<QPushButton*>(u"B_START"_s), Qt::LeftButton);
            });
        };
        auto onlyThePdf = [&out] {
            return QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System) ==
                   QStringList{u"roster.pdf"_s};
        };
        // Two pages printed earlier: the file every failure below must keep.
        start(1, 2);
        QVERIFY(printWithDialogs(f.context, r, nullptr));
        const QByteArray old = testenv::readFile(pdf);
        QVERIFY(isWholePdf(old));
        QVERIFY(f.notifier.messages.isEmpty());

        // 中止 on the sixth page.
        stopAt = 5;
        start();
        QVERIFY(!printWithDialogs(f.context, r, nullptr));
        stopAt = -1;
        QCOMPARE(testenv::readFile(pdf), old);
        QVERIFY(onlyThePdf());

        // The disk fills at each step of writing the file.
        for (int n = 1; n <= 3; ++n) {
            f.notifier.messages.clear();
            fileops::failStep(n);
            start();
            QVERIFY(!printWithDialogs(f.context, r, nullptr));
            QVERIFY(fileops::failureFired());
            fileops::resetSteps();
            QCOMPARE(testenv::readFile(pdf), old);
            QVERIFY(onlyThePdf());
            QCOMPARE(f.notifier.messages.size(), 1);
            QCOMPARE(f.notifier.messages[0].text, u"印刷できませんでした"_s);
            QCOMPARE(f.notifier.messages[0].detail, u"ディスクの空きが足りません: "_s + QDir::toNativeSeparators(pdf));
        }

        // A range past the last page, then a page that is there.
        f.notifier.messages.clear();
        start(21, 22);
        QVERIFY(!printWithDialogs(f.context, r, nullptr));
        QCOMPARE(f.notifier.messages.size(), 1);
        QCOMPARE(f.notifier.messages[0].text, noSuchPagesText());
        QCOMPARE(testenv::readFile(pdf), old);
        QVERIFY(onlyThePdf());

        // A folder where the file would go (the name the user typed gets
        // its ".pdf").
        f.notifier.messages.clear();
        PrintRequest toFolder = r;
        toFolder.pdfPath = out + u"/folder"_s;
        QVERIFY(QDir().mkdir(out + u"/folder.pdf"_s));
        QVERIFY(!printDirect(f.context, toFolder, nullptr));
        QCOMPARE(f.notifier.messages.size(), 1);
        QCOMPARE(f.notifier.messages[0].text, u"印刷できませんでした"_s);
        QCOMPARE(f.notifier.messages[0].detail,
                 u"書き込み先がファイルではありません: "_s + QDir::toNativeSeparators(out + u"/folder.pdf"_s));
        QVERIFY(QDir(out + u"/folder.pdf"_s).isEmpty());
        QVERIFY(QDir(out).rmdir(u"folder.pdf"_s));

        // The whole job, without a word: it replaces the old file.
        f.notifier.messages.clear();
        start();
        QVERIFY(printWithDialogs(f.context, r, nullptr));
        QVERIFY(f.notifier.messages.isEmpty());
        const QByteArray whole = testenv::readFile(pdf);
        QVERIFY(isWholePdf(whole));
        QVERIFY(whole.size() > old.size());
        QVERIFY(onlyThePdf());
        QProcess info;
        info.start(u"pdfinfo"_s, {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(u"Pages:\\s+20\\n"_s)));

        // プリンタ設定 set to print into that file: the same care.
        QPrinter& printer = sharedPrinter();
        const QPrinter::OutputFormat format = printer.outputFormat();
        const QString fileName = printer.outputFileName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        PrintRequest onPrinter = r;
        onPrinter.destination = PrintDestination::Printer;
        onPrinter.pdfPath.clear();
        onPrinter.firstPage = 3;
        onPrinter.lastPage = 3;
        fileops::failStep(3);
        const bool failedPrint = printDirect(f.context, onPrinter, nullptr);
        const bool fired = fileops::failureFired();
        fileops::resetSteps();
        const QByteArray afterFailure = testenv::readFile(pdf);
        const bool printed = printDirect(f.context, onPrinter, nullptr);
        const QByteArray onePage = testenv::readFile(pdf);
        printer.setOutputFileName(fileName);
        printer.setOutputFormat(format);
        QVERIFY(fired && !failedPrint);
        QCOMPARE(afterFailure, whole);
        QCOMPARE(f.notifier.messages.size(), 1);
        QCOMPARE(f.notifier.messages[0].detail, u"ディスクの空きが足りません: "_s + QDir::toNativeSeparators(pdf));
        QVERIFY(printed);
        QVERIFY(isWholePdf(onePage));
        QVERIFY(onePage.size() < whole.size());
        QVERIFY(onlyThePdf());
    }

    void textIsMeasuredAndDrawnAsQtLaysItOut()
    {
        // The page measures each text and draws it from one layout of it, most
        // texts glyph by glyph. Widths decide how far a long name shrinks and
        // where right-aligned text starts; both they and the pixels drawn must
        // be what Qt's own text layout gives, whatever the text holds.
        const QStringList texts = {u"大川　明美"_s,
                                   u"ｵｵｶﾜ ｱｹﾐ"_s,
                                   u"ﾊﾟｿｺﾝ ｶﾞｯｺｳ"_s,
                                   u"   1"_s,
                                   u"45."_s,
                                   u"0336-15-8727"_s,
                                   u"clerk@example.jp"_s,
                                   u"AVAWAY To Te Yo"_s,
                                   u"か\u3099き\u309Aく"_s,
                                   u"Cafe\u0301"_s,
                                   u"\U00020BB7野家"_s,
                                   u"\u02E5\u02E9\u02E6"_s,
                                   u"Ω≠√±×÷"_s,
                                   u"a\tb"_s,
                                   u"産・育休補助"_s,
                                   u"①②Ⅻ㈱"_s,
                                   u"a\u00A0b"_s,
                                   u"  瑠璃市立  青葉小学校  "_s,
                                   u"ﬁ ffi"_s,
                                   u"שלום abc"_s,
                                   u"\u200Bゼロ幅"_s,
                                   u"〜ー－―‐"_s,
                                   u"^`"_s,
                                   QString()};
        struct Style {
            QString face;
            float size;
            bool bold = false, underline = false, strikethrough = false;
        };
        const Style styles[] = {{u"ＭＳ 明朝"_s, 10},
                                {u"ＭＳ Ｐ明朝"_s, 8.5f},
                                {u"ＭＳ ゴシック"_s, 9},
                                {u"ＭＳ 明朝"_s, 7.5f, true},
                                {u"ＭＳ Ｐ明朝"_s, 12, false, true},
                                {u"ＭＳ 明朝"_s, 11, false, false, true}};
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setResolution(600);
        for (const Style& style : styles) {
            QFont qt(installedFace(style.face));
            qt.setPointSizeF(style.size);
            qt.setBold(style.bold);
            qt.setUnderline(style.underline);
            qt.setStrikeOut(style.strikethrough);
            qt.setStyleStrategy(QFont::PreferMatch);
            qt.setHintingPreference(QFont::PreferNoHinting);
            auto apply = [&style](PrintDevice& d) {
                d.font.face = style.face;
                d.font.size = style.size;
                d.font.bold = style.bold;
                d.font.underline = style.underline;
                d.font.strikethrough = style.strikethrough;
            };
            const QString what = u"%1 %2pt"_s.arg(style.face).arg(style.size);

            // On the PDF's resolution: the widths the printed roster is fitted by.
            PainterDevice onPdf(&pdf);
            apply(onPdf);
            const QFontMetricsF pdfMetrics(qt, &pdf);
            for (const QString& t : texts)
                QVERIFY2(qFuzzyCompare(1 + onPdf.textWidth(t), 1 + pdfMetrics.horizontalAdvance(t) * 25.4 / 600),
                         qPrintable(what + u": "_s + t));

            // On an image: the same pixels as Qt's own drawing of the text.
            const double rowMm = 6;
            QImage drawn(1200, int(texts.size() * rowMm / 25.4 * 300) + 20, QImage::Format_RGB32);
            drawn.setDotsPerMeterX(11811);
            drawn.setDotsPerMeterY(11811);
            drawn.fill(Qt::white);
            QImage expected = drawn;
            {
                PainterDevice d(&drawn);
                apply(d);
                for (qsizetype i = 0; i < texts.size(); ++i) {
                    d.currentX = 2;
                    d.currentY = 1 + rowMm * double(i);
                    QCOMPARE(d.textWidth(texts[i]),
                             QFontMetricsF(qt, &drawn).horizontalAdvance(texts[i]) * 25.4 / drawn.logicalDpiX());
                    d.print(texts[i]);
                }
                d.endDoc();
            }
            {
                QPainter p(&expected);
                p.setRenderHint(QPainter::Antialiasing);
                p.setRenderHint(QPainter::TextAntialiasing);
                p.setFont(qt);
                p.setPen(Qt::black);
                const double dpi = expected.logicalDpiX();
                const double ascent = QFontMetricsF(qt, &expected).ascent();
                for (qsizetype i = 0; i < texts.size(); ++i) {
                    const QPointF baseline(2 * dpi / 25.4, (1 + rowMm * double(i)) * dpi / 25.4 + ascent);
                    p.drawText(baseline, texts[i]);
                    if (style.bold) // the Mincho faces have no bold: a second stroke a hair to the right
                        p.drawText(baseline + QPointF(std::max(1.0, style.size * 0.035 * dpi / 72), 0), texts[i]);
                }
            }
            if (drawn != expected) {
                QStringList rows;
                for (qsizetype i = 0; i < texts.size(); ++i) {
                    const int top = int((1 + rowMm * double(i)) * 300 / 25.4);
                    const int bottom = std::min<int>(drawn.height(), int((1 + rowMm * double(i + 1)) * 300 / 25.4));
                    for (int y = top; y < bottom; ++y)
                        if (std::memcmp(drawn.constScanLine(y), expected.constScanLine(y),
                                        size_t(drawn.bytesPerLine()))) {
                            rows << texts[i];
                            break;
                        }
                }
                QFAIL(qPrintable(what + u" drawn differently: "_s + rows.join(u" | "_s)));
            }
        }
    }

    void aTestPageOnRealPaper()
    {
        Fixture f;
        const QString pdf = f.dir.filePath(u"test.pdf"_s);
        PrintRequest r = PrintRequest::forJob(PrintJobCode::TestPage);
        r.options.heading = u"見出し"_s;
        r.pdfPath = pdf;
        QVERIFY(printToPdf(f.store, r));
        QVERIFY(QFileInfo(pdf).size() > 1000);

        QPrinter printer;
        PainterDevice device(&printer);
        QCOMPARE(device.usedFamily(), u"IPAMincho"_s); // the Mincho face, not a stand-in
        device.font.face = u"ＭＳ Ｐ明朝"_s;
        QCOMPARE(device.usedFamily(), u"IPAPMincho"_s);

        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed to read the page back");
        QProcess p;
        p.start(pdftotext, {u"-bbox"_s, pdf, u"-"_s});
        QVERIFY(p.waitForFinished(20000));
        const QString html = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        static const QRegularExpression word(
            uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"_s);
        QMap<QString, QPointF> at;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            const QString text = m.captured(3);
            if (!at.contains(text))
                at.insert(text, QPointF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72));
        }
        auto near = [&](const QString& text, double x, double y) {
            QVERIFY2(at.contains(text), qPrintable(text));
            QVERIFY2(std::abs(at[text].x() - x) < 0.3 && std::abs(at[text].y() - y) < 0.3,
                     qPrintable(u"%1 at %2,%3"_s.arg(text).arg(at[text].x()).arg(at[text].y())));
        };
        near(u"なかま帳"_s, 20, 50); // one word: the title is drawn as one text, not script by script
        near(u"左"_s, 20, 70);
        near(u"120,120"_s, 120, 120);
        QVERIFY(html.contains(u"見出し"_s));
        QVERIFY(html.contains(u"瑠璃県学校事務職員名簿"_s));
    }
};

QTEST_MAIN(TestPrintFramework)
#include "tst_print_framework.moc"
