// The stored label layouts PRT_S.PRS: whatever the file holds, reading it
// gives layouts whose lines write and read back to the same layouts. The
// user's label sheet PRT_S.SHT read from the same bytes is always a sheet
// that can be printed, and writes and reads back the same.
#include "name_labels.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString problem;
    const name_labels::LabelSheet sheet = name_labels::readUserSheet(bytes, &problem);
    if (!name_labels::sheetProblem(sheet).isEmpty())
        std::abort();
    const name_labels::LabelSheet back = name_labels::readUserSheet(name_labels::userSheetBytes(sheet), &problem);
    if (!problem.isEmpty() || back.rows != sheet.rows || back.columns != sheet.columns)
        std::abort();
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
