#pragma once

#include "capacities.h"

#include <QString>
#include <QStringList>
#include <vector>

struct MunicipalityEntry {
    QString name;
    qint16 position = 0;
    QString districtName;
    qint16 districtIndex = 0;
    QString areaName;
    qint16 areaIndex = 0;
};

// The municipalities of the open year with their districts (地区) and areas (管内).
struct MunicipalityTable {
    std::vector<MunicipalityEntry> entries; // at most cap::kMunicipalities
    QStringList districtNames;              // at most cap::kDistrictNames
    QStringList areaNames;                  // at most cap::kAreaNames

    // A school association run jointly by several municipalities is not an
    // entry; its schools are grouped with one member municipality.
    QString associationName;
    QString associationMember;
    qint16 associationIndex = cap::kMunicipalityUnknown;

    int count() const { return int(entries.size()); }
    void clear();

    // The first position whose name equals `name`; 100 for "", the
    // association's member position for the association, otherwise 99.
    qint16 municipalityPosition(const QString& name) const;
    // Position of `name` among the entries, or -1.
    int indexOf(const QString& name) const;
    // Sets associationIndex from associationMember (the last match wins).
    void updateAssociationIndex();
};
