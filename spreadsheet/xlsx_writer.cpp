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
} // namespace

bool writeXlsx(const ExportTable& table, const QString& path, QString* error)
{
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
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName(table.title).toUtf8().constData());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "yyyy/mm/dd");
    for (qsizetype c = 0; c < table.headers.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), table.headers[c].toUtf8().constData(), bold);
    worksheet_freeze_panes(sheet, 1, 0);
    lxw_row_t r = 1;
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

} // namespace table_export
