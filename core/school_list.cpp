#include "school_list.h"

#include "post_status.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace school_list {

void sortSchoolTable(RosterStore& store)
{
    const size_t n = store.schools.size();
    if (n < 2)
        return;
    const qint16 flags = store.profile.optionFlags;
    const bool municipalityFirst = flags & OptionFlag::MunicipalityFirst;
    const bool byNumber = flags & OptionFlag::OrderBySchoolNumber;
    auto key = [&](const SchoolRecord& s) {
        std::array<qint64, 5> k{s.prefSelIndex, municipalityFirst ? s.municipalityIndex : s.kind,
                                municipalityFirst ? s.kind : s.municipalityIndex,
                                byNumber ? qint64(s.number) : qint64(s.sortCode), byNumber ? qint64(s.sortCode) : 0};
        return k;
    };
    std::vector<std::pair<std::array<qint64, 5>, size_t>> items;
    items.reserve(n);
    for (size_t i = 0; i < n; ++i)
        items.push_back({key(store.schools[i]), i});
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    if (byNumber) {
        // Ordered by number, a school equal in every key goes before its equals.
        for (size_t i = 0; i < n;) {
            size_t j = i + 1;
            while (j < n && items[j].first == items[i].first)
                ++j;
            std::reverse(items.begin() + qsizetype(i), items.begin() + qsizetype(j));
            i = j;
        }
    }
    std::vector<SchoolRecord> sorted;
    sorted.reserve(n);
    for (const auto& item : items)
        sorted.push_back(std::move(store.schools[item.second]));
    store.schools = std::move(sorted);
}

bool isOfficerPost(const RosterStore& store, const ClerkSlot& slot)
{
    if (slot.staffCode <= 19000000)
        return false;
    const int row = store.findStaffByCode(slot.staffCode);
    return row >= 0 && !store.staff[size_t(row)].post1.isEmpty();
}

bool hasOfficer(const RosterStore& store, const SchoolRecord& school)
{
    for (const ClerkSlot& slot : school.clerks)
        if (isOfficerPost(store, slot))
            return true;
    return false;
}

bool schoolPassesFilter(const RosterStore& store, const SchoolFilter& f, int row)
{
    if (row < 0 || row >= store.schoolCount())
        return false;
    const SchoolRecord& s = store.schools[size_t(row)];
    if (f.officers)
        return hasOfficer(store, s);
    if (s.kind < 0 || s.kind > 2 || !(f.kinds & (1 << s.kind)))
        return false;
    if (f.area.trimmed() != u"全"_s) {
        if (s.municipalityIndex == cap::kMunicipalityUnknown)
            return false;
        const MunicipalityTable& t = store.municipalities;
        const MunicipalityEntry* e = s.municipalityIndex >= 0 && size_t(s.municipalityIndex) < t.entries.size()
                                         ? &t.entries[size_t(s.municipalityIndex)]
                                         : nullptr;
        if (!f.district.isEmpty()) {
            if (!e || e->districtName != f.district)
                return false;
        } else if (!f.area.isEmpty()) {
            if (!e || e->areaName != f.area)
                return false;
        }
    }
    if (f.group == otherChoiceName()) {
        if (store.groupNames.contains(s.group))
            return false;
    } else if (f.group != u"全"_s && !f.group.isEmpty() && f.group != s.group) {
        return false;
    }
    if (!f.municipality.trimmed().isEmpty() && f.municipality.trimmed() != s.municipality)
        return false;
    return true;
}

std::vector<Row> buildRows(const RosterStore& store, const std::vector<int>& schools, bool readings,
                           bool numberSchools)
{
    std::vector<Row> rows;
    rows.reserve(schools.size() * (readings ? 4 : 2));
    int postNumber = 0;
    int schoolNumber = 0;
    for (int school : schools) {
        if (school < 0 || school >= store.schoolCount())
            continue;
        ++schoolNumber;
        const SchoolRecord& s = store.schools[size_t(school)];
        for (int slot = 0; slot < cap::kClerkSlots; ++slot) {
            if (slot > 0 && s.clerks[size_t(slot)].staffCode < 1)
                continue;
            ++postNumber;
            Row r;
            r.school = school;
            r.slot = slot;
            if (numberSchools)
                r.number = slot == 0 ? QString::number(schoolNumber) : QString();
            else
                r.number = QString::number(postNumber);
            rows.push_back(r);
            if (readings) {
                Row reading = r;
                reading.reading = true;
                reading.number.clear();
                rows.push_back(reading);
            }
        }
    }
    return rows;
}

std::vector<int> allSchools(const RosterStore& store)
{
    std::vector<int> out(size_t(store.schoolCount()));
    std::iota(out.begin(), out.end(), 0);
    return out;
}

std::vector<int> filteredSchools(const RosterStore& store, const SchoolFilter& filter)
{
    std::vector<int> out;
    for (int i = 0; i < store.schoolCount(); ++i)
        if (schoolPassesFilter(store, filter, i))
            out.push_back(i);
    return out;
}

void takeOutOfPost(StaffRecord& s)
{
    s.schoolFullName.clear();
    s.schoolCode = 0;
    s.schoolSortCode = 0;
    s.schoolKind = 0;
    s.schoolNumber = 0;
    s.municipalityIndex = cap::kMunicipalityUnknown;
}

void deleteSchools(RosterStore& store, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= store.schoolCount(); }),
               rows.end());
    if (rows.empty())
        return;
    store.dirty = 1;
    for (int row : rows) {
        for (const ClerkSlot& slot : store.schools[size_t(row)].clerks) {
            if (slot.staffCode <= 0)
                continue;
            const int s = store.findStaffByCode(slot.staffCode);
            if (s >= 0)
                takeOutOfPost(store.staff[size_t(s)]);
        }
    }
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        store.schools.erase(store.schools.begin() + *it);
}

} // namespace school_list
