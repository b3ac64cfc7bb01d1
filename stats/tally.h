#pragma once

#include "roster_store.h"

#include <QString>
#include <QStringList>
#include <array>

// The tallies of the school office staff: by school kind, sex, job title and
// grade, age and years of experience, overall and by district.
namespace tally {

// A pair of counts, men and women, in the 16 bits the sheets have always used.
struct Count {
    qint16 male = 0;
    qint16 female = 0;
    void add(int sex) { sex == 0 ? ++male : ++female; }
    int total() const { return male + female; }
    Count& operator+=(const Count& o)
    {
        male = qint16(male + o.male);
        female = qint16(female + o.female);
        return *this;
    }
    friend bool operator==(const Count&, const Count&) = default;
};

struct YearsMonths {
    int years = 0;
    int months = 0;
    friend bool operator==(const YearsMonths&, const YearsMonths&) = default;
};

inline constexpr int kCategories = 8;  // title-and-grade categories 0..7
inline constexpr int kKindColumns = 4; // 小, 中, 特別支援, total
inline constexpr int kSlots = 46;      // ages 18.. (slot = age - 18) or years 0..; 43 are used
inline constexpr int kDistricts = 16;
inline constexpr int kMinAge = 18;
inline constexpr int kMaxAge = 60;
inline constexpr int kMaxExperience = 42;

// The category of a job title (blanks removed) and grade, -1 for none.
int titleGradeCategory(const QString& jobTitle, int grade);
// The nine column labels, highest category first; entry k labels category 7 - k.
const QStringList& categoryLabels();
// The eight age-band labels, oldest first.
const QStringList& bandLabels();

struct Options {
    QString area;     // CTV_SEL1: "全", an area name, or "" (every school)
    QString district; // CTV_SEL2
    bool includeLeaveCover = true;   // 産育休補助を含む
    bool includeVacancyFill = true;  // 欠員補充を含む
};

struct SummaryTally {
    std::array<std::array<Count, kKindColumns>, kCategories + 1> byCategory{};
    std::array<Count, kKindColumns> leaveCover{};
    std::array<Count, kKindColumns> vacancyFill{};
    std::array<Count, kSlots> byAge{};
    std::array<Count, kSlots> byExperience{};
    std::array<Count, kKindColumns> categoryTotal{};
    YearsMonths averageAge;
};

struct DistrictTally {
    // Row 0 is the total, rows 1..8 the categories 0..7.
    std::array<std::array<std::array<Count, kDistricts>, 11>, 3> byKindCategoryDistrict{};
    std::array<std::array<Count, 11>, 3> byKindCategory{};
    std::array<std::array<Count, kDistricts>, kSlots> byAgeDistrict{};
    std::array<Count, kSlots> byAge{};
    std::array<std::array<Count, kDistricts>, kSlots> byExperienceDistrict{};
    std::array<Count, kSlots> byExperience{};
    std::array<YearsMonths, kDistricts> averageAgeByDistrict{};
    YearsMonths averageAge;
    bool valid = false;
};

// Every staff member's age at the survey date (0 without a birth date).
void prepareAges(RosterStore& store);

// The area-filtered tally of the screen tables and the summary sheet.
SummaryTally computeSummaryTally(const RosterStore& store, const Options& options);
// The whole roster by district, for the district sheets and the graphs.
DistrictTally computeDistrictTally(const RosterStore& store, const Options& options);

// The mean of ages given as summed years and months, to the nearest month
// (a half goes to the even month).
YearsMonths averageOf(qint64 yearsSum, qint64 monthsSum, qint64 count);

struct Band {
    Count count;
    double share = 0; // per cent of everyone aged 18..60
};
// The single-year counts summed into the eight bands, oldest first.
std::array<Band, 8> ageBands(const std::array<Count, kSlots>& byAge);

} // namespace tally
