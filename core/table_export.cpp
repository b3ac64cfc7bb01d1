#include "table_export.h"

#include "file_ops.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace table_export {

QVariant valueOfShownText(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const qint64 n = t.toLongLong(&ok);
    const bool leadingZero = t.size() > 1 && (t.startsWith(u'0') || t.startsWith(u"-0"));
    if (ok && !leadingZero && t.size() <= 15)
        return n;
    // A decimal needs a digit on either side of its point.
    static const QRegularExpression decimal(QStringLiteral("^-?(0|[1-9][0-9]{0,11})\\.[0-9]{1,6}$"));
    if (decimal.match(t).hasMatch())
        return t.toDouble();
    return t;
}

QString exportTargetProblem(const QString& path)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty())
        return u"書き出すファイルの名前がありません"_s;
    // exists() and isFile() follow a link to what it points at.
    if (target.exists() && !target.isFile())
        return u"%1 はファイルではありません（フォルダや装置など）。書き出しませんでした"_s.arg(
            QDir::toNativeSeparators(path));
    return {};
}

namespace {
QString csvField(const QVariant& v)
{
    QString t;
    if (v.typeId() == QMetaType::QDate)
        t = v.toDate().isValid() ? v.toDate().toString(u"yyyy/MM/dd") : QString();
    else
        t = v.toString();
    // Names and texts come from other areas' exchange files: a text that a
    // spreadsheet would run as a formula, or read as a number (a period of
    // 50.10 years.months read as 50.1, a code losing its leading zero),
    // reaches it as the text it is, behind a single quote. Numbers and dates
    // go as they are.
    if (v.typeId() == QMetaType::QString && !t.isEmpty()) {
        static const QRegularExpression numeric(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
        const QChar first = t.front();
        const bool formula =
            first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r';
        if (formula || numeric.match(t).hasMatch())
            t.prepend(u'\'');
    }
    if (t.contains(u',') || t.contains(u'"') || t.contains(u'\n') || t.contains(u'\r'))
        t = u'"' + QString(t).replace(u"\""_qs, u"\"\""_qs) + u'"';
    return t;
}

void appendLine(QString& out, const QList<QString>& fields)
{
    out += fields.join(u',');
    out += u"\r\n";
}

void appendTable(QString& out, const ExportTable& table)
{
    QStringList fields;
    if (!table.headers.isEmpty()) {
        for (const QString& h : table.headers)
            fields << csvField(h);
        appendLine(out, fields);
    }
    for (const auto& row : table.rows) {
        fields.clear();
        for (const QVariant& v : row)
            fields << csvField(v);
        appendLine(out, fields);
    }
}
} // namespace

QByteArray csvBytes(const ExportTable& table)
{
    QString out;
    appendTable(out, table);
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QByteArray csvBytes(const std::vector<ExportTable>& tables)
{
    QString out;
    for (size_t i = 0; i < tables.size(); ++i) {
        if (i > 0)
            out += u"\r\n";
        appendLine(out, {csvField(tables[i].title)});
        appendTable(out, tables[i]);
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

bool writeCsv(const std::vector<ExportTable>& tables, const QString& path, QString* error)
{
    if (const QString problem = exportTargetProblem(path); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    return fileops::writeFile(path, csvBytes(tables), error);
}

bool writeCsv(const ExportTable& table, const QString& path, QString* error)
{
    if (const QString problem = exportTargetProblem(path); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    return fileops::writeFile(path, csvBytes(table), error);
}

} // namespace table_export
