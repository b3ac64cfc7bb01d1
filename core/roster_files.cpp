#include "roster_files.h"

#include "file_ops.h"
#include "record_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

int staffFileVersionValue()
{
    return 10000 + NAKAMA_VERSION_MAJOR;
}

namespace {

QString staffLabel(const StaffRecord& s)
{
    return u"職員「%1」（%2）"_s.arg(s.name).arg(s.code);
}

QString schoolLabel(const SchoolRecord& s)
{
    return u"学校「%1%2」（%3）"_s.arg(s.name, s.kindText).arg(s.code);
}

bool readStaffRecord(RecordReader& r, StaffRecord& s)
{
    // Record A
    r.readString(s.name) && r.readString(s.reading) && r.readI32(s.code) && r.readI16(s.sex) &&
        r.readDate(s.birthDate) && r.readString(s.postalCode) && r.readString(s.address1) &&
        r.readString(s.address2) && r.readString(s.tel) && r.readString(s.fax) && r.readString(s.mobile) &&
        r.readString(s.mail) && r.skip(4) &&
        // Record B
        r.readString(s.jobTitle) && r.readI16(s.grade) && r.readString(s.payStep) && r.readI16(s.jobTitleIndex) &&
        r.readDate(s.appointDate) && r.readDate(s.hireDate) && r.readI16(s.serviceAdjustMonths) &&
        r.readDate(s.postingDate) && r.readI16(s.tenureAdjustMonths) && r.readI16(s.spare) &&
        r.readI16(s.temporary) && r.readString(s.post1) && r.readString(s.post2) && r.readString(s.remarks) &&
        r.skip(6);
    return r.ok();
}

void writeStaffRecord(RecordWriter& w, const StaffRecord& s)
{
    w.beginRecord(staffLabel(s));
    w.string(s.name, u"氏名"_s);
    w.string(s.reading, u"フリガナ"_s);
    w.number(s.code);
    w.number(s.sex);
    w.date(s.birthDate);
    w.string(s.postalCode, u"郵便番号"_s);
    w.string(s.address1, u"住所"_s);
    w.string(s.address2, u"ｱﾊﾟｰﾄ･ﾏﾝｼｮﾝ等"_s);
    w.string(s.tel, u"電話"_s);
    w.string(s.fax, u"FAX"_s);
    w.string(s.mobile, u"携帯電話"_s);
    w.string(s.mail, u"メール"_s);
    w.strings(4);
    w.endRecord();
    w.string(s.jobTitle, u"職名"_s);
    w.number(s.grade);
    w.string(s.payStep, u"号給"_s);
    w.number(s.jobTitleIndex);
    w.date(s.appointDate);
    w.date(s.hireDate);
    w.number(s.serviceAdjustMonths);
    w.date(s.postingDate);
    w.number(s.tenureAdjustMonths);
    w.number(s.spare);
    w.number(s.temporary);
    w.string(s.post1, u"県役職名1"_s);
    w.string(s.post2, u"県役職名2"_s);
    w.string(s.remarks, u"備考"_s);
    w.strings(6);
    w.endRecord();
}

} // namespace

std::optional<StaffFileContent> parseStaffFile(const QByteArray& plain, QString* error, int maxRows)
{
    RecordReader r = RecordReader::fromBytes(plain);
    StaffFileContent content;
    r.readI32(content.header.version) && r.readI32(content.header.suiteSchoolCode) &&
        r.readString(content.header.areaName) && r.skip(4);
    std::optional<std::vector<StaffRecord>> rows = readRecords<StaffRecord>(
        r, RecordLimit(size_t(maxRows), u"職員が %1 人を超えています"_s.arg(maxRows)),
        [](RecordReader& r, StaffRecord& s) {
            if (readStaffRecord(r, s))
                s.municipalityIndex = cap::kMunicipalityUnknown;
        },
        error);
    if (!rows)
        return std::nullopt;
    content.rows = std::move(*rows);
    return content;
}

