#include "reference_tables.h"

#include "roster_files.h"

using namespace Qt::StringLiterals;

PlaceGeneration generationFor(int nn)
{
    if (nn < 16)
        return PlaceGeneration::A;
    if (nn <= 17)
        return PlaceGeneration::B;
    return PlaceGeneration::C;
}

void fillBuiltInGeneration(RosterStore& store, int nn)
{
    const ReferenceData& p = store.places;
    const PlaceGeneration g = generationFor(nn);
    const std::vector<PlaceEntry>& places = g == PlaceGeneration::C ? p.municipalitiesC : p.municipalitiesAB;
    const QStringList& areas = g == PlaceGeneration::A ? p.areaNamesA : p.areaNamesBC;
    const std::vector<int>& areaOf = g == PlaceGeneration::A ? p.areaOfDistrictA : p.areaOfDistrictBC;

    MunicipalityTable& t = store.municipalities;
    t.entries.assign(places.size(), MunicipalityEntry{});
    for (size_t i = 0; i < places.size(); ++i)
        t.entries[i].name = places[i].name;
    t.districtNames.clear();
    t.areaNames.clear();
    // Districts and areas mean something only to a prefecture-level user.
    if (!store.prefectureLevel())
        return;
    t.areaNames = areas;
    t.districtNames = p.districtNames;
    for (size_t i = 0; i < places.size(); ++i) {
        MunicipalityEntry& e = t.entries[i];
        const int district = places[i].district;
        const int area = areaOf[size_t(district)];
        e.position = qint16(i);
        e.districtIndex = qint16(district);
        e.districtName = p.districtNames[district];
        e.areaIndex = qint16(area);
        e.areaName = areas[area];
    }
}

void buildMunicipalityTable(RosterStore& store, int nn)
{
    if (loadMunicipalityTable(store) != 1)
        fillBuiltInGeneration(store, nn);
    store.municipalities.associationName = store.places.associationName;
    store.municipalities.associationMember = store.places.associationMember;
    store.municipalities.updateAssociationIndex();
}

void applyMergerMap(RosterStore& store)
{
    for (SchoolRecord& school : store.schools) {
        if (const MergerRow* m = store.places.mergerFor(school.municipality)) {
            school.municipality = m->newName;
            if (!m->addressPrefix.isEmpty())
                school.address = m->addressPrefix + school.address;
        }
        const int i = store.municipalities.indexOf(school.municipality);
        if (i >= 0)
            school.municipalityIndex = qint16(i);
    }
}

bool renameMunicipality(RosterStore& store, const QString& oldText, const QString& newText, UserNotifier& notifier)
{
    const QString oldName = oldText.trimmed();
    const QString newName = newText.trimmed();
    if (oldName.isEmpty() || newName.isEmpty()) {
        notifier.tell(u"市町村名を設定してください"_s, MessageIcon::Warning);
        return false;
    }
    MunicipalityTable& t = store.municipalities;
    const int i = t.indexOf(oldName);
    const int j = t.indexOf(newName);
    int target = 0;
    bool removed = false;
    if (i >= 0 && (j < 0 || i == j)) {
        // A new name for the same place keeps its grouping. (Renaming a
        // municipality to itself must not remove it.)
        t.entries[size_t(i)].name = newName;
        target = i;
    } else if (i >= 0) {
        // Absorbed by a municipality already in the table.
        t.entries.erase(t.entries.begin() + i);
        for (size_t k = size_t(i); k < t.entries.size(); ++k)
            t.entries[k].position = qint16(k);
        removed = true;
        target = t.indexOf(newName);
        t.updateAssociationIndex();
    } else {
        target = j >= 0 ? j : 0;
    }
    for (SchoolRecord& school : store.schools) {
        if (school.municipality.trimmed() == oldName) {
            school.municipality = newName;
            school.municipalityIndex = qint16(target);
        } else if (removed) {
            school.municipalityIndex = t.municipalityPosition(school.municipality);
        }
    }
    for (StaffRecord& s : store.staff)
        if (s.schoolFullName.startsWith(oldName))
            s.schoolFullName = newName + s.schoolFullName.mid(oldName.size());
    store.dirty = 1;
    return true;
}
