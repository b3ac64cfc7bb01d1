#include "roster_session.h"

#include "roster_store.h"

#include <QHash>
#include <algorithm>

RosterSession::RosterSession()
{
    resetStaffListOrder();
}

void RosterSession::resetStaffListOrder()
{
    for (size_t i = 0; i < staffListOrder.size(); ++i)
        staffListOrder[i] = qint16(i);
}

void RosterSession::checkStaffListOrder(int staffCount)
{
    const int n = std::clamp(staffCount, 0, int(staffListOrder.size()));
    std::vector<bool> seen(size_t(n), false);
    for (int p = 0; p < n; ++p) {
        const int row = staffListOrder[size_t(p)];
        if (row < 0 || row >= n || seen[size_t(row)]) {
            resetStaffListOrder();
            return;
        }
        seen[size_t(row)] = true;
    }
}

int RosterSession::staffRowAt(const RosterStore& store, int position) const
{
    if (position < 0 || position >= store.staffCount() || size_t(position) >= staffListOrder.size())
        return -1;
    const int row = staffListOrder[size_t(position)];
    return row >= 0 && row < store.staffCount() ? row : -1;
}

std::vector<int> RosterSession::shownSchoolRows(const RosterStore& store) const
{
    // Two schools can share a code: the n-th mention of a code names the
    // n-th school that has it.
    QHash<qint32, std::vector<int>> rowsOfCode;
    rowsOfCode.reserve(qsizetype(store.schools.size()));
    for (int i = 0; i < store.schoolCount(); ++i)
        rowsOfCode[store.schools[size_t(i)].code].push_back(i);
    QHash<qint32, size_t> used;
    std::vector<int> rows;
    rows.reserve(shownSchools.size());
    for (qint32 code : shownSchools) {
        const auto it = rowsOfCode.constFind(code);
        if (it == rowsOfCode.constEnd())
            continue;
        size_t& n = used[code];
        if (n < it->size())
            rows.push_back((*it)[n++]);
    }
    return rows;
}

void RosterSession::setShownSchools(const RosterStore& store, const std::vector<int>& rows)
{
    shownSchools.clear();
    shownSchools.reserve(rows.size());
    for (int row : rows)
        if (row >= 0 && row < store.schoolCount())
            shownSchools.push_back(store.schools[size_t(row)].code);
}

void RosterSession::clearYear()
{
    shownSchools.clear();
    schoolFilter.narrowed = false;
    resetStaffListOrder();
    presetCode = 0;
    selectTopRow = 0;
}