EncodedFile writeStaffFile(const StaffFileHeader& header, const std::vector<StaffRecord>& rows)
{
    RecordWriter w;
    w.beginRecord(u"見出し"_s);
    w.number(header.version);
    w.number(header.suiteSchoolCode);
    w.string(header.areaName, u"地区名"_s);
    w.numbers(2);
    w.strings(2);
    w.endRecord();
    for (const StaffRecord& s : rows)
        writeStaffRecord(w, s);
    return {w.bytes(), w.problems()};
}

namespace {

// One school record with its clerk-slot records.
void readSchoolRecord(RecordReader& r, SchoolRecord& s)
{
    qint16 slotCount = 0;
    r.readString(s.municipality) && r.readString(s.name) && r.readString(s.kindText) && r.readI32(s.code) &&
        r.readString(s.postalCode) && r.readString(s.address) && r.readString(s.tel) && r.readString(s.fax) &&
        r.readString(s.mail) && r.readString(s.group) && r.readI32(s.number) && r.readI16(slotCount) &&
        r.readString(s.reading) && r.readString(s.prefSelText) && r.skip(2) && r.readI16(s.prefSelIndex) && r.skip(2) &&
        r.readI16(s.branchCount) && r.readI16(s.regularClasses) && r.readI16(s.specialClasses);
    if (!r.ok())
        return;
    if (slotCount < 0 || slotCount > cap::kClerkSlots) {
        r.fail(u"事務職員の数が正しくありません: %1"_s.arg(slotCount));
        return;
    }
    for (int i = 0; i < slotCount && r.ok(); ++i) {
        ClerkSlot& c = s.clerks[size_t(i)];
        r.readI32(c.staffCode) && r.readString(c.staffName) && r.readString(c.status) && r.readString(c.note) &&
            r.readString(c.reserved) && r.skip(5);
    }
    // A file from elsewhere may list an empty post before filled ones:
    // the clerks behind it move up rather than being lost at the next save.
    s.compactPosts();
}

// School records with their clerk-slot records, to the end of the text.
std::optional<std::vector<SchoolRecord>> readSchoolRecords(RecordReader& r, int maxRows, QString* error)
{
    return readRecords<SchoolRecord>(r, RecordLimit(size_t(maxRows), u"学校が %1 校を超えています"_s.arg(maxRows)),
                                     readSchoolRecord, error);
}

void writeSchoolRecords(RecordWriter& w, const std::vector<SchoolRecord>& rows, const SchoolWriteOptions& o)
{
    for (const SchoolRecord& s : rows) {
        // Every filled post is written, in order, even if a gap slipped in:
        // a save never drops a clerk.
        const int filled = o.withoutPosts ? 0 : s.postedCount();
        w.beginRecord(schoolLabel(s));
        w.string(s.municipality, u"市町村名"_s);
        w.string(s.name, u"学校名"_s);
        w.string(s.kindText, u"学校種"_s);
        w.number(s.code);
        w.string(s.postalCode, u"郵便番号"_s);
        w.string(s.address, u"住所"_s);
        w.string(s.tel, u"電話"_s);
        w.string(s.fax, u"FAX"_s);
        w.string(s.mail, u"メール"_s);
        w.string(o.withoutGroups ? QString() : s.group, u"グループ名"_s);
        w.number(s.number);
        w.number(filled);
        w.string(s.reading, u"フリガナ"_s);
        w.string(o.blankSelector ? QString() : s.prefSelText);
        w.strings(2);
        w.number(o.blankSelector ? 0 : s.prefSelIndex);
        w.numbers(2);
        w.number(s.branchCount);
        w.number(s.regularClasses);
        w.number(s.specialClasses);
        w.endRecord();
        for (int i = 0; i < (o.withoutPosts ? 0 : cap::kClerkSlots); ++i) {
            const ClerkSlot& c = s.clerks[size_t(i)];
            if (c.staffCode == 0)
                continue;
            w.number(c.staffCode);
            w.string(c.staffName, u"事務職員名"_s);
            w.string(c.status, u"状況"_s);
            w.string(c.note, u"備考"_s);
            w.string(c.reserved);
            w.strings(5);
            w.endRecord();
        }
    }
}

} // namespace

