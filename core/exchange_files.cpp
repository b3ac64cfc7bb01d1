#include "exchange_files.h"

#include "file_ops.h"
#include "record_format.h"
#include "roster_files.h"
#include "school_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace exchange {

PairNames exportNames(const QString& chosen)
{
    if (chosen.endsWith(u"NK1"_s))
        return {chosen, chosen.left(chosen.size() - 3) + u"NK2"_s};
    if (chosen.endsWith(u"NK2"_s))
        return {chosen.left(chosen.size() - 3) + u"NK1"_s, chosen};
    return {chosen + u".NK1"_s, chosen + u".NK2"_s};
}

namespace {

// The partner of an exchange file: the name as formed, or, when no file has
// exactly that name, a file in the same folder whose name differs only in
// case (area1.nk1 beside area1.nk2).
QString findPartner(const QString& formed)
{
    const QFileInfo info(formed);
    if (info.exists())
        return formed;
    const QDir folder = info.dir();
    if (!folder.exists())
        return formed;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    return formed;
}

} // namespace

std::optional<PairNames> importNames(const QString& chosen)
{
    const QString ending = chosen.right(3).toUpper();
    if (ending == u"NK1"_s)
        return PairNames{chosen, findPartner(chosen.left(chosen.size() - 3) + u"NK2"_s)};
    if (ending == u"NK2"_s)
        return PairNames{findPartner(chosen.left(chosen.size() - 3) + u"NK1"_s), chosen};
    return std::nullopt;
}

QString exportAreaText(const RosterStore& store, const SchoolFilter& filter)
{
    if (!store.prefectureLevel())
        return store.profile.suiteSchoolName;
    const QString district = filter.district.trimmed();
    return district.isEmpty() ? filter.area.trimmed() : district;
}

int exportPair(RosterStore& store, const SchoolFilter& filter, const PairNames& names, UserNotifier& notifier)
{
    if (store.paths.staffUnreadable || store.paths.schoolsUnreadable) {
        // Another office would merge a roster whose clerks are missing.
        notifier.tell(u"名簿ファイルが読み込めなかったため、ファイルを作成できません"_s, MessageIcon::Warning);
        return 0;
    }
    if (!filter.narrowed) {
        notifier.tell(u"データ抽出を行ってください"_s, MessageIcon::Information);
        return 0;
    }
    std::vector<SchoolRecord> schools;
    std::vector<StaffRecord> staff;
    for (int row = 0; row < store.schoolCount(); ++row) {
        if (!school_list::schoolPassesFilter(store, filter, row))
            continue;
        const SchoolRecord& s = store.schools[size_t(row)];
        schools.push_back(s);
        // Every filled post, even after an empty one.
        for (const ClerkSlot& slot : s.clerks) {
            if (slot.staffCode <= 0)
                continue;
            const int member = store.findStaffByCode(slot.staffCode);
            if (member >= 0)
                staff.push_back(store.staff[size_t(member)]);
        }
    }
    if (schools.empty()) {
        // An exchange file without schools is nothing the receiver can use.
        notifier.tell(u"抽出された学校が有りません"_s, MessageIcon::Information);
        return 0;
    }
    SchoolWriteOptions options;
    options.countHeader = false;
    options.blankSelector = true;
    const EncodedFile schoolFile = writeSchoolFile(schools, options);
    QStringList problems = schoolFile.problems;
    const EncodedFile staffFile = writeStaffFile(
        StaffFileHeader{staffFileVersionValue(), store.profile.suiteSchoolCode, exportAreaText(store, filter)}, staff);
    problems << staffFile.problems;
    if (!problems.isEmpty()) {
        reportSaveFailure(notifier, problems);
        return -1;
    }
    // Both files change together: the other user reads them as one pair.
    const QString plain = store.saveMode == SaveMode::TextAndBinary
                              ? xmdPath(names.staffFile)
                              : tempFilePath(store.paths.dataFolder, u"ADDM.XIN"_s);
    fileops::FileSet files;
    QString error;
    const bool plainWritten = store.saveMode == SaveMode::Binary
                                  ? fileops::writeTemporary(plain, staffFile.bytes, &error)
                                  : files.stage(plain, staffFile.bytes, &error);
    const bool ok = plainWritten && files.stage(names.schoolFile, schoolFile.bytes, &error) &&
                    files.stage(names.staffFile, scrambled(staffFile.bytes), &error) && files.commit(&error);
    if (store.saveMode == SaveMode::Binary)
        fileops::removeFile(plain);
    if (!ok) {
        reportSaveFailure(notifier, {error});
        return -1;
    }
    return 1;
}

