// The year's transfer log: whatever the file holds, reading it gives a list
// within the limit, every entry dated, and the same list after a rewrite.
#include "transfers.h"

#include "record_format.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto entries = transfers::parseLog(bytes, &error);
    if (!entries) {
        if (error.isEmpty())
            std::abort(); // a refused file always says why
        return 0;
    }
    if (entries->size() > size_t(cap::kTableRows) * 4)
        std::abort();
    for (const TransferEntry& e : *entries)
        if (!e.loggedDate)
            std::abort();
    return 0;
}
