// The school file reader and a write-read round trip of whatever it accepts.
#include "roster_files.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    std::optional<SchoolFileContent> content = parseSchoolFile(bytes, &error);
    if (!content)
        return 0;
    if (content->rows.size() != size_t(content->headerCount) || content->rows.size() > size_t(cap::kTableRows))
        std::abort();
    RosterStore store;
    store.schools = content->rows;
    for (SchoolRecord& s : store.schools)
        store.deriveSchoolFields(s);
    store.syncStaffFromSchools();
    const EncodedFile written = writeSchoolFile(content->rows);
    if (!written.problems.isEmpty())
        return 0;
    std::optional<SchoolFileContent> again = parseSchoolFile(written.bytes, &error);
    if (!again || again->rows.size() != content->rows.size())
        std::abort();
    for (size_t i = 0; i < again->rows.size(); ++i)
        if (again->rows[i].code != content->rows[i].code ||
            again->rows[i].filledSlotCount() != content->rows[i].filledSlotCount())
            std::abort();
    return 0;
}
