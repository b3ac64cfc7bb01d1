#include "xlsx_writer.h"

#include "file_ops.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

namespace table_export {

namespace {
// Sheet names hold at most 31 characters and none of []:*?/\.
QString sheetName(const QString& title)
{
    QString name;
    for (const QChar c : title) {
        if (!QStringLiteral("[]:*?/\\").contains(c))
            name += c;
    }
    name = name.trimmed().left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}
void writeSheet(lxw_worksheet* sheet, const ExportTable& table, lxw_format* bold, lxw_format* date)
{
    if (!sheet)
        return;
    lxw_row_t r = 0;
    if (!table.headers.isEmpty()) {
        for (qsizetype c = 0; c < table.headers.size(); ++c)
            worksheet_write_string(sheet, 0, lxw_col_t(c), table.headers[c].toUtf8().constData(), bold);
        worksheet_freeze_panes(sheet, 1, 0);
        r = 1;
    }
    for (const auto& row : table.rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            const QVariant& v = row[c];
            const auto col = lxw_col_t(c);
            switch (v.typeId()) {
            case QMetaType::QDate: {
                const QDate d = v.toDate();
                if (d.isValid()) {
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
                    worksheet_write_datetime(sheet, r, col, &dt, date);
                }
                break;
            }
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
            case QMetaType::Double: worksheet_write_number(sheet, r, col, v.toDouble(), nullptr); break;
            default: {
                const QString t = v.toString();
                if (!t.isEmpty())
                    worksheet_write_string(sheet, r, col, t.toUtf8().constData(), nullptr);
                break;
            }
            }
        }
        ++r;
    }
}
} // namespace

bool writeXlsx(const std::vector<ExportTable>& tables, const QString& path, QString* error)
{
    if (const QString problem = exportTargetProblem(path); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        if (error)
            *error = fileops::failureText(path, false, scratch.errorString());
        return false;
    }
    const QByteArray file = QFile::encodeName(scratch.filePath(QStringLiteral("book.xlsx")));
    lxw_workbook* book = workbook_new(file.constData());
    if (!book) {
        if (error)
            *error = fileops::failureText(path, false);
        return false;
    }
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "yyyy/mm/dd");
    QStringList used;
    for (const ExportTable& table : tables) {
        // Sheet names must differ from each other.
        QString name = sheetName(table.title);
        for (int n = 2; used.contains(name, Qt::CaseInsensitive); ++n)
            name = sheetName(table.title).left(28) + u'(' + QString::number(n) + u')';
        used << name;
        writeSheet(workbook_add_worksheet(book, name.toUtf8().constData()), table, bold, date);
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        if (error)
            *error = fileops::failureText(path, false, QString::fromUtf8(lxw_strerror(closed)));
        return false;
    }
    QFile built(QString::fromLocal8Bit(file));
    if (!built.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileops::failureText(path, false, built.errorString());
        return false;
    }
    return fileops::writeFile(path, built.readAll(), error);
}

bool writeXlsx(const ExportTable& table, const QString& path, QString* error)
{
    return writeXlsx(std::vector<ExportTable>{table}, path, error);
}

} // namespace table_export
