#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// A list as the user sees it, ready to be written to a spreadsheet: the
// headers of the shown columns and, per row, each cell as text, a number or
// a date (a QVariant holding QString, qint64/double or QDate).
struct ExportTable {
    QString title;       // the sheet's name
    QStringList headers; // none: no header row
    std::vector<std::vector<QVariant>> rows;
};

namespace table_export {

// A shown cell's text as the value a spreadsheet should hold: a number when
// it is one ("12", "6.67"; not with a leading zero, which codes and postal
// codes keep), otherwise the text without its padding spaces.
QVariant valueOfShownText(const QString& text);

// What stops a list from being written to `path`, in words for the user;
// empty when it may be written. Something there that is not a plain file (a
// folder, a device, a pipe, a link to one of them) is never replaced.
QString exportTargetProblem(const QString& path);

// Comma-separated UTF-8 with a byte-order mark, lines ending CR LF, every
// text quoted that needs it; dates as yyyy/MM/dd. A text that begins like a
// formula (= + - @, a tab or a carriage return) or that a spreadsheet would
// read as a number gets a leading single quote, so it stays text. The file is written beside
// and renamed over, so a failed write leaves what was there.
QByteArray csvBytes(const ExportTable& table);
bool writeCsv(const ExportTable& table, const QString& path, QString* error);
// Several tables in one file: each under a line with its title, a blank
// line between them.
QByteArray csvBytes(const std::vector<ExportTable>& tables);
bool writeCsv(const std::vector<ExportTable>& tables, const QString& path, QString* error);

} // namespace table_export
