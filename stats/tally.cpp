#include "tally.h"

#include "periods.h"
#include "post_status.h"

using namespace Qt::StringLiterals;

namespace tally {

namespace {
struct CategoryRow {
    const char16_t* title;
    int grade;
};
constexpr CategoryRow kCategoryRows[kCategories] = {
    {u"主事", 1},   {u"主事", 2},   {u"主任主事", 3}, {u"副主査", 3},
    {u"副主査", 4}, {u"事務長", 4}, {u"事務長", 5},   {u"事務長", 6},
};
constexpr int kBandLow[8] = {55, 50, 45, 40, 35, 30, 25, 18};
constexpr int kBandHigh[8] = {60, 54, 49, 44, 39, 34, 29, 24};

QString withoutBlanks(const QString& text)
{
    QString t = text;
    t.remove(u' ');
    t.remove(QChar(0x3000));
    return t;
}

bool excluded(const StaffRecord& s)
{
    const QString title = s.jobTitle.trimmed();
    return title.isEmpty() || title == u"市町村職員"_s || title == u"その他"_s;
}

// Calls `visit(school, slot, member)` for every post holding a staff member
// who is tallied at all.
template <typename Visit> void walkMembers(const RosterStore& store, const Visit& visit)
{
    for (const SchoolRecord& school : store.schools) {
        for (const ClerkSlot& slot : school.clerks) {
            if (slot.staffCode <= 0)
                continue;
            const int row = store.findStaffByCode(slot.staffCode);
            if (row < 0)
                continue;
            const StaffRecord& member = store.staff[size_t(row)];
            if (!excluded(member))
                visit(school, slot, member);
        }
    }
}

int experienceYears(const RosterStore& store, const StaffRecord& s)
{
    return periodSince(s.hireDate, store.surveyDate, s.serviceAdjustMonths).years;
}

const MunicipalityEntry* entryOf(const RosterStore& store, const SchoolRecord& school)
{
    const auto& entries = store.municipalities.entries;
    if (school.municipalityIndex < 0 || size_t(school.municipalityIndex) >= entries.size())
        return nullptr;
    return &entries[size_t(school.municipalityIndex)];
}

bool takenBySummary(const RosterStore& store, const SchoolRecord& school, const Options& o)
{
    if (school.municipalityIndex == cap::kMunicipalityUnknown)
        return false;
    if (o.area == u"全"_s)
        return true;
    const MunicipalityEntry* e = entryOf(store, school);
    if (!o.district.isEmpty())
        return e && e->districtName == o.district;
    if (!o.area.isEmpty())
        return e && e->areaName == o.area;
    return true;
}
} // namespace

int titleGradeCategory(const QString& jobTitle, int grade)
{
    const QString title = withoutBlanks(jobTitle);
    for (int i = 0; i < kCategories; ++i)
        if (title == QStringView(kCategoryRows[i].title) && grade == kCategoryRows[i].grade)
            return i;
    return -1;
}

const QStringList& categoryLabels()
{
    static const QStringList labels{u"６級事務長"_s, u"５級事務長"_s, u"４級事務長"_s, u"４級副主査"_s, u"３級副主査"_s,
                                    u"３級主任主事"_s, u" ２級主事"_s, u" １級主事"_s, QString()};
    return labels;
}

const QStringList& bandLabels()
{
    static const QStringList labels{u"５５～６０"_s, u"５０～５４"_s, u"４５～４９"_s, u"４０～４４"_s,
                                    u"３５～３９"_s, u"３０～３４"_s, u"２５～２９"_s, u"１８～２４"_s};
    return labels;
}

void prepareAges(RosterStore& store)
{
    calcAllAges(store);
}

YearsMonths averageOf(qint64 yearsSum, qint64 monthsSum, qint64 count)
{
    if (count <= 0)
        return {};
    const qint64 total = yearsSum * 12 + monthsSum;
    qint64 q = total / count;
    const qint64 r = total % count;
    if (2 * r > count || (2 * r == count && q % 2 != 0))
        ++q;
    return {int(q / 12), int(q % 12)};
}

SummaryTally computeSummaryTally(const RosterStore& store, const Options& o)
{
    SummaryTally t;
    qint64 years = 0, months = 0, members = 0;
    walkMembers(store, [&](const SchoolRecord& school, const ClerkSlot& slot, const StaffRecord& s) {
        if (!takenBySummary(store, school, o) || school.kind < 0 || school.kind > 2)
            return;
        const int kind = school.kind;
        if (!o.includeLeaveCover && hasPostStatus(slot.status, PostStatus::LeaveCover)) {
            t.leaveCover[size_t(kind)].add(s.sex);
            return;
        }
        if (!o.includeVacancyFill && hasPostStatus(slot.status, PostStatus::VacancyFill)) {
            t.vacancyFill[size_t(kind)].add(s.sex);
            return;
        }
        const int category = titleGradeCategory(s.jobTitle, s.grade);
        if (category >= 0)
            t.byCategory[size_t(category)][size_t(kind)].add(s.sex);
        if (s.ageYears >= kMinAge && s.ageYears <= kMaxAge)
            t.byAge[size_t(s.ageYears - kMinAge)].add(s.sex);
        const int experience = experienceYears(store, s);
        if (experience >= 0 && experience <= kMaxExperience)
            t.byExperience[size_t(experience)].add(s.sex);
        years += s.ageYears;
        months += s.birthDate.isSet() ? s.ageMonths : 0;
        ++members;
    });
    auto sumColumns = [](std::array<Count, kKindColumns>& row) {
        row[3] = Count{};
        for (int k = 0; k < 3; ++k)
            row[3] += row[size_t(k)];
    };
    for (auto& row : t.byCategory)
        sumColumns(row);
    sumColumns(t.leaveCover);
    sumColumns(t.vacancyFill);
    for (int k = 0; k < kKindColumns; ++k)
        for (int c = 0; c < kCategories; ++c)
            t.categoryTotal[size_t(k)] += t.byCategory[size_t(c)][size_t(k)];
    t.averageAge = averageOf(years, months, members);
    return t;
}

DistrictTally computeDistrictTally(const RosterStore& store, const Options& o)
{
    DistrictTally t;
    std::array<qint64, kDistricts> years{}, months{}, members{};
    walkMembers(store, [&](const SchoolRecord& school, const ClerkSlot& slot, const StaffRecord& s) {
        if (school.municipalityIndex < 0 || school.municipalityIndex >= 80 || school.kind < 0 || school.kind > 2)
            return;
        const MunicipalityEntry* e = entryOf(store, school);
        if (!e || e->districtIndex < 0 || e->districtIndex >= kDistricts)
            return;
        if ((!o.includeLeaveCover && hasPostStatus(slot.status, PostStatus::LeaveCover)) ||
            (!o.includeVacancyFill && hasPostStatus(slot.status, PostStatus::VacancyFill)))
            return;
        const size_t district = size_t(e->districtIndex);
        const size_t kind = size_t(school.kind);
        const int category = titleGradeCategory(s.jobTitle, s.grade);
        if (category >= 0) {
            t.byKindCategoryDistrict[kind][size_t(category + 1)][district].add(s.sex);
            t.byKindCategory[kind][size_t(category + 1)].add(s.sex);
        }
        // Row 0 counts everyone tallied, a title and grade outside the
        // categories included, as the ages and the average do.
        t.byKindCategoryDistrict[kind][0][district].add(s.sex);
        t.byKindCategory[kind][0].add(s.sex);
        if (s.ageYears >= kMinAge && s.ageYears <= kMaxAge) {
            t.byAgeDistrict[size_t(s.ageYears - kMinAge)][district].add(s.sex);
            t.byAge[size_t(s.ageYears - kMinAge)].add(s.sex);
        }
        const int experience = experienceYears(store, s);
        if (experience >= 0 && experience <= kMaxExperience) {
            t.byExperienceDistrict[size_t(experience)][district].add(s.sex);
            t.byExperience[size_t(experience)].add(s.sex);
        }
        years[district] += s.ageYears;
        months[district] += s.birthDate.isSet() ? s.ageMonths : 0;
        ++members[district];
    });
    qint64 allMonths = 0, all = 0;
    for (int d = 0; d < kDistricts; ++d) {
        t.averageAgeByDistrict[size_t(d)] = averageOf(years[size_t(d)], months[size_t(d)], members[size_t(d)]);
        allMonths += years[size_t(d)] * 12 + months[size_t(d)];
        all += members[size_t(d)];
    }
    t.averageAge = averageOf(0, allMonths, all);
    t.valid = true;
    return t;
}

std::array<Band, 8> ageBands(const std::array<Count, kSlots>& byAge)
{
    std::array<Band, 8> bands{};
    int everyone = 0;
    for (int age = kMaxAge; age >= kMinAge; --age) {
        const Count& c = byAge[size_t(age - kMinAge)];
        everyone += c.total();
        for (int b = 0; b < 8; ++b)
            if (age >= kBandLow[b] && age <= kBandHigh[b])
                bands[size_t(b)].count += c;
    }
    for (Band& b : bands)
        b.share = everyone > 0 ? b.count.total() * 100.0 / everyone : 0.0;
    return bands;
}

} // namespace tally
