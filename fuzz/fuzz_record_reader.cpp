// Reads values of types chosen by the input's first bytes from the rest.
#include "record_format.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const QByteArray plan(reinterpret_cast<const char*>(data), 4);
    RecordReader r = RecordReader::fromBytes(QByteArray(reinterpret_cast<const char*>(data) + 4, qsizetype(size - 4)));
    for (int step = 0; step < 4096 && r.ok() && !r.atEnd(); ++step) {
        QString s;
        qint16 i16;
        qint32 i32;
        Date d;
        float f;
        switch ((quint8(plan[step % 4]) >> (2 * (step / 4 % 4))) & 7) {
        case 0: r.readString(s); break;
        case 1: r.readI16(i16); break;
        case 2: r.readI32(i32); break;
        case 3: r.readDate(d); break;
        case 4: r.readSingle(f); break;
        default: r.skip(1); break;
        }
    }
    return 0;
}