std::optional<SchoolFileContent> parseSchoolFile(const QByteArray& bytes, QString* error, int maxRows)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    SchoolFileContent content;
    r.readI16(content.headerCount) && r.skip(5);
    if (r.ok() && (content.headerCount < 0 || content.headerCount > maxRows))
        r.fail(u"学校数が正しくありません: %1"_s.arg(content.headerCount));
    if (std::optional<std::vector<SchoolRecord>> rows = readSchoolRecords(r, maxRows, nullptr))
        content.rows = std::move(*rows);
    // The header's count decides how many schools there are; a count the
    // records cannot fill means the file lost records.
    if (r.ok() && content.rows.size() < size_t(content.headerCount))
        r.fail(
            u"学校数 %1 に対して学校の記録が %2 件しかありません"_s.arg(content.headerCount).arg(content.rows.size()));
    if (r.ok())
        content.rows.resize(size_t(content.headerCount));
    return readingResult(r, std::move(content), error);
}

std::optional<std::vector<SchoolRecord>> parseSchoolExchangeFile(const QByteArray& bytes, QString* error, int maxRows)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    r.skip(6);
    return readSchoolRecords(r, maxRows, error);
}

EncodedFile writeSchoolFile(const std::vector<SchoolRecord>& rows, const SchoolWriteOptions& options)
{
    RecordWriter w;
    if (options.countHeader)
        w.number(qint16(rows.size()));
    else
        w.string(QString());
    w.strings(5);
    w.endRecord();
    writeSchoolRecords(w, rows, options);
    return {w.bytes(), w.problems()};
}

std::optional<MunicipalityTable> parseMunicipalityFile(const QByteArray& bytes, QString* error)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    MunicipalityTable table;
    int districtCount = 0;
    int areaCount = 0;
    QString districts[cap::kDistrictNames];
    QString areas[cap::kAreaNames];
    std::optional<std::vector<MunicipalityEntry>> entries = readRecords<MunicipalityEntry>(
        r, RecordLimit(size_t(cap::kMunicipalities), u"市町村が %1 を超えています"_s.arg(cap::kMunicipalities)),
        [&](RecordReader& r, MunicipalityEntry& e) {
            if (!(r.readString(e.name) && r.readI16(e.position) && r.readString(e.districtName) &&
                  r.readI16(e.districtIndex) && r.readString(e.areaName) && r.readI16(e.areaIndex)))
                return;
            if (e.districtIndex < 0 || e.districtIndex >= cap::kDistrictNames || e.areaIndex < 0 ||
                e.areaIndex >= cap::kAreaNames) {
                r.fail(u"地区または管内の番号が範囲外です"_s);
                return;
            }
            districts[e.districtIndex] = e.districtName;
            areas[e.areaIndex] = e.areaName;
            // The counts are those of the last entry.
            districtCount = e.districtIndex + 1;
            areaCount = e.areaIndex + 1;
        },
        error);
    if (!entries)
        return std::nullopt;
    table.entries = std::move(*entries);
    for (int i = 0; i < districtCount; ++i)
        table.districtNames << districts[i];
    for (int i = 0; i < areaCount; ++i)
        table.areaNames << areas[i];
    return table;
}

EncodedFile writeMunicipalityFile(const MunicipalityTable& table)
{
    RecordWriter w;
    for (const MunicipalityEntry& e : table.entries) {
        w.beginRecord(u"市町村「%1」"_s.arg(e.name));
        w.string(e.name, u"市町村名"_s);
        w.number(e.position);
        w.string(e.districtName, u"地区名"_s);
        w.number(e.districtIndex);
        w.string(e.areaName, u"管内名"_s);
        w.number(e.areaIndex);
        w.endRecord();
    }
    return {w.bytes(), w.problems()};
}

