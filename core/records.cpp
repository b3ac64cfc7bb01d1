#include "records.h"

using namespace Qt::StringLiterals;

int SchoolRecord::filledSlotCount() const
{
    int n = 0;
    while (n < cap::kClerkSlots && clerks[size_t(n)].staffCode != 0)
        ++n;
    return n;
}

QString SchoolRecord::fullName() const
{
    return municipality + u"立"_s + name + kindText;
}
