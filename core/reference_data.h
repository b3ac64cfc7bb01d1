#pragma once

#include "post_status.h" // postStatuses(), the post statuses

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class UserNotifier;

struct PlaceEntry {
    QString name;
    int district = 0; // index into ReferenceData::districtNames
};

struct MergerRow {
    QString oldName;
    QString newName;
    QString addressPrefix; // put in front of a school's address; "" for none
};

// Areas whose districts are offered in a second selector.
struct DistrictSubList {
    QString areaName;
    QStringList districts;
    bool mustChoose = false; // nothing is extracted until a district is chosen
};

// The place names of the prefecture: configuration data supplied with the
// deployment ("places.txt").
struct ReferenceData {
    QString prefectureName;
    QString associationName;
    QString associationMember;
    QStringList districtNames;
    // Generation A (up to Heisei 15) groups districts into 管内; B and C
    // (from Heisei 16) into district groups headed by the first municipality.
    QStringList areaNamesA;
    QStringList areaNamesBC;
    std::vector<int> areaOfDistrictA;
    std::vector<int> areaOfDistrictBC;
    std::vector<PlaceEntry> municipalitiesAB; // up to Heisei 17
    std::vector<PlaceEntry> municipalitiesC;  // from Heisei 18, after the mergers
    std::vector<MergerRow> mergers;
    std::vector<DistrictSubList> subLists;
    QString splitDistrict; // printed in two halves on the district sheets

    const DistrictSubList* subListFor(const QString& areaName) const;
    const MergerRow* mergerFor(const QString& oldName) const;
};

// Parses and checks the text of "places.txt" (UTF-8).
std::optional<ReferenceData> parseReferenceData(const QByteArray& text, QString* error);
// The copy built into the program.
const ReferenceData& builtInReferenceData();
// The program folder's "places.txt" when there is one and it is sound, else
// the built-in data; a broken file is reported through `notifier`.
ReferenceData loadReferenceData(const QString& programFolder, UserNotifier* notifier);

// The fixed tables.
const QStringList& jobTitles();   // 職名, positions 0 to 5, with their spacing
const QStringList& schoolKinds(); // 小学校, 中学校, 特別支援学校
