#include "officers.h"

#include "post_status.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace officers {

const QStringList& postGroups()
{
    static const QStringList groups{u"全"_s,       u"理事"_s,     u"全事研"_s,      u"評議員"_s,
                                    u"研究委員"_s, u"特別委員"_s, otherChoiceName()};
    return groups;
}

int rankOf(const QString& post1, const QString& post2)
{
    static const QList<std::pair<QString, int>> fixed{
        {u"会長"_s, 0},       {u"副会長"_s, 1},       {u"会計"_s, 2},      {u"顧問"_s, 3},
        {u"瑠教研"_s, 4},     {u"会計監査"_s, 80},    {u"評議員"_s, 90},   {u"研究委員長"_s, 100},
        {u"研究委員"_s, 110}, {u"特別委員長"_s, 120}, {u"特別委員"_s, 130}};
    for (const auto& [post, rank] : fixed)
        if (post1 == post)
            return rank;
    if (post1 == u"常任理事"_s || post1 == u"理事"_s) {
        static const QList<std::pair<QString, int>> committees{
            {u"企画"_s, 10}, {u"研修"_s, 20}, {u"研究"_s, 30}, {u"広報"_s, 40}, {u"調査"_s, 50}};
        int rank = 60;
        for (const auto& [committee, number] : committees)
            if (post2 == committee)
                rank = number;
        return rank + (post1 == u"理事"_s ? 1 : 0);
    }
    if (post1 == u"全事研"_s) {
        if (post2 == u"会長"_s)
            return 71;
        if (post2 == u"常任理事"_s)
            return 72;
        if (post2 == u"理事"_s)
            return 73;
        return 74;
    }
    return 140;
}

std::vector<OfficerEntry> buildList(const RosterStore& store)
{
    std::vector<OfficerEntry> list;
    const MunicipalityTable& table = store.municipalities;
    for (const SchoolRecord& school : store.schools) {
        for (const ClerkSlot& slot : school.clerks) {
            if (slot.staffCode <= 0 || list.size() >= size_t(kMaxOfficers))
                continue;
            const int row = store.findStaffByCode(slot.staffCode);
            if (row < 0)
                continue;
            const StaffRecord& s = store.staff[size_t(row)];
            if (s.post1.isEmpty())
                continue;
            OfficerEntry e;
            refreshFromStaff(e, s);
            e.rank = qint16(rankOf(s.post1, s.post2));
            e.municipalityIndex = school.municipalityIndex;
            if (school.municipalityIndex >= 0 && size_t(school.municipalityIndex) < table.entries.size())
                e.district = table.entries[size_t(school.municipalityIndex)].districtName;
            e.municipality = school.municipality;
            e.schoolName = school.name + school.kindText;
            e.schoolCode = school.code;
            e.schoolTel = school.tel;
            e.schoolFax = school.fax;
            e.schoolPostal = school.postalCode;
            e.schoolAddress = school.municipality + school.address;
            list.push_back(e);
        }
    }
    // Stable: officers equal in every key keep their school order.
    std::stable_sort(list.begin(), list.end(), [](const OfficerEntry& a, const OfficerEntry& b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        if (a.municipalityIndex != b.municipalityIndex)
            return a.municipalityIndex < b.municipalityIndex;
        return a.code > b.code;
    });
    return list;
}

bool inGroup(const OfficerEntry& e, const QString& group)
{
    if (group.isEmpty() || group == u"全"_s)
        return true;
    if (group == otherChoiceName()) {
        for (const QString& g : postGroups().mid(1, 5))
            if (e.post1.contains(g))
                return false;
        return true;
    }
    return e.post1.contains(group);
}

std::vector<int> shownEntries(const std::vector<OfficerEntry>& list, const QString& group)
{
    std::vector<int> shown;
    for (size_t i = 0; i < list.size(); ++i)
        if (inGroup(list[i], group))
            shown.push_back(int(i));
    return shown;
}

void refreshFromStaff(OfficerEntry& e, const StaffRecord& s)
{
    e.post1 = s.post1;
    e.post2 = s.post2;
    e.name = s.name;
    e.reading = s.reading;
    e.code = s.code;
    e.homeTel = s.tel;
    e.homeFax = s.fax;
    e.mobile = s.mobile;
    e.homePostal = s.postalCode;
    e.homeAddress1 = s.address1;
    e.homeAddress2 = s.address2;
}

} // namespace officers
