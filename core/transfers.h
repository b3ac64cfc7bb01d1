#pragma once

#include "roster_store.h"

#include <QString>
#include <optional>
#include <vector>

// One planned transfer: a clerk leaves a post of one school and joins another
// school, or none.
struct TransferEntry {
    qint32 staffCode = 0;
    qint32 oldSchoolCode = 0;
    qint32 newSchoolCode = 0; // 0: joins no school
    QString name;
    QString oldSchoolName;
    QString newSchoolName;
    // Entries read back from the year's log are history: they keep the date
    // they were logged with and are not carried out again.
    std::optional<Date> loggedDate;

    bool operator==(const TransferEntry&) const = default;
};

namespace transfers {

// The Heisei year of the fiscal year `today` lies in (April to March).
int fiscalHeiseiYear(const QDate& today);

// "異動平成20年度.NKD" in the data folder; the name keeps the numbering of
// the roster's files (異動平成38年度.NKD for 令和8年度), so earlier logs still open.
QString logFilePath(const RosterStore& store);

// The schools (table rows) the batch would leave with more than one clerk,
// one question each, in the order they are asked.
std::vector<int> schoolsToConfirm(const RosterStore& store, const std::vector<TransferEntry>& batch);

// The schools (table rows) that would need more than seven posts after the
// batch; a batch with any is not carried out, since a clerk would be left
// with no post at all.
std::vector<int> schoolsOverfilled(const RosterStore& store, const std::vector<TransferEntry>& batch);

// Carries out the entries that are not history on `date`: the old posts are
// emptied, the new schools take the clerks in their first free post, the
// members' posting dates become the transfer date, and the staff records'
// posting fields follow the schools.
void applyBatch(RosterStore& store, const std::vector<TransferEntry>& batch, Date date);

// The log lines of `batch`: each entry with its own logged date, or `date`.
QByteArray logBytes(const std::vector<TransferEntry>& batch, Date date, QString* error);
// Appends the batch to the log, or with `rewrite` writes the log anew from it.
bool writeLog(const QString& path, const std::vector<TransferEntry>& batch, Date date, bool rewrite,
              QString* error);
// The entries of a log file, each with its date.
std::optional<std::vector<TransferEntry>> readLog(const QString& path, QString* error);
// The same from the file's bytes.
std::optional<std::vector<TransferEntry>> parseLog(const QByteArray& bytes, QString* error);

} // namespace transfers
