// The stored label layouts PRT_S.PRS: whatever the file holds, reading it
// gives layouts whose lines write and read back to the same layouts.
#include "name_labels.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto layouts = name_labels::readLayouts(bytes, &error);
    if (!layouts) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    QByteArray written;
    for (const name_labels::LabelLayout& l : *layouts) {
        QString problem;
        const QByteArray line = name_labels::layoutLine(l, &problem);
        if (line.isEmpty())
            return 0; // a value the file format cannot hold is refused, never written
        written += line;
    }
    const auto again = name_labels::readLayouts(written, &error);
    if (!again || again->size() != layouts->size())
        std::abort();
    for (size_t i = 0; i < layouts->size(); ++i)
        if ((*again)[i].name != (*layouts)[i].name || (*again)[i].font != (*layouts)[i].font)
            std::abort();
    return 0;
}
