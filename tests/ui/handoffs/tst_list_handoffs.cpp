#include "grid_export.h"
#include "label_designer.h"
#include "print_output.h"
#include "sample_roster.h"
#include "sample_window_context.h"
#include "staff_list_window.h"
#include "test_env.h"
#include "ui_helpers.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : SampleWindowContext {
    Fixture() {}
    // Marks the first `count` posted clerks for 氏名印刷.
    void markPosts(int count)
    {
        int marked = 0;
        for (auto& s : store.schools)
            for (auto& c : s.clerks)
                if (c.staffCode > 0 && marked < count) {
                    c.mark = 1;
                    ++marked;
                }
    }
};
} // namespace

class TestListHandOffs : public QObject {
    Q_OBJECT
private slots:
    // Names arrive in other areas' exchange files. A name that begins like a
    // formula must reach the clerk's spreadsheet as the text it is, not be
    // run as a formula when the CSV is opened.
    void csvNameIsNeverAFormula()
    {
        Fixture f;
        f.store.staff[1].name = u"=HYPERLINK(\"http://example.invalid\",\"開く\")"_s;
        f.store.staff[2].name = u"+1+2"_s;
        f.store.staff[3].name = u"@SUM(1)"_s;
        StaffListWindow w(f.context);
        w.resize(1200, 600);
        w.show();
        w.activate();
        const QString path = f.dir.filePath(u"staff.csv"_s);
        QVERIFY(grid_export::writeTo(f.context, w.grid(), u"職員ﾘｽﾄ"_s, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString& line : text.split(u"\r\n"_s)) {
            for (const QString& field : line.split(u','))
                QVERIFY2(!field.startsWith(u'=') && !field.startsWith(u'+') && !field.startsWith(u'@') &&
                             !field.startsWith(u"\"="_s),
                         qPrintable(line));
        }
    }

    // A clerk who picks a label sheet and prints the design as it stands must
    // not feed sheets of blank labels: either some of the design prints on
    // each label, or the clerk is told before anything is printed.
    void sheetWithADesignOffTheLabelIsTold()
    {
        Fixture f;
        f.markPosts(3);
        LabelDesigner w(f.context);
        w.show();
        auto* sheet = w.findChild<QComboBox*>(u"SHEET_LIST"_s);
        QVERIFY(sheet);
        sheet->setCurrentText(u"A4 44面"_s);
        emit sheet->activated(sheet->currentIndex());
        const name_labels::LabelSheet chosen = w.chosenSheet();
        const QRectF label(0, 0, chosen.labelWidth, chosen.labelHeight);
        bool anyOnLabel = false;
        for (const name_labels::LabelItem& item : w.layout().items)
            if (item.prints() && label.intersects(QRectF(item.left, item.top, item.width, item.height)))
                anyOnLabel = true;
        std::optional<PrintRequest> sent;
        w.sendToPrinter = [&sent](const PrintRequest& q) {
            sent = q;
            return true;
        };
        for (int i = 0; i < 5; ++i)
            f.notifier.answers.push_back(MessageAnswer::Yes);
        w.findChild<QPushButton*>(u"B_PRT"_s)->click();
        const bool told = f.notifier.texts().size() > 1 || !sent;
        QVERIFY2(anyOnLabel || told, qPrintable(f.notifier.texts().join(u" / "_s)));
    }
};

QTEST_MAIN(TestListHandOffs)
#include "tst_list_handoffs.moc"