std::optional<std::vector<PostalEntry>> parsePostalFile(const QByteArray& bytes, QString* error)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    return readRecords<PostalEntry>(
        r, RecordLimit::readingUpTo(size_t(cap::kPostalEntries)),
        [](RecordReader& r, PostalEntry& e) { r.readString(e.code) && r.readString(e.address); }, error);
}

std::optional<std::vector<PostalEntry>> parseRawPostalFile(const QByteArray& bytes, QString* error)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    return readRecords<PostalEntry>(
        r, RecordLimit::readingUpTo(size_t(cap::kPostalEntries)),
        [](RecordReader& r, PostalEntry& e) {
            QString p[7];
            if (!r.readString(e.code))
                return;
            for (QString& piece : p)
                r.readString(piece);
            if (!r.ok())
                return;
            // Addresses in the home prefecture leave the prefecture name out.
            const bool home = p[0] + p[1] == u"瑠璃県"_s;
            for (int i = home ? 2 : 0; i < 7; ++i)
                e.address += p[i];
        },
        error);
}

qint64 leadingNumber(const QByteArray& bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    qint64 v = 0;
    for (int digits = 0; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9' && digits < 12; ++i, ++digits)
        v = v * 10 + (bytes[i] - '0');
    return v;
}

QByteArray scrambled(QByteArray bytes)
{
    for (char& b : bytes)
        b = char(quint8(quint8(b) + 1));
    return bytes;
}

QByteArray unscrambled(QByteArray bytes)
{
    for (char& b : bytes)
        b = char(quint8(quint8(b) - 1));
    return bytes;
}

bool isDriveRoot(const QString& folder)
{
    return folder.size() < 4 && (folder.endsWith(u'/') || folder.endsWith(u'\\'));
}

QString tempFilePath(const QString& dataFolder, const QString& name)
{
    if (isDriveRoot(dataFolder))
        return dataFolder + name;
    const QChar sep = dataFolder.contains(u'\\') && !dataFolder.contains(u'/') ? u'\\' : u'/';
    return dataFolder + sep + name;
}

QString staffSaveTempPath(const QString& dataFolder)
{
    return tempFilePath(dataFolder, isDriveRoot(dataFolder) ? u"IDOBO_L.XIN"_s : u"TXT.XIN"_s);
}

QString xmdPath(const QString& target)
{
    return target.left(target.size() - 3) + u"XMD"_s;
}

int scrambleCopy(const QString& plainPath, const QString& targetPath)
{
    QByteArray bytes;
    if (!readWholeFile(plainPath, bytes))
        return -1;
    return writeFileAtomically(targetPath, scrambled(std::move(bytes))) ? 1 : -1;
}

int unscrambleCopy(const QString& storedPath, const QString& plainPath)
{
    QByteArray bytes;
    if (!readWholeFile(storedPath, bytes))
        return -1;
    return writeFileAtomically(plainPath, unscrambled(std::move(bytes))) ? 1 : -1;
}

void reportSaveFailure(UserNotifier& notifier, const QStringList& details)
{
    notifier.tell(u"名簿の保存に失敗しました"_s, MessageIcon::Critical, u"名簿保存"_s, details.join(u'\n'));
}

namespace {

// The staff file's two forms: the plain text and the stored (scrambled) bytes.
bool stageStaffFile(fileops::FileSet& files, const QString& target, const QString& plainPath, SaveMode mode,
                    const StaffFileHeader& header, const std::vector<StaffRecord>& rows, QStringList& problems)
{
    const EncodedFile plain = writeStaffFile(header, rows);
    if (!plain.problems.isEmpty()) {
        problems = plain.problems;
        return false;
    }
    QString error;
    // The plain temporary is deleted again after the commit; the kept copy
    // of "TXT+BINARY" changes together with the stored file.
    const bool written = mode == SaveMode::Binary ? fileops::writeTemporary(plainPath, plain.bytes, &error)
                                                  : files.stage(plainPath, plain.bytes, &error);
    if (!written || !files.stage(target, scrambled(plain.bytes), &error)) {
        problems = QStringList{error};
        if (mode == SaveMode::Binary)
            QFile::remove(plainPath);
        return false;
    }
    return true;
}

bool commitFiles(fileops::FileSet& files, QStringList& problems)
{
    QString error;
    if (files.commit(&error))
        return true;
    problems = QStringList{error};
    return false;
}

} // namespace

int writeScrambledStaffFile(const QString& target, const QString& plainPath, SaveMode mode,
                            const StaffFileHeader& header, const std::vector<StaffRecord>& rows, QStringList* problems)
{
    fileops::FileSet files;
    QStringList found;
    const bool ok = stageStaffFile(files, target, plainPath, mode, header, rows, found) && commitFiles(files, found);
    if (mode == SaveMode::Binary)
        fileops::removeFile(plainPath);
    if (!ok && problems)
        *problems = found;
    return ok ? 1 : -1;
}

namespace {

// A table that could not be read is never written back over its file: the
// file still holds what the user had, the table in memory does not.
bool refuseUnreadable(const RosterStore& store, int parts, QStringList& problems)
{
    auto check = [&](int part, bool unreadable, const QString& path) {
        if ((parts & part) && unreadable)
            problems << path + u" は読み込めなかったため、上書きしません。"_s;
    };
    check(RosterFileStaff, store.paths.staffUnreadable, store.paths.staffFile);
    check(RosterFileSchools, store.paths.schoolsUnreadable, store.paths.schoolFile);
    return !problems.isEmpty();
}

} // namespace

int saveRosterFiles(RosterStore& store, UserNotifier& notifier, int parts)
{
    if ((parts & RosterFileStaff) && store.paths.staffFile.isEmpty()) {
        notifier.tell(u"名前を付けて保存を行ってください"_s, MessageIcon::Warning);
        return 0;
    }
    if ((parts & RosterFileSchools) && store.paths.schoolFile.isEmpty())
        parts &= ~RosterFileSchools;
    if ((parts & RosterFileMunicipalities) &&
        (store.paths.municipalityFile.isEmpty() || store.paths.municipalityUnreadable))
        parts &= ~RosterFileMunicipalities;
    if (parts == 0)
        return 0;
    QStringList problems;
    if (refuseUnreadable(store, parts, problems)) {
        reportSaveFailure(notifier, problems);
        return -1;
    }
    // Everything is encoded before anything is written: a value code page
    // 932 cannot hold stops the save with every file as it was.
    fileops::FileSet files;
    const QString target = store.paths.staffFile;
    const QString plainPath = store.saveMode == SaveMode::TextAndBinary ? xmdPath(target)
                                                                        : staffSaveTempPath(store.paths.dataFolder);
    bool ok = true;
    if (parts & RosterFileSchools) {
        const EncodedFile file = writeSchoolFile(store.schools);
        QString error;
        if (!file.problems.isEmpty())
            problems << file.problems;
        else if (!files.stage(store.paths.schoolFile, file.bytes, &error))
            problems << error;
        ok = problems.isEmpty();
    }
    if (ok && (parts & RosterFileMunicipalities)) {
        const EncodedFile file = writeMunicipalityFile(store.municipalities);
        QString error;
        if (!file.problems.isEmpty())
            problems << file.problems;
        else if (!files.stage(store.paths.municipalityFile, file.bytes, &error))
            problems << error;
        ok = problems.isEmpty();
    }
    if (ok && (parts & RosterFileStaff)) {
        const StaffFileHeader header{staffFileVersionValue(), store.profile.suiteSchoolCode, store.profile.areaName};
        ok = stageStaffFile(files, target, plainPath, store.saveMode, header, store.staff, problems);
    }
    ok = ok && commitFiles(files, problems);
    if ((parts & RosterFileStaff) && store.saveMode == SaveMode::Binary)
        fileops::removeFile(plainPath);
    if (!ok) {
        reportSaveFailure(notifier, problems);
        return -1;
    }
    return 1;
}

int saveStaff(RosterStore& store, UserNotifier& notifier)
{
    return saveRosterFiles(store, notifier, RosterFileStaff);
}

int saveSchools(RosterStore& store, UserNotifier& notifier)
{
    return saveRosterFiles(store, notifier, RosterFileSchools);
}

int saveMunicipalities(RosterStore& store, UserNotifier& notifier)
{
    return saveRosterFiles(store, notifier, RosterFileMunicipalities);
}

namespace {
// A file the program cannot read is copied aside before anything else can
// overwrite it, so the user's data stays recoverable. Returns the copy's path.
QString keepUnreadable(const QString& path, QString* error)
{
    for (int i = 1; i < 100; ++i) {
        const QString copy = path + (i == 1 ? u".bak"_s : u".bak%1"_s.arg(i));
        if (QFileInfo::exists(copy))
            continue;
        return fileops::copyFile(path, copy, error) ? copy : QString();
    }
    return QString();
}

QString readErrorDetail(const QString& path, const QString& error)
{
    QString copyError;
    const QString copy = keepUnreadable(path, &copyError);
    QString detail = path + u"\n"_s + error;
    if (!copy.isEmpty())
        detail += u"\n元のファイルは "_s + copy + u" に残してあります。"_s;
    else if (!copyError.isEmpty())
        detail += u"\n控えを作れませんでした（"_s + copyError + u"）。元のファイルには上書きしません。"_s;
    return detail;
}
} // namespace

int loadSchools(RosterStore& store, UserNotifier& notifier)
{
    const QString path = store.paths.schoolFile;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return 0;
    QByteArray bytes;
    QString error;
    std::optional<SchoolFileContent> content;
    if (readWholeFile(path, bytes, &error))
        content = parseSchoolFile(bytes, &error);
    if (!content) {
        if (path == store.paths.schoolFile)
            store.paths.schoolsUnreadable = true;
        notifier.tell(u"名簿ファイル読込エラー"_s, MessageIcon::Critical, UserNotifier::appTitle(),
                      readErrorDetail(path, error));
        return -1;
    }
    store.schools = std::move(content->rows);
    for (SchoolRecord& s : store.schools)
        store.deriveSchoolFields(s);
    return 1;
}

std::optional<StaffFileContent> readStaffFileAt(const QString& path, const QString& dataFolder, QString* error,
                                                bool* unscrambleFailed)
{
    if (unscrambleFailed)
        *unscrambleFailed = false;
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error))
        return std::nullopt;
    if (leadingNumber(bytes) > 20000) {
        // Unscrambled in memory: reading a roster needs no room on the disk.
        // A plain copy left by an earlier program run is removed.
        const QString leftover = tempFilePath(dataFolder, u"NBO_L.XIN"_s);
        if (QFileInfo::exists(leftover))
            fileops::removeFile(leftover);
        bytes = unscrambled(std::move(bytes));
    }
    return parseStaffFile(bytes, error);
}

