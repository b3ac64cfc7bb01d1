#include "records.h"

using namespace Qt::StringLiterals;

int SchoolRecord::filledSlotCount() const
{
    int n = 0;
    while (n < cap::kClerkSlots && clerks[size_t(n)].staffCode != 0)
        ++n;
    return n;
}

int SchoolRecord::postedCount() const
{
    int n = 0;
    for (const ClerkSlot& c : clerks)
        n += c.staffCode != 0 ? 1 : 0;
    return n;
}

int SchoolRecord::postOf(qint32 staffCode) const
{
    if (staffCode == 0)
        return -1;
    for (size_t i = 0; i < clerks.size(); ++i)
        if (clerks[i].staffCode == staffCode)
            return int(i);
    return -1;
}

bool SchoolRecord::compactPosts()
{
    const qint16 schoolMark = clerks[0].mark;
    bool moved = false;
    size_t to = 0;
    for (size_t from = 0; from < clerks.size(); ++from) {
        if (clerks[from].staffCode == 0)
            continue;
        if (from != to) {
            clerks[to] = std::move(clerks[from]);
            clerks[from] = ClerkSlot{};
            moved = true;
        }
        ++to;
    }
    // The emptied posts at the end keep no marks of their own.
    for (size_t i = to; i < clerks.size(); ++i)
        if (clerks[i].staffCode == 0 && i > 0)
            clerks[i].mark = 0;
    clerks[0].mark = schoolMark;
    return moved;
}

void SchoolRecord::emptyPost(int slot)
{
    if (slot < 0 || slot >= cap::kClerkSlots)
        return;
    const qint16 mark = clerks[size_t(slot)].mark;
    clerks[size_t(slot)] = ClerkSlot{};
    clerks[size_t(slot)].mark = mark;
    compactPosts();
}

int SchoolRecord::addClerk(qint32 staffCode, const QString& staffName)
{
    if (staffCode == 0)
        return -1;
    compactPosts();
    const int slot = postedCount();
    if (slot >= cap::kClerkSlots)
        return -1;
    ClerkSlot& c = clerks[size_t(slot)];
    const qint16 mark = c.mark;
    c = ClerkSlot{};
    c.staffCode = staffCode;
    c.staffName = staffName;
    c.mark = slot == 0 ? mark : qint16(0);
    return slot;
}

bool SchoolRecord::removeClerk(qint32 staffCode)
{
    const int slot = postOf(staffCode);
    if (slot < 0)
        return false;
    emptyPost(slot);
    return true;
}

QString SchoolRecord::fullName() const
{
    return municipality + u"立"_s + name + kindText;
}
