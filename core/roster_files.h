#pragma once

#include "records.h"
#include "roster_store.h"
#include "user_notifier.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// The program's major version as it stands in the first value of a staff file.
int staffFileVersionValue();

// --- Pure readers and writers of the file formats -------------------------

struct StaffFileHeader {
    qint32 version = 0;
    qint32 suiteSchoolCode = 0;
    QString areaName;
};

struct StaffFileContent {
    StaffFileHeader header;
    std::vector<StaffRecord> rows;
};

struct SchoolFileContent {
    qint16 headerCount = 0;
    std::vector<SchoolRecord> rows; // exactly headerCount rows
};

struct EncodedFile {
    QByteArray bytes;
    QStringList problems; // values code page 932 cannot hold; empty when all is well
};

// Plain (unscrambled) staff file text. At most `maxRows` staff rows.
std::optional<StaffFileContent> parseStaffFile(const QByteArray& plain, QString* error,
                                               int maxRows = cap::kTableRows);
EncodedFile writeStaffFile(const StaffFileHeader& header, const std::vector<StaffRecord>& rows);

std::optional<SchoolFileContent> parseSchoolFile(const QByteArray& bytes, QString* error,
                                                 int maxRows = cap::kTableRows);
// How a school file is written: the roster's own file, or the exchange forms.
struct SchoolWriteOptions {
    bool countHeader = true;    // the header starts with the number of schools
    bool blankSelector = false; // prefSelText "" and prefSelIndex 0
    bool withoutGroups = false;
    bool withoutPosts = false;  // slot count 0, no clerk-slot records
};
EncodedFile writeSchoolFile(const std::vector<SchoolRecord>& rows, const SchoolWriteOptions& options = {});
// The school exchange file (.NK2): six empty header values, then the schools.
std::optional<std::vector<SchoolRecord>> parseSchoolExchangeFile(const QByteArray& bytes, QString* error,
                                                                 int maxRows = cap::kTableRows);

// Entries plus the district and area lists they fill.
std::optional<MunicipalityTable> parseMunicipalityFile(const QByteArray& bytes, QString* error);
EncodedFile writeMunicipalityFile(const MunicipalityTable& table);

std::optional<std::vector<PostalEntry>> parsePostalFile(const QByteArray& bytes, QString* error);
std::optional<std::vector<PostalEntry>> parseRawPostalFile(const QByteArray& bytes, QString* error);

// The first number of a staff file: above 20000 the file is scrambled.
qint64 leadingNumber(const QByteArray& bytes);
QByteArray scrambled(QByteArray bytes);
QByteArray unscrambled(QByteArray bytes);

// --- Paths ---------------------------------------------------------------

// A drive or file-system root: names are appended to it without a separator.
bool isDriveRoot(const QString& folder);
// data folder + separator + name (no separator after a root).
QString tempFilePath(const QString& dataFolder, const QString& name);
// The staff file's plain temporary: "TXT.XIN", or "IDOBO_L.XIN" at a root.
QString staffSaveTempPath(const QString& dataFolder);
// The target with its last three characters replaced by "XMD".
QString xmdPath(const QString& target);

// --- The roster's own files ------------------------------------------------
//
// Every load and save of a file returns the same three results:
//    1  done: the file was read into the store, or written;
//    0  nothing there: no file to read (the table is left empty), nothing
//       to write, or the user was asked and declined;
//   -1  failed: the file could not be read or written. The store is left as
//       it was, and where a notifier is given the user has been told.

int scrambleCopy(const QString& plainPath, const QString& targetPath);
int unscrambleCopy(const QString& storedPath, const QString& plainPath);

// Writes `rows` as a staff file at `target` in `mode`, with `plainPath` as the
// plain copy. The messages are the caller's to give; returns 1 or -1 and fills
// `problems` with unencodable values.
int writeScrambledStaffFile(const QString& target, const QString& plainPath, SaveMode mode,
                            const StaffFileHeader& header, const std::vector<StaffRecord>& rows,
                            QStringList* problems);
// Reads a staff file, plain or scrambled (unscrambled in memory).
// On failure `unscrambleFailed` tells the two failures apart.
std::optional<StaffFileContent> readStaffFileAt(const QString& path, const QString& dataFolder,
                                                QString* error, bool* unscrambleFailed);

// The files of the open year written by one save; they change together.
enum RosterFile { RosterFileStaff = 1, RosterFileSchools = 2, RosterFileMunicipalities = 4 };
// Writes the chosen files of the open year (an OR of RosterFile) so that
// either all of them change or none does. 1 written, 0 nothing to write (no
// year open: the staff file asks for a name), -1 failed and told.
int saveRosterFiles(RosterStore& store, UserNotifier& notifier, int parts);
int saveStaff(RosterStore& store, UserNotifier& notifier);
int saveSchools(RosterStore& store, UserNotifier& notifier);
int saveMunicipalities(RosterStore& store, UserNotifier& notifier);
// A table that fails to read is marked unreadable (never written back over
// its file) and the file is copied aside.
int loadSchools(RosterStore& store, UserNotifier& notifier);
int loadStaff(RosterStore& store, UserNotifier& notifier);
// Says nothing: the caller puts the built-in table in place of a file that
// is missing (0) or unreadable (-1).
int loadMunicipalityTable(RosterStore& store);
// The prepared "POST_NO.PMD" or else the raw "POST_NO2.TXT", here or one
// folder up.
int loadPostalCodes(RosterStore& store, UserNotifier& notifier);

struct UserSettingsValues {
    QString areaName;
    qint16 optionFlags = 0;
    std::array<float, 4> printOffsets{};
};
std::optional<UserSettingsValues> parseUserSettings(const QByteArray& bytes);

// The user settings file "NKMCHO.SEW": the area name, the option flags and
// the four print offsets. Reading changes `profile` only when the whole file
// reads well; 1, 0 (no file) or -1, and says nothing.
int readUserSettingsFile(const QString& path, UserProfile& profile);
bool writeUserSettingsFile(const QString& path, const UserProfile& profile, QString* error = nullptr);

// The message every failed roster save ends with.
void reportSaveFailure(UserNotifier& notifier, const QStringList& details);