int loadStaff(RosterStore& store, UserNotifier& notifier)
{
    const QString path = store.paths.staffFile;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return 0;
    QString error;
    bool unscrambleFailed = false;
    std::optional<StaffFileContent> content = readStaffFileAt(path, store.paths.dataFolder, &error, &unscrambleFailed);
    if (!content) {
        store.paths.staffUnreadable = true;
        if (unscrambleFailed)
            notifier.tell(u"ファイル読込エラー(2)"_s, MessageIcon::Critical, u"データ読込"_s, path);
        else
            notifier.tell(u"名簿ファイル読込エラー"_s, MessageIcon::Critical, UserNotifier::appTitle(),
                          readErrorDetail(path, error));
        return -1;
    }
    store.staff = std::move(content->rows);
    store.sortStaffByCode();
    store.rebuildCodeIndex();
    return 1;
}

int loadMunicipalityTable(RosterStore& store)
{
    const QString path = store.paths.municipalityFile;
    if (path.isEmpty() || !QFileInfo::exists(path))
        return 0;
    QByteArray bytes;
    std::optional<MunicipalityTable> table;
    if (readWholeFile(path, bytes))
        table = parseMunicipalityFile(bytes, nullptr);
    if (!table) {
        // The built-in table takes its place; the file is kept aside first, or,
        // when no copy can be made, never written over.
        if (path == store.paths.municipalityFile && keepUnreadable(path, nullptr).isEmpty())
            store.paths.municipalityUnreadable = true;
        return -1;
    }
    store.municipalities = std::move(*table);
    return 1;
}

