#include "file_ops.h"
#include "grid_export.h"
#include "officer_list_window.h"
#include "qt_translations.h"
#include "sample_roster.h"
#include "sample_window_context.h"
#include "school_list_window.h"
#include "staff_list_window.h"
#include "statistics_window.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "xlsx_writer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
using Fixture = SampleWindowContext;

// The workbook as openpyxl reads it: rows of [type, value].
QJsonObject readBack(const QString& path)
{
    QProcess p;
    // Debian's interpreter, the one python3-openpyxl is installed for.
    p.start(u"/usr/bin/python3"_s, {QStringLiteral(NAKAMA_READ_WORKBOOK), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning() << p.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

// Every shown column of every row, compared with the cell the reader found.
void compareWithGrid(const QTableView* grid, const QJsonObject& book, const QString& title)
{
    QCOMPARE(book.value(u"title"_s).toString(), title);
    const QJsonArray rows = book.value(u"rows"_s).toArray();
    const QAbstractItemModel* m = grid->model();
    QCOMPARE(rows.size(), m->rowCount() + 1);
    QList<int> shown;
    for (int c = 0; c < m->columnCount(); ++c) {
        if (!grid->isColumnHidden(c))
            shown << c;
    }
    QVERIFY(shown.size() < m->columnCount() || m->columnCount() > 0);
    const QJsonArray header = rows[0].toArray();
    for (int i = 0; i < shown.size(); ++i)
        QCOMPARE(header[i].toArray()[1].toString(), m->headerData(shown[i], Qt::Horizontal).toString());
    int dates = 0, numbers = 0;
    for (int r = 0; r < m->rowCount(); ++r) {
        const QJsonArray cells = rows[r + 1].toArray();
        QVERIFY(cells.size() <= shown.size());
        for (int i = 0; i < shown.size(); ++i) {
            const QModelIndex index = m->index(r, shown[i]);
            const QString text = m->data(index).toString().trimmed();
            const QVariant special = m->data(index, kSpreadsheetValueRole);
            const QJsonArray cell = i < cells.size() ? cells[i].toArray() : QJsonArray{u"empty"_s, u""_s};
            const QString kind = cell[0].toString(), value = cell[1].toString();
            const QString where = u"row %1 column %2 (%3)"_s.arg(r).arg(shown[i]).arg(text);
            if (special.typeId() == QMetaType::QDate) {
                QVERIFY2(kind == u"date"_s, qPrintable(where));
                QCOMPARE(value, special.toDate().toString(u"yyyy-MM-dd"_s));
                ++dates;
            } else if (text.isEmpty()) {
                QVERIFY2(kind == u"empty"_s, qPrintable(where));
            } else if (special.typeId() == QMetaType::QString) {
                QVERIFY2(kind == u"text"_s, qPrintable(where));
                QCOMPARE(value, special.toString());
            } else if (table_export::valueOfShownText(text).typeId() != QMetaType::QString) {
                QVERIFY2(kind == u"number"_s, qPrintable(where));
                QCOMPARE(value.toDouble(), text.toDouble());
                ++numbers;
            } else {
                QVERIFY2(kind == u"text"_s, qPrintable(where));
                QCOMPARE(value, text);
            }
        }
    }
    QVERIFY(numbers > 0);
    Q_UNUSED(dates);
}
} // namespace

class TestGridExport : public QObject {
    Q_OBJECT
private slots:
    // Qt's own dialogs speak Japanese, as in the program.
    void initTestCase() { QVERIFY(installQtTranslations(*QCoreApplication::instance())); }

    void shownTextsBecomeValues()
    {
        using table_export::valueOfShownText;
        QCOMPARE(valueOfShownText(u" 81"_s), QVariant(qint64(81)));
        QCOMPARE(valueOfShownText(u"20260014"_s), QVariant(qint64(20260014)));
        // Codes with a leading zero, postal codes, periods of years.months stay texts.
        QCOMPARE(valueOfShownText(u"0123"_s), QVariant(u"0123"_s));
        QCOMPARE(valueOfShownText(u"917-8714"_s), QVariant(u"917-8714"_s));
        QCOMPARE(valueOfShownText(u"6.67"_s), QVariant(6.67));
        QCOMPARE(valueOfShownText(u"0.50"_s), QVariant(0.5));
        QCOMPARE(valueOfShownText(u"1.2.3"_s), QVariant(u"1.2.3"_s));
        QCOMPARE(valueOfShownText(u"48. 2"_s), QVariant(u"48. 2"_s));
        QCOMPARE(valueOfShownText(u"0"_s), QVariant(qint64(0)));
    }

    void csvIsUtf8WithAMarkAndQuotes()
    {
        ExportTable t;
        t.headers = {u"氏名"_s, u"コード"_s, u"生年月日"_s};
        t.rows.push_back({QVariant(u"山田, \"太郎\""_s), QVariant(qint64(20260001)), QVariant(QDate(1980, 4, 2))});
        const QByteArray bytes = table_export::csvBytes(t);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)),
                 u"氏名,コード,生年月日\r\n\"山田, \"\"太郎\"\"\",20260001,1980/04/02\r\n"_s);
    }

    // Texts from other areas' files reach the spreadsheet as texts: in a CSV
    // behind a single quote when they begin like a formula or read like a
    // number, in a workbook as strings as they are.
    void formulaLikeAndNumberLikeTextsStayText()
    {
        ExportTable t;
        t.title = u"職員ﾘｽﾄ"_s;
        t.headers = {u"氏名"_s, u"勤続"_s, u"コード"_s, u"数"_s, u"日付"_s};
        const QStringList risky{u"=HYPERLINK(\"http://example.invalid\",\"開く\")"_s,
                                u"+1+2"_s,
                                u"-2+3"_s,
                                u"@SUM(1)"_s,
                                u"\tTAB"_s,
                                u"\r=1"_s};
        for (const QString& name : risky)
            t.rows.push_back({QVariant(name), QVariant(u"50.10"_s), QVariant(u"0123"_s), QVariant(qint64(-5)),
                              QVariant(QDate(2026, 4, 1))});
        t.rows.push_back({QVariant(u"山田 太郎"_s), QVariant(u"917-8714"_s), QVariant(6.67), QVariant(qint64(12)),
                          QVariant(QDate())});
        const QString csv = QString::fromUtf8(table_export::csvBytes(t).mid(3));
        const QStringList lines = csv.split(u"\r\n"_s);
        QCOMPARE(lines[1],
                 u"\"'=HYPERLINK(\"\"http://example.invalid\"\",\"\"開く\"\")\",'50.10,'0123,-5,2026/04/01"_s);
        QCOMPARE(lines[2], u"'+1+2,'50.10,'0123,-5,2026/04/01"_s);
        QCOMPARE(lines[3], u"'-2+3,'50.10,'0123,-5,2026/04/01"_s);
        QCOMPARE(lines[4], u"'@SUM(1),'50.10,'0123,-5,2026/04/01"_s);
        QCOMPARE(lines[5], u"'\tTAB,'50.10,'0123,-5,2026/04/01"_s);
        QCOMPARE(lines[6], u"\"'\r=1\",'50.10,'0123,-5,2026/04/01"_s);
        // Plain texts, numbers and dates are as they were.
        QCOMPARE(lines[7], u"山田 太郎,917-8714,6.67,12,"_s);
        QCOMPARE(lines[0], u"氏名,勤続,コード,数,日付"_s);

        QTemporaryDir dir;
        const QString book = dir.filePath(u"risky.xlsx"_s);
        QString error;
        QVERIFY2(table_export::writeXlsx(t, book, &error), qPrintable(error));
        const QJsonArray rows = readBack(book).value(u"rows"_s).toArray();
        QCOMPARE(rows.size(), int(t.rows.size()) + 1);
        for (int r = 0; r < risky.size(); ++r) {
            const QJsonArray cells = rows[r + 1].toArray();
            QCOMPARE(cells[0].toArray()[0].toString(), u"text"_s);
            // (A carriage return is kept in the workbook's own escape, which the reader leaves as it is.)
            QCOMPARE(cells[0].toArray()[1].toString(), QString(risky[r]).replace(u"\r"_s, u"_x000D_"_s));
            QCOMPARE(cells[1].toArray(), (QJsonArray{u"text"_s, u"50.10"_s}));
            QCOMPARE(cells[2].toArray(), (QJsonArray{u"text"_s, u"0123"_s}));
            QCOMPARE(cells[3].toArray()[0].toString(), u"number"_s);
        }
    }

    void staffListAsShown()
    {
        Fixture f;
        StaffListWindow w(f.context);
        w.resize(1200, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString path = f.dir.filePath(u"職員ﾘｽﾄ.xlsx"_s);
        QVERIFY(grid_export::writeTo(f.context, w.grid(), w.windowTitle(), path));
        compareWithGrid(w.grid(), readBack(path), w.windowTitle());
        // Birth dates went as dates.
        // (No column before them is hidden: they stand where the grid has them.)
        const QJsonArray first = readBack(path).value(u"rows"_s).toArray()[1].toArray();
        QCOMPARE(first[int(StaffListColumn::Date)].toArray()[0].toString(), u"date"_s);
        // Ages in years.months stay texts: 51.10 is not 51.1.
        QCOMPARE(first[int(StaffListColumn::Period)].toArray()[0].toString(), u"text"_s);

        // Another display and sort: still as shown.
        w.displayChoice()->setCurrentIndex(StaffListModel::Tenure);
        QVERIFY(grid_export::writeTo(f.context, w.grid(), w.windowTitle(), path));
        compareWithGrid(w.grid(), readBack(path), w.windowTitle());

        // CSV: one line per row and the header.
        const QString csv = f.dir.filePath(u"職員ﾘｽﾄ.csv"_s);
        QVERIFY(grid_export::writeTo(f.context, w.grid(), w.windowTitle(), csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(bytes.count("\r\n"), w.model()->rowCount() + 1);
        QVERIFY(f.notifier.messages.isEmpty());

        // As the user does it: 表計算, a file name in the save dialog, 保存.
        const QString asked = f.dir.filePath(u"ボタンから"_s);
        QString dialogTitle;
        testenv::onModal<QFileDialog>([&](QFileDialog* d) {
            dialogTitle = d->windowTitle();
            testenv::keepShot(&w, u"export-staff-list"_s);
            testenv::keepShot(d, u"export-dialog"_s);
            d->selectFile(asked);
            static_cast<QDialog*>(d)->accept(); // 保存
        });
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SHEET"_s), Qt::LeftButton);
        QCOMPARE(dialogTitle, u"表計算用に書き出し"_s);
        QVERIFY(QFileInfo::exists(asked + u".xlsx"_s)); // the book the chosen type names
        compareWithGrid(w.grid(), readBack(asked + u".xlsx"_s), w.windowTitle());
        QVERIFY(f.notifier.messages.isEmpty());
    }

    void schoolAndOfficerLists()
    {
        Fixture f;
        SchoolListWindow schools(f.context);
        schools.resize(1200, 600);
        schools.show();
        QVERIFY(QTest::qWaitForWindowExposed(&schools));
        const QString path = f.dir.filePath(u"学校ﾘｽﾄ.xlsx"_s);
        QVERIFY(grid_export::writeTo(f.context, schools.grid(), schools.windowTitle(), path));
        compareWithGrid(schools.grid(), readBack(path), schools.windowTitle());

        OfficerListWindow officers(f.context);
        std::vector<OfficerEntry> list(3);
        for (size_t i = 0; i < list.size(); ++i) {
            list[i].post1 = u"理事"_s;
            list[i].name = u"役員"_s + QString::number(i);
            list[i].code = 20260100 + qint32(i);
            list[i].schoolName = u"青葉小学校"_s;
            list[i].schoolTel = u"011-111-111"_s + QString::number(i);
        }
        officers.model()->setList(list);
        officers.model()->setGroup(u"理事"_s);
        officers.show();
        QVERIFY(QTest::qWaitForWindowExposed(&officers));
        const QString book = f.dir.filePath(u"役員.xlsx"_s);
        QVERIFY(grid_export::writeTo(f.context, officers.grid(), officers.windowTitle(), book));
        compareWithGrid(officers.grid(), readBack(book), officers.windowTitle());
    }

    void theTallyTables()
    {
        Fixture f;
        StatisticsWindow w(f.context);
        w.resize(1300, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const std::vector<ExportTable> tables = w.spreadsheetTables();
        QCOMPARE(tables.size(), size_t(8));
        const QString path = f.dir.filePath(u"集計.xlsx"_s);
        QVERIFY(grid_export::writeTo(f.context, tables, path));
        const QJsonArray sheets = readBack(path).value(u"sheets"_s).toArray();
        QCOMPARE(sheets.size(), 8);
        const QStringList grids{u"GRID1(0)"_s, u"GRID1(1)"_s, u"GRID1(2)"_s, u"GRID1(3)"_s,
                                u"GRID2"_s,    u"GRID3"_s,    u"GRID20"_s,   u"GRID30"_s};
        int numbers = 0;
        for (int i = 0; i < 8; ++i) {
            QTableWidget* grid = w.grid(grids[i]);
            QVERIFY(grid);
            const QJsonObject sheet = sheets[i].toObject();
            QCOMPARE(sheet.value(u"title"_s).toString(), tables[size_t(i)].title);
            // No header row: the tables carry their captions in their cells.
            const QJsonArray rows = sheet.value(u"rows"_s).toArray();
            QVERIFY(rows.size() <= grid->rowCount());
            for (int r = 0; r < grid->rowCount(); ++r) {
                const QJsonArray cells = r < rows.size() ? rows[r].toArray() : QJsonArray();
                for (int c = 0; c < grid->columnCount(); ++c) {
                    const QString text = grid->item(r, c) ? grid->item(r, c)->text().trimmed() : QString();
                    const QJsonArray cell = c < cells.size() ? cells[c].toArray() : QJsonArray{u"empty"_s, u""_s};
                    if (text.isEmpty()) {
                        QCOMPARE(cell[0].toString(), u"empty"_s);
                    } else if (table_export::valueOfShownText(text).typeId() != QMetaType::QString) {
                        QCOMPARE(cell[0].toString(), u"number"_s);
                        QCOMPARE(cell[1].toString().toDouble(), text.toDouble());
                        ++numbers;
                    } else {
                        QCOMPARE(cell[0].toString(), u"text"_s);
                        QCOMPARE(cell[1].toString(), text);
                    }
                }
            }
        }
        QVERIFY(numbers > 20);
        // In a CSV the eight follow each other under their titles.
        const QByteArray csv = table_export::csvBytes(tables);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        for (const ExportTable& t : tables)
            QVERIFY(QString::fromUtf8(csv).contains(u"\r\n"_s + t.title + u"\r\n"_s) ||
                    QString::fromUtf8(csv.mid(3)).startsWith(t.title + u"\r\n"_s));
        testenv::keepShot(&w, u"beyond-tally"_s);
    }

    void theWindowlessFrontEnd()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"data"_s);
        QCOMPARE(QProcess::execute(QStringLiteral(NAKAMA_SAMPLE),
                                   {u"--schools"_s, u"10"_s, u"--staff"_s, u"15"_s, u"--year"_s, u"38"_s, data}),
                 0);
        auto run = [&](const QStringList& args) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(QStringLiteral(NAKAMA_APP), QStringList{u"--data"_s, data, u"--year"_s, u"38"_s} + args);
            return p.waitForFinished(60000) ? p.exitCode() : -1;
        };
        const QString book = dir.filePath(u"staff.xlsx"_s);
        QCOMPARE(run({u"--export"_s, u"staff"_s, u"--xlsx"_s, book}), 0);
        const QJsonArray rows = readBack(book).value(u"rows"_s).toArray();
        QCOMPARE(rows.size(), 16); // the header and 15 clerks
        QCOMPARE(rows[0].toArray()[1].toArray()[1].toString(), u"氏名"_s);
        QCOMPARE(rows[1].toArray()[7].toArray()[0].toString(), u"date"_s);
        const QString csv = dir.filePath(u"schools.csv"_s);
        QCOMPARE(run({u"--export"_s, u"schools"_s, u"--csv"_s, csv}), 0);
        QVERIFY(QFileInfo(csv).size() > 100);
        const QString tally = dir.filePath(u"tally.xlsx"_s);
        QCOMPARE(run({u"--export"_s, u"tally"_s, u"--xlsx"_s, tally}), 0);
        QCOMPARE(readBack(tally).value(u"sheets"_s).toArray().size(), 8);
        // Wrong use and failed writes end with a non-zero code.
        QCOMPARE(run({u"--export"_s, u"everything"_s, u"--csv"_s, csv}), 1);
        QCOMPARE(run({u"--export"_s, u"staff"_s, u"--csv"_s, dir.filePath(u"none/x.csv"_s)}), 1);
        // An option whose value is missing or is the next option: a usage
        // error, and no file named after the option.
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QCOMPARE(run({u"--export"_s, u"staff"_s, u"--xlsx"_s, u"--csv"_s, dir.filePath(u"o.csv"_s)}), 1);
        QCOMPARE(run({u"--export"_s, u"staff"_s, u"--csv"_s}), 1);
        QCOMPARE(run({u"--export"_s, u"--xlsx"_s, book}), 1);
        QVERIFY(!QFileInfo::exists(dir.filePath(u"--csv"_s)));
        QVERIFY(!QFileInfo::exists(dir.filePath(u"o.csv"_s)));
        QDir::setCurrent(before);
        // A folder, a pipe, a link to a folder: refused, left as they are.
        const QString folder = dir.filePath(u"folder.csv"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString pipe = dir.filePath(u"pipe.xlsx"_s);
        QCOMPARE(QProcess::execute(u"mkfifo"_s, {pipe}), 0);
        const QString link = dir.filePath(u"link.csv"_s);
        QVERIFY(QFile::link(folder, link));
        for (const QString& target : {folder, pipe, link}) {
            const QString option = target.endsWith(u".xlsx"_s) ? u"--xlsx"_s : u"--csv"_s;
            QCOMPARE(run({u"--export"_s, u"staff"_s, option, target}), 1);
        }
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(!QFileInfo(pipe).isFile() && QFileInfo::exists(pipe));
        // A roster that cannot be read is not written out as an empty list.
        const QString staffFile = data + u"/38MEIBO.NKD"_s;
        QFile damaged(staffFile);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("10003,0,\"x\",\"\",\"\",\"\",\"\"\r\n\"cut");
        damaged.close();
        const QString none = dir.filePath(u"unread.csv"_s);
        QCOMPARE(run({u"--export"_s, u"staff"_s, u"--csv"_s, none}), 1);
        QVERIFY(!QFileInfo::exists(none));
    }

    // From the window: a folder or a pipe chosen as the target is told and
    // left as it is, whichever format.
    void aTargetThatIsNotAFileIsRefused()
    {
        Fixture f;
        StaffListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString folder = f.dir.filePath(u"folder.xlsx"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString pipe = f.dir.filePath(u"pipe.csv"_s);
        QCOMPARE(QProcess::execute(u"mkfifo"_s, {pipe}), 0);
        const QString link = f.dir.filePath(u"link.xlsx"_s);
        QVERIFY(QFile::link(pipe, link));
        for (const QString& target : {folder, pipe, link}) {
            f.notifier.messages.clear();
            QVERIFY(!grid_export::writeTo(f.context, w.grid(), w.windowTitle(), target));
            QCOMPARE(f.notifier.messages.size(), 1);
            QVERIFY2(f.notifier.texts().join(u' ').contains(u"ファイルではありません"_s),
                     qPrintable(f.notifier.texts().join(u' ')));
        }
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo::exists(pipe) && !QFileInfo(pipe).isFile());
        QCOMPARE(table_export::exportTargetProblem(f.dir.filePath(u"new.csv"_s)), QString());
    }

    void aFailedWriteIsToldAndLeavesTheOldFile()
    {
        Fixture f;
        StaffListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const QString& name : {u"old.xlsx"_s, u"old.csv"_s}) {
            const QString path = f.dir.filePath(name);
            {
                QFile old(path);
                QVERIFY(old.open(QIODevice::WriteOnly));
                old.write("previous");
            }
            f.notifier.messages.clear();
            fileops::failStep(2);
            QVERIFY(!grid_export::writeTo(f.context, w.grid(), w.windowTitle(), path));
            fileops::failStep(0);
            QCOMPARE(f.notifier.messages.size(), 1);
            QVERIFY2(f.notifier.texts().join(u' ').contains(name), qPrintable(f.notifier.texts().join(u' ')));
            QFile old(path);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("previous"));
        }
        // A folder that is not there.
        f.notifier.messages.clear();
        QVERIFY(!grid_export::writeTo(f.context, w.grid(), w.windowTitle(), f.dir.filePath(u"none/x.xlsx"_s)));
        QCOMPARE(f.notifier.messages.size(), 1);
    }
};

QTEST_MAIN(TestGridExport)
#include "tst_grid_export.moc"
