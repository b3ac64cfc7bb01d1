#include "transfers.h"

#include "era_years.h"
#include "periods.h"
#include "record_format.h"
#include "school_list.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace transfers {

int fiscalHeiseiYear(const QDate& today)
{
    return today.year() - kHeiseiBase - (today.month() <= 3 ? 1 : 0);
}

QString logFilePath(const RosterStore& store)
{
    return QDir(store.paths.dataFolder).filePath(u"異動"_s + heiseiYearCaption(store.fiscalYear) + u".NKD"_s);
}

namespace {
int schoolRow(const RosterStore& store, qint32 code)
{
    if (code == 0)
        return -1;
    for (size_t i = 0; i < store.schools.size(); ++i)
        if (store.schools[i].code == code)
            return int(i);
    return -1;
}

// An ordinary school whose first post already holds a clerk.
bool wouldHaveSeveral(const SchoolRecord& s)
{
    return s.kindText != u"特別支援学校"_s && s.clerks[0].staffCode > 1900;
}

bool isPending(const TransferEntry& e)
{
    return !e.loggedDate.has_value();
}

} // namespace

std::vector<int> schoolsToConfirm(const RosterStore& store, const std::vector<TransferEntry>& batch)
{
    std::vector<int> asks;
    for (const TransferEntry& e : batch) {
        if (!isPending(e) || e.newSchoolCode == 0)
            continue;
        const bool leftByBatch = std::any_of(batch.begin(), batch.end(), [&](const TransferEntry& o) {
            return isPending(o) && o.oldSchoolCode == e.newSchoolCode;
        });
        const int row = schoolRow(store, e.newSchoolCode);
        if (!leftByBatch && row >= 0 && wouldHaveSeveral(store.schools[size_t(row)]))
            asks.push_back(row);
    }
    for (size_t i = 0; i < batch.size(); ++i) {
        for (size_t j = i + 1; j < batch.size(); ++j) {
            const TransferEntry& a = batch[i];
            const TransferEntry& b = batch[j];
            if (!isPending(a) || !isPending(b) || a.newSchoolCode == 0 || a.newSchoolCode != b.newSchoolCode)
                continue;
            const int row = schoolRow(store, a.newSchoolCode);
            if (row >= 0 && wouldHaveSeveral(store.schools[size_t(row)]))
                asks.push_back(row);
        }
    }
    return asks;
}

std::vector<int> schoolsOverfilled(const RosterStore& store, const std::vector<TransferEntry>& batch)
{
    std::vector<int> posts(store.schools.size());
    for (size_t i = 0; i < store.schools.size(); ++i)
        posts[i] = store.schools[i].postedCount();
    for (const TransferEntry& e : batch) {
        if (!isPending(e))
            continue;
        const int from = schoolRow(store, e.oldSchoolCode);
        if (from >= 0 && store.schools[size_t(from)].postOf(e.staffCode) >= 0)
            --posts[size_t(from)];
        const int to = schoolRow(store, e.newSchoolCode);
        if (to >= 0)
            ++posts[size_t(to)];
    }
    std::vector<int> rows;
    for (size_t i = 0; i < posts.size(); ++i)
        if (posts[i] > cap::kClerkSlots)
            rows.push_back(int(i));
    return rows;
}

void applyBatch(RosterStore& store, const std::vector<TransferEntry>& batch, Date date)
{
    for (const TransferEntry& e : batch) {
        const int row = isPending(e) ? schoolRow(store, e.oldSchoolCode) : -1;
        if (row >= 0)
            store.schools[size_t(row)].removeClerk(e.staffCode);
    }
    for (const TransferEntry& e : batch) {
        const int row = isPending(e) ? schoolRow(store, e.newSchoolCode) : -1;
        if (row < 0)
            continue;
        store.schools[size_t(row)].addClerk(e.staffCode, e.name);
    }
    for (const TransferEntry& e : batch) {
        if (!isPending(e))
            continue;
        for (StaffRecord& s : store.staff) {
            if (s.code != e.staffCode)
                continue;
            s.postingDate = date;
            s.tenureAdjustMonths = 0;
            // Posted again below when a school holds them.
            school_list::takeOutOfPost(s);
        }
    }
    store.syncStaffFromSchools();
    store.dirty = 1;
}

QByteArray logBytes(const std::vector<TransferEntry>& batch, Date date, QString* error)
{
    RecordWriter w;
    for (const TransferEntry& e : batch) {
        w.beginRecord(e.name);
        w.date(e.loggedDate.value_or(date));
        w.string(e.name, u"氏名"_s);
        w.number(e.staffCode);
        w.string(e.oldSchoolName, u"旧所属"_s);
        w.number(e.oldSchoolCode);
        w.string(e.newSchoolName, u"新所属"_s);
        w.number(e.newSchoolCode);
        w.string(QString());
        w.number(0);
        w.string(QString());
        w.number(0);
        w.endRecord();
    }
    if (!w.ok()) {
        if (error)
            *error = w.problems().join(u'\n');
        return {};
    }
    return w.bytes();
}

bool writeLog(const QString& path, const std::vector<TransferEntry>& batch, Date date, bool rewrite, QString* error)
{
    QString problem;
    const QByteArray lines = logBytes(batch, date, &problem);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    QByteArray bytes;
    if (!rewrite && QFileInfo::exists(path) && !readWholeFile(path, bytes, error))
        return false;
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
        bytes += "\r\n";
    return writeFileAtomically(path, bytes + lines, error);
}

std::optional<std::vector<TransferEntry>> readLog(const QString& path, QString* error)
{
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error))
        return std::nullopt;
    return parseLog(bytes, error);
}

std::optional<std::vector<TransferEntry>> parseLog(const QByteArray& bytes, QString* error)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    return readRecords<TransferEntry>(
        r, size_t(cap::kTableRows) * 4,
        [](RecordReader& r, TransferEntry& e) {
            Date date;
            r.readDate(date);
            r.readString(e.name);
            r.readI32(e.staffCode);
            r.readString(e.oldSchoolName);
            r.readI32(e.oldSchoolCode);
            r.readString(e.newSchoolName);
            r.readI32(e.newSchoolCode);
            r.skip(4);
            e.loggedDate = date;
        },
        error);
}

} // namespace transfers