int loadPostalCodes(RosterStore& store, UserNotifier& notifier)
{
    const QString folder = store.paths.dataFolder;
    const QString prepared = tempFilePath(folder, u"POST_NO.PMD"_s);
    QString raw = tempFilePath(folder, u"POST_NO2.TXT"_s);
    if (!QFileInfo::exists(prepared) && !QFileInfo::exists(raw)) {
        // Look one folder up as well.
        const QString parent = QFileInfo(QDir::cleanPath(folder)).absolutePath();
        raw = tempFilePath(parent, u"POST_NO2.TXT"_s);
    }
    const bool usePrepared = QFileInfo::exists(prepared);
    const QString path = usePrepared ? prepared : raw;
    if (!QFileInfo::exists(path))
        return 0;
    QByteArray bytes;
    QString error;
    std::optional<std::vector<PostalEntry>> entries;
    if (readWholeFile(path, bytes, &error))
        entries = usePrepared ? parsePostalFile(bytes, &error) : parseRawPostalFile(bytes, &error);
    if (!entries) {
        notifier.tell(u"郵便番号ファイルを読み込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                      path + u"\n"_s + error);
        return -1;
    }
    store.postalCodes.entries = std::move(*entries);
    return 1;
}

std::optional<UserSettingsValues> parseUserSettings(const QByteArray& bytes)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    UserSettingsValues v;
    // The second value is written empty; the suite school code belongs to the
    // settings store, and an empty value must not wipe it.
    r.readString(v.areaName) && r.skip(2) && r.readI16(v.optionFlags) && r.skip(3);
    for (float& f : v.printOffsets)
        r.readSingle(f);
    r.skip(4);
    return readingResult(r, std::move(v), nullptr);
}

int readUserSettingsFile(const QString& path, UserProfile& profile)
{
    if (!QFileInfo::exists(path))
        return 0;
    QByteArray bytes;
    if (!readWholeFile(path, bytes))
        return -1;
    const std::optional<UserSettingsValues> v = parseUserSettings(bytes);
    if (!v)
        return -1;
    profile.areaName = v->areaName;
    profile.optionFlags = v->optionFlags;
    profile.printOffsets = v->printOffsets;
    return 1;
}

bool writeUserSettingsFile(const QString& path, const UserProfile& profile, QString* error)
{
    RecordWriter w;
    w.string(profile.areaName, u"地区名"_s);
    w.strings(2);
    w.number(profile.optionFlags);
    w.strings(3);
    w.endRecord();
    for (float f : profile.printOffsets)
        w.single(f);
    w.strings(4);
    w.endRecord();
    if (!w.ok()) {
        if (error)
            *error = w.problems().join(u'\n');
        return false;
    }
    return writeFileAtomically(path, w.bytes(), error);
}
