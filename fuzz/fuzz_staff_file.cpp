// The staff file reader, plain and scrambled, and a write-read round trip of
// whatever it accepts.
#include "roster_files.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray plain = leadingNumber(bytes) > 20000 ? unscrambled(bytes) : bytes;
    QString error;
    std::optional<StaffFileContent> content = parseStaffFile(plain, &error);
    if (!content)
        return 0;
    if (content->rows.size() > size_t(cap::kTableRows))
        std::abort();
    const EncodedFile written = writeStaffFile(content->header, content->rows);
    if (!written.problems.isEmpty())
        return 0;
    std::optional<StaffFileContent> again = parseStaffFile(written.bytes, &error);
    if (!again || again->rows.size() != content->rows.size())
        std::abort();
    for (size_t i = 0; i < again->rows.size(); ++i)
        if (again->rows[i].code != content->rows[i].code || again->rows[i].name != content->rows[i].name ||
            again->rows[i].birthDate != content->rows[i].birthDate)
            std::abort();
    return 0;
}