QString prefectureFilePath(const RosterStore& store)
{
    return tempFilePath(store.paths.dataFolder, u"RURI.NK2"_s);
}

bool exportPrefectureFile(const RosterStore& store, UserNotifier& notifier)
{
    // With no year open there are no schools to give: the file the user has
    // is kept rather than replaced with an empty one.
    if (store.fiscalYear <= 0 || store.schools.empty()) {
        notifier.tell(u"名簿が開かれていないため、作成できません"_s, MessageIcon::Warning);
        return false;
    }
    SchoolWriteOptions options;
    options.blankSelector = true;
    options.withoutGroups = true;
    options.withoutPosts = true;
    const EncodedFile file = writeSchoolFile(store.schools, options);
    QString error;
    if (!file.problems.isEmpty() || !writeFileAtomically(prefectureFilePath(store), file.bytes, &error)) {
        reportSaveFailure(notifier, file.problems.isEmpty() ? QStringList{error} : file.problems);
        return false;
    }
    return true;
}

int importPair(RosterStore& store, const PairNames& names, UserNotifier& notifier,
               const std::function<QString(const QString&)>& askArea)
{
    if (!QFileInfo::exists(names.staffFile))
        return -1;
    auto readError = [&notifier](const QString& path, const QString& why) {
        notifier.tell(u"名簿ファイル読込エラー"_s, MessageIcon::Critical, UserNotifier::appTitle(), path + u"\n"_s + why);
        return -1;
    };
    QString error;
    bool unscrambleFailed = false;
    std::optional<StaffFileContent> staff =
        readStaffFileAt(names.staffFile, store.paths.dataFolder, &error, &unscrambleFailed);
    if (!staff)
        return readError(names.staffFile, unscrambleFailed ? u"一時ファイルを作れません"_s : error);

    const QString typed = askArea(staff->header.areaName).trimmed();
    if (typed.isEmpty())
        return -1;
    if (typed != kAnyArea && typed != staff->header.areaName) {
        notifier.tell(u"読込地区名が違います"_s, MessageIcon::Warning);
        return -1;
    }

    // The school partner is read completely before anything is merged.
    std::optional<std::vector<SchoolRecord>> schools;
    if (QFileInfo::exists(names.schoolFile)) {
        QByteArray bytes;
        if (readWholeFile(names.schoolFile, bytes, &error))
            schools = parseSchoolExchangeFile(bytes, &error);
        if (!schools)
            return readError(names.schoolFile, error);
    }

    // Merge into copies; the roster takes them only when all fits.
    std::vector<StaffRecord> mergedStaff = store.staff;
    for (StaffRecord& incoming : staff->rows) {
        incoming.municipalityIndex = cap::kMunicipalityUnknown;
        const int row = store.findStaffByCode(incoming.code); // the table as it was before this import
        if (row >= 0)
            mergedStaff[size_t(row)] = std::move(incoming);
        else
            mergedStaff.push_back(std::move(incoming));
    }
    std::vector<SchoolRecord> mergedSchools = store.schools;
    if (schools) {
        for (SchoolRecord& incoming : *schools) {
            // Every incoming school is matched by its code against the whole table,
            // whatever order the other user keeps their schools in.
            auto it = std::find_if(mergedSchools.begin(), mergedSchools.end(),
                                   [&incoming](const SchoolRecord& s) { return s.code == incoming.code; });
            if (it != mergedSchools.end())
                *it = std::move(incoming);
            else
                mergedSchools.push_back(std::move(incoming));
        }
    }
    if (mergedStaff.size() > size_t(cap::kMaxStaff) || mergedSchools.size() > size_t(cap::kMaxSchools)) {
        notifier.tell(u"読み込むと名簿の上限（学校%1校・職員%2人）を超えるため、読み込みませんでした"_s
                          .arg(cap::kMaxSchools)
                          .arg(cap::kMaxStaff),
                      MessageIcon::Critical);
        return -1;
    }

    store.staff = std::move(mergedStaff);
    store.schools = std::move(mergedSchools);
    // Derived school fields, without extending the group list.
    const QStringList groups = store.groupNames;
    for (SchoolRecord& s : store.schools)
        store.deriveSchoolFields(s);
    store.groupNames = groups;
    store.reindexStaff();
    store.dirty = 1;
    return 1;
}

} // namespace exchange
