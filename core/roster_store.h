#pragma once

#include "capacities.h"
#include "date.h"
#include "municipality_table.h"
#include "postal_codes.h"
#include "records.h"
#include "reference_data.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The user's own settings, kept in the user settings file.
struct UserProfile {
    QString areaName;      // 地区名; contains "瑠璃県" for a prefecture-level user
    QString userId;        // ユーザＩＤ
    QString suiteSchoolName;
    qint32 suiteSchoolCode = 0;
    qint16 optionFlags = 0;
    // Print position corrections in millimetres: portrait right, portrait
    // down, landscape right, landscape down.
    std::array<float, 4> printOffsets{0, 0, 0, 0};
};

// Bits of UserProfile::optionFlags.
namespace OptionFlag {
inline constexpr qint16 AgeOnBirthday = 1;      // 誕生日に年齢加算
inline constexpr qint16 OrderBySchoolNumber = 2; // 学校番号使用
inline constexpr qint16 MunicipalityFirst = 4;   // 市町村名優先
inline constexpr qint16 NumberSchools = 256;     // 印刷番号: 同一校の時無し
} // namespace OptionFlag

// Where the open year's files live.
struct RosterPaths {
    QString dataFolder;
    QString staffFile;        // NN + "MEIBO.NKD"
    QString schoolFile;       // NN + "SCHOOL.NSD"
    QString municipalityFile; // NN + "CTV.NKD"
    // The year's file exists but could not be read: it is not written over.
    bool staffUnreadable = false;
    bool schoolsUnreadable = false;
    bool municipalityUnreadable = false;

    // The year's three file names in `dataFolder`.
    void setYear(int nn);
    void clearYear();
};

enum class SaveMode { Binary, TextAndBinary };
QString saveModeText(SaveMode mode); // "BINARY", "TXT+BINARY"

// The one roster of the process. Windows receive it by reference and change
// its tables in place; the files are only a serialised copy. What windows
// hand each other lives in RosterSession, beside it.
class RosterStore {
public:
    RosterStore();

    std::vector<SchoolRecord> schools; // rows in use; never more than cap::kTableRows
    std::vector<StaffRecord> staff;    // rows in use; never more than cap::kTableRows

    qint16 schoolCount() const { return qint16(schools.size()); }
    qint16 staffCount() const { return qint16(staff.size()); }
    bool canAddSchool() const { return schools.size() < size_t(cap::kMaxSchools); }
    bool canAddStaff() const { return staff.size() < size_t(cap::kMaxStaff); }

    std::array<qint16, cap::kCodeYearEntries> codeYearIndex{};
    QStringList groupNames; // at most cap::kMaxGroupNames

    Date surveyDate;
    qint16 fiscalYear = 0;       // number NN of the open roster's files (years from 1989), 0 = none
    QString yearCaption() const; // in the era of its April 1: "令和8年度" for 38; "" while none is open

    RosterPaths paths;
    SaveMode saveMode = SaveMode::Binary;
    qint16 dirty = 0;
    UserProfile profile;

    MunicipalityTable municipalities;
    PostalCodeTable postalCodes;
    ReferenceData places = builtInReferenceData();

    // A prefecture-level user reads every area's roster and sees the
    // districts and areas: the area name contains the prefecture's name.
    bool prefectureLevel() const { return profile.areaName.contains(places.prefectureName); }

    // Empties both tables, the group names and the municipality table.
    void clearYear();

    // Orders the staff by code. Equal codes end up in the reverse of their
    // earlier order, as they always have.
    void sortStaffByCode();
    void rebuildCodeIndex();
    int findStaffByCode(qint32 code) const;
    void syncStaffFromSchools();
    void deriveSchoolFields(SchoolRecord& school);
    // sortStaffByCode, rebuildCodeIndex, then syncStaffFromSchools when
    // schools are present: the order everything else relies on.
    void reindexStaff();

    // The two digits of a staff code that name the hire year within a
    // century: the third and fourth digits of its decimal text.
    static int codeYearDigits(qint32 code);
};

// April 1 of the fiscal year that `today` lies in.
Date fiscalYearStart(const QDate& today);
