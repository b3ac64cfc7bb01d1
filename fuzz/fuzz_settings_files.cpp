// The settings files a user's medium or data folder may hold: NKMCHO.SEW and
// NAKAMA-CHO.SIN.
#include "roster_files.h"
#include "startup.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (auto user = parseUserSettings(bytes)) {
        UserProfile p;
        p.areaName = user->areaName;
        p.optionFlags = user->optionFlags;
        p.printOffsets = user->printOffsets;
        for (float f : p.printOffsets)
            if (!std::isfinite(f))
                std::abort();
    }
    QString error;
    if (auto sin = parsePortableSettings(bytes, &error))
        if (sin->entries.size() > kMaxPortableEntries)
            std::abort();
    return 0;
}
