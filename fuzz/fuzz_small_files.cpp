// The municipality-table and postal-code readers.
#include "roster_files.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    if (auto table = parseMunicipalityFile(bytes, &error)) {
        if (table->count() > cap::kMunicipalities || table->districtNames.size() > cap::kDistrictNames ||
            table->areaNames.size() > cap::kAreaNames)
            std::abort();
        for (const auto& e : table->entries)
            (void)table->municipalityPosition(e.name);
    }
    if (auto postal = parsePostalFile(bytes, &error))
        if (postal->size() > size_t(cap::kPostalEntries))
            std::abort();
    if (auto postal = parseRawPostalFile(bytes, &error)) {
        PostalCodeTable t{std::move(*postal)};
        (void)t.lookup(QStringLiteral("900-0001"));
    }
    return 0;
}
