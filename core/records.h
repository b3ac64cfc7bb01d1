#pragma once

#include "capacities.h"
#include "date.h"

#include <QString>
#include <array>

// One clerk post of a school. Posts are filled from slot 0 upward.
struct ClerkSlot {
    qint32 staffCode = 0; // 0 = empty post
    QString staffName;
    QString status;   // "" for a regular post, else one of the post statuses
    QString note;
    QString reserved; // carried through files unchanged
    qint16 mark = 0;  // selection mark of the school list; never saved

    bool isEmpty() const { return staffCode == 0; }
};

struct SchoolRecord {
    QString prefSelText;
    qint16 prefSelIndex = -1;
    QString municipality;
    qint16 municipalityIndex = cap::kMunicipalityEmpty; // derived
    QString name;
    QString reading;
    QString kindText;
    qint16 kind = 0; // derived
    qint32 code = 0;
    qint32 number = 0;
    qint32 sortCode = 0; // derived
    QString group;
    QString postalCode;
    QString address;
    QString tel;
    QString fax;
    QString mail;
    qint16 branchCount = 0;
    qint16 regularClasses = 0;
    qint16 specialClasses = 0;
    std::array<ClerkSlot, cap::kClerkSlots> clerks;

    // The posts that count: the leading slots that hold a staff code, up to the
    // first empty one. Posts are kept compact, so these are all the clerks.
    int filledSlotCount() const;
    // The number of posts that hold a staff code, wherever they are.
    int postedCount() const;
    // The post holding `staffCode`, or -1 (never a post for code 0).
    int postOf(qint32 staffCode) const;

    // The one rule for a school's posts: they are filled from slot 0 upward.
    // Every change that empties a post goes through these, so the clerks
    // behind it move up, in their order, and none is left behind a gap.
    // Slot 0's mark stays where it is (it marks the whole school); the marks
    // of the other posts travel with their clerks. True when a clerk moved.
    bool compactPosts();
    // Empties post `slot` (0 to 6) and moves the later clerks up.
    void emptyPost(int slot);
    // Puts the clerk in the first free post; the post, or -1 when the code
    // is 0 or every post is taken.
    int addClerk(qint32 staffCode, const QString& staffName);
    // Empties the post of `staffCode`, if the school has one; true when it did.
    bool removeClerk(qint32 staffCode);
    // municipality + "立" + name + kind, e.g. 瑠璃市立青葉小学校
    QString fullName() const;
};

struct StaffRecord {
    // School of posting, copied from the school by syncStaffFromSchools.
    QString schoolFullName;
    qint32 schoolCode = 0;
    qint32 schoolSortCode = 0;
    qint16 municipalityIndex = cap::kMunicipalityUnknown;
    qint16 schoolKind = 0;
    qint16 schoolNumber = 0;

    QString name;
    QString reading;
    qint32 code = 0;
    qint16 sex = 0; // 0 男, 1 女
    Date birthDate;
    qint16 ageYears = 0;  // derived
    qint16 ageMonths = 0; // derived
    QString postalCode;
    QString address1;
    QString address2;
    QString tel;
    QString fax;
    QString mobile;
    QString mail;
    qint16 temporary = 0;
    QString post1;
    QString post2;
    QString jobTitle;
    qint16 grade = 0;
    QString payStep;
    qint16 jobTitleIndex = cap::kNoJobTitle;
    qint16 spare = 0;
    Date appointDate;
    Date hireDate;
    qint16 serviceAdjustMonths = 0;
    Date postingDate;
    qint16 tenureAdjustMonths = 0;
    QString remarks;
};
