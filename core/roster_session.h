#pragma once

#include "capacities.h"

#include <QString>
#include <array>
#include <vector>

class RosterStore;

// What the school list shows: the export (ファイル作成) and the printed
// rosters select their schools with exactly this.
struct SchoolFilter {
    QString area = QStringLiteral("全"); // "全" for every area
    QString district;
    QString group = QStringLiteral("全"); // "全", a group name, or "その他"
    QString municipality;
    int kinds = 7;         // 1 小学校, 2 中学校, 4 特別支援学校
    bool officers = false; // only schools whose clerks hold an association post
    bool narrowed = false; // the list shows an extraction, not every school

    bool operator==(const SchoolFilter&) const = default;
};

// Choices of the statistics and officer windows that the print jobs read
// after the windows close.
struct TallySelections {
    QString tallyArea;                           // the statistics window's area
    QString tallyDistrict;                       // and district
    bool tallyLeaveCoverIncluded = false;        // 産育休補助を含む
    bool tallyVacancyFillIncluded = false;       // 欠員補充を含む
    QString officerGroup = QStringLiteral("全"); // the officer list's post group
};

// What the windows hand each other while a year is open. It lives beside the
// roster, never inside it, and names schools and staff by their codes: rows
// move whenever a table is sorted, added to or deleted from, codes do not.
class RosterSession {
public:
    RosterSession();

    // The school list's filter, written only by the school list.
    SchoolFilter schoolFilter;
    // The codes of the schools the last extraction listed, in display order.
    std::vector<qint32> shownSchools;
    // The staff list's display order: staff rows, one per display position.
    // It is a permutation of the staff rows whenever it is read; a table
    // that changed under it (a member added or deleted, a year opened)
    // gets the table order back rather than rows that are gone.
    std::array<qint16, cap::kTableRows> staffListOrder{};
    TallySelections selections;
    int selectTopRow = 0;  // 職員選択 opens scrolled where it was left
    qint32 presetCode = 0; // the staff code 職員選択 handed back; -1 none

    // Position i holds row i.
    void resetStaffListOrder();
    // Resets the order unless it is a permutation of the `staffCount` rows.
    void checkStaffListOrder(int staffCount);
    // The staff row at display position `position`, or -1.
    int staffRowAt(const RosterStore& store, int position) const;

    // The school rows of `shownSchools` that still exist, in their order.
    std::vector<int> shownSchoolRows(const RosterStore& store) const;
    void setShownSchools(const RosterStore& store, const std::vector<int>& rows);

    // A year was opened or closed: nothing of the old year is handed on.
    void clearYear();
};
