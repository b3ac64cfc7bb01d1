#include "municipality_table.h"

void MunicipalityTable::clear()
{
    entries.clear();
    districtNames.clear();
    areaNames.clear();
    associationIndex = cap::kMunicipalityUnknown;
}

int MunicipalityTable::indexOf(const QString& name) const
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == name)
            return int(i);
    return -1;
}

qint16 MunicipalityTable::municipalityPosition(const QString& name) const
{
    if (name.isEmpty())
        return cap::kMunicipalityEmpty;
    const int i = indexOf(name);
    if (i >= 0)
        return qint16(i);
    if (!associationName.isEmpty() && name == associationName)
        return associationIndex;
    return cap::kMunicipalityUnknown;
}

void MunicipalityTable::updateAssociationIndex()
{
    associationIndex = cap::kMunicipalityUnknown;
    for (size_t i = 0; i < entries.size(); ++i)
        if (!associationMember.isEmpty() && entries[i].name == associationMember)
            associationIndex = qint16(i);
}
