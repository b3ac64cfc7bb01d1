#include "roster_store.h"

#include "era_years.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

void RosterPaths::setYear(int nn)
{
    const QString prefix = dataFolder + u'/' + QString::number(nn);
    staffFile = prefix + u"MEIBO.NKD"_s;
    schoolFile = prefix + u"SCHOOL.NSD"_s;
    municipalityFile = prefix + u"CTV.NKD"_s;
    staffUnreadable = false;
    schoolsUnreadable = false;
    municipalityUnreadable = false;
}

void RosterPaths::clearYear()
{
    staffFile.clear();
    schoolFile.clear();
    municipalityFile.clear();
    staffUnreadable = false;
    schoolsUnreadable = false;
    municipalityUnreadable = false;
}

QString saveModeText(SaveMode mode)
{
    return mode == SaveMode::Binary ? u"BINARY"_s : u"TXT+BINARY"_s;
}

Date fiscalYearStart(const QDate& today)
{
    const int year = today.month() < 4 ? today.year() - 1 : today.year();
    return Date::fromYmd(year, 4, 1);
}

RosterStore::RosterStore() : surveyDate(fiscalYearStart(QDate::currentDate()))
{
}

QString RosterStore::yearCaption() const
{
    if (fiscalYear <= 0)
        return QString();
    return fiscalYearCaption(fiscalYear);
}

void RosterStore::clearYear()
{
    schools.clear();
    staff.clear();
    groupNames.clear();
    codeYearIndex.fill(0);
    municipalities.clear();
}

void RosterStore::sortStaffByCode()
{
    const size_t n = staff.size();
    if (n < 2)
        return;
    // Equivalent to inserting each row before the first row whose code is
    // not less than its own: ascending codes, equal codes reversed.
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return staff[size_t(a)].code < staff[size_t(b)].code; });
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && staff[size_t(order[j])].code == staff[size_t(order[i])].code)
            ++j;
        std::reverse(order.begin() + qsizetype(i), order.begin() + qsizetype(j));
        i = j;
    }
    std::vector<StaffRecord> sorted;
    sorted.reserve(n);
    for (int row : order)
        sorted.push_back(std::move(staff[size_t(row)]));
    staff = std::move(sorted);
}

int RosterStore::codeYearDigits(qint32 code)
{
    // Digits of the code without its sign; a code of fewer than four digits
    // contributes what it has (none: 0).
    qint64 v = code;
    if (v < 0)
        v = -v;
    int digits = 1;
    for (qint64 t = v; t >= 10; t /= 10)
        ++digits;
    if (digits < 3)
        return 0;
    if (digits == 3)
        return int(v % 10);
    qint64 div = 1;
    for (int i = 0; i < digits - 4; ++i)
        div *= 10;
    return int((v / div) % 100);
}

void RosterStore::rebuildCodeIndex()
{
    codeYearIndex.fill(0);
    for (size_t i = 0; i < staff.size(); ++i)
        codeYearIndex[size_t(codeYearDigits(staff[i].code))] = qint16(i);
}

int RosterStore::findStaffByCode(qint32 code) const
{
    const int count = staffCount();
    if (count <= 0)
        return -1;
    const int k = codeYearDigits(code);
    int start = codeYearIndex[size_t(k == 0 ? 99 : k - 1)];
    int end = codeYearIndex[size_t(k)];
    if (end == 0)
        end = count - 1;
    if (end < start)
        start = 0;
    start = std::clamp(start, 0, count - 1);
    end = std::clamp(end, 0, count - 1);
    for (int row = start; row <= end; ++row)
        if (staff[size_t(row)].code == code)
            return row;
    // The hire-year window only narrows the search; a code outside the
    // eight-digit pattern can lie outside it, so look everywhere else too.
    for (int row = 0; row < count; ++row)
        if ((row < start || row > end) && staff[size_t(row)].code == code)
            return row;
    return -1;
}

void RosterStore::syncStaffFromSchools()
{
    for (SchoolRecord& school : schools) {
        const QString fullName = school.fullName();
        bool emptied = false;
        for (ClerkSlot& slot : school.clerks) {
            if (slot.staffCode <= 0)
                continue;
            const int row = findStaffByCode(slot.staffCode);
            if (row < 0 && paths.staffUnreadable)
                continue; // the staff file could not be read: the post is not the one in doubt
            if (row < 0) {
                const qint16 mark = slot.mark; // slot 0's mark belongs to the whole school
                slot = ClerkSlot{};
                slot.mark = mark;
                emptied = true;
                continue;
            }
            StaffRecord& s = staff[size_t(row)];
            s.schoolFullName = fullName;
            s.schoolCode = school.code;
            s.schoolSortCode = school.sortCode;
            s.municipalityIndex = school.municipalityIndex;
            s.schoolKind = school.kind;
            s.schoolNumber = qint16(school.number);
        }
        if (emptied)
            school.compactPosts();
    }
}

void RosterStore::deriveSchoolFields(SchoolRecord& school)
{
    school.municipalityIndex = municipalities.municipalityPosition(school.municipality);
    if (school.kindText == u"小学校"_s)
        school.kind = 0;
    else if (school.kindText == u"中学校"_s)
        school.kind = 1;
    else if (school.kindText == u"特別支援学校"_s)
        school.kind = 2;
    school.sortCode = school.code;
    if (school.code % 10 == 5)
        school.sortCode = qint32(std::min<qint64>(qint64(school.code) + 1000, std::numeric_limits<qint32>::max()));
    if (!school.group.isEmpty() && groupNames.size() < cap::kMaxGroupNames && !groupNames.contains(school.group))
        groupNames.append(school.group);
}

void RosterStore::reindexStaff()
{
    sortStaffByCode();
    rebuildCodeIndex();
    if (!schools.empty())
        syncStaffFromSchools();
}
