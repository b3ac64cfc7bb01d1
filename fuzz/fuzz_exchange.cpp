// An exchange pair from someone else: the input is split at the first
// "\n@@\n" into the staff file (.NK1) and the school file (.NK2), both are
// read and merged into a small roster, and the roster must stay consistent.
#include "exchange_files.h"
#include "record_format.h"
#include "roster_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
class Quiet : public UserNotifier {
public:
    MessageAnswer ask(const UserMessage&) override { return MessageAnswer::Ok; }
};

RosterStore base()
{
    RosterStore store;
    for (int i = 0; i < 3; ++i) {
        StaffRecord s;
        s.code = 20100001 + i;
        s.name = QStringLiteral("職員");
        store.staff.push_back(s);
        SchoolRecord school;
        school.code = 1000 + i;
        school.kindText = QStringLiteral("小学校");
        school.clerks[0].staffCode = s.code;
        store.schools.push_back(school);
    }
    store.reindexStaff();
    return store;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = bytes.indexOf("\n@@\n");
    const QByteArray staff = split < 0 ? bytes : bytes.left(split);
    const QByteArray schools = split < 0 ? QByteArray() : bytes.mid(split + 4);
    const exchange::PairNames names{dir.filePath(QStringLiteral("F.NK1")), dir.filePath(QStringLiteral("F.NK2"))};
    writeFileAtomically(names.staffFile, staff);
    if (split < 0)
        QFile::remove(names.schoolFile);
    else
        writeFileAtomically(names.schoolFile, schools);

    RosterStore store = base();
    store.paths.dataFolder = dir.path();
    const size_t staffBefore = store.staff.size();
    const size_t schoolsBefore = store.schools.size();
    Quiet quiet;
    const int result = exchange::importPair(store, names, quiet, [](const QString&) { return exchange::kAnyArea; });
    if (result != 1 && (store.staff.size() != staffBefore || store.schools.size() != schoolsBefore))
        std::abort(); // a refused import changed the roster
    if (store.staff.size() > size_t(cap::kMaxStaff) || store.schools.size() > size_t(cap::kMaxSchools))
        std::abort();
    for (size_t i = 1; i < store.staff.size(); ++i)
        if (store.staff[i - 1].code > store.staff[i].code)
            std::abort(); // merged staff must be in code order
    for (const SchoolRecord& s : store.schools)
        for (const ClerkSlot& slot : s.clerks)
            if (slot.staffCode > 0 && store.findStaffByCode(slot.staffCode) < 0)
                std::abort(); // a post must not keep a clerk who is not there
    return 0;
}
