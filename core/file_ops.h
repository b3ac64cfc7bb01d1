#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Every file the program writes, copies, renames or removes goes through
// these few functions, so that each step is checked the same way and a
// failure is told to the user in words that name the file and the cause
// ("ディスクの空きが足りません" when the disk is full). A failed write never
// leaves a torn file where the previous one stood.
namespace fileops {

// The steps the functions below take, each one counted by the test hook.
enum class Step { Open, Write, Flush, Commit, Rename, Copy, Remove };

// Test hook: the n-th step from now (1 = the next one) fails as a full disk
// would. 0 turns it off. Steps are counted whether or not a failure is armed.
void failStep(int n);
int stepsTaken();    // steps since the last failStep() or resetSteps()
bool failureFired(); // the armed failure has happened
void resetSteps();

// A sentence for the user: the cause and the file's name. `diskFull` says
// the cause was a lack of space.
QString failureText(const QString& path, bool diskFull, const QString& systemError = QString());

// Writes `bytes` beside `path` and renames the copy over it once every byte
// reached the disk; the previous file stays whole on any failure. `error`
// receives failureText().
bool writeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Writes a temporary file in place (it is removed again by the same operation).
bool writeTemporary(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Copies `from` to `to` (which must not exist yet), checked like writeFile.
bool copyFile(const QString& from, const QString& to, QString* error = nullptr);
// Removes `path`; a file that is not there counts as removed.
bool removeFile(const QString& path, QString* error = nullptr);

// Where a file written by a program other than these functions (a PDF
// drawn by the printing engine) may go: a file that is not there yet, or a
// regular file the user may write (a symbolic link is followed to its file).
// A device, a folder, a pipe or a read-only file is refused with `error`.
// `resolved` receives the file to replace.
bool replaceableTarget(const QString& path, QString* resolved, QString* error = nullptr);
// Creates an empty file beside `target` for another writer to fill;
// `staged` receives its name.
bool createStaged(const QString& target, QString* staged, QString* error = nullptr);
// Reads back the file another writer filled and makes sure it reached the
// disk; the messages name `target`, the file it is to replace.
bool syncStaged(const QString& staged, const QString& target, QByteArray* bytes, QString* error = nullptr);
// Renames `staged` over `target`: the target changes whole or not at all.
bool renameStaged(const QString& staged, const QString& target, QString* error = nullptr);
// Whether the disk under `path` has (almost) no room left.
bool diskIsFull(const QString& path);

// Several files that must change together (the three files of a year, the
// two files of an exchange pair): each is written beside its target first;
// only when all are written are they renamed over their targets. When a
// rename fails, the files already replaced are put back as they were.
class FileSet {
public:
    FileSet() = default;
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;
    ~FileSet(); // removes whatever is still staged

    // Writes the new content beside `path`. False (with `error`) on failure.
    bool stage(const QString& path, const QByteArray& bytes, QString* error = nullptr);
    // Renames every staged file over its target.
    bool commit(QString* error = nullptr);

private:
    struct Entry {
        QString target;
        QString staged;
        bool hadTarget = false;
        QByteArray previous; // the target's bytes before the commit
    };
    QList<Entry> m_entries;
};

} // namespace fileops
