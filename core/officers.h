#pragma once

#include "roster_store.h"

#include <QString>
#include <QStringList>
#include <vector>

// An officer of the school-office association: a posted clerk whose
// association post is filled in, with the contacts the officer list shows.
struct OfficerEntry {
    QString post1;
    QString post2;
    qint16 rank = 0;
    qint16 municipalityIndex = 0;
    QString district;
    QString name;
    QString reading;
    qint32 code = 0;
    QString homeTel, homeFax, mobile;
    QString homePostal, homeAddress1, homeAddress2;
    QString municipality; // of the school
    QString schoolName;   // name followed by the kind
    qint32 schoolCode = 0;
    QString schoolTel, schoolFax, schoolPostal;
    QString schoolAddress; // municipality followed by the address
};

namespace officers {

inline constexpr int kMaxOfficers = 101;

// The post groups of the officer list, "全" first.
const QStringList& postGroups();

// Where a post ranks: 会長 0, 副会長 1, ... the committees by number, any
// other post 140.
int rankOf(const QString& post1, const QString& post2);

// Every posted clerk with an association post, schools in table order (at
// most 101), ranked by post, then municipality, then the larger code first.
std::vector<OfficerEntry> buildList(const RosterStore& store);

bool inGroup(const OfficerEntry& e, const QString& group);
std::vector<int> shownEntries(const std::vector<OfficerEntry>& list, const QString& group);

// The personal texts again from the staff record after an edit.
void refreshFromStaff(OfficerEntry& e, const StaffRecord& s);

} // namespace officers
