#include "file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fileops {

namespace {

// The test hook's state. One program-wide counter, since the steps it counts
// are those of the one process.
int g_failAt = 0;
int g_steps = 0;
bool g_fired = false;

// Counts one step; true when this is the step that must fail.
bool injected(Step)
{
    ++g_steps;
    if (g_failAt > 0 && g_steps == g_failAt) {
        g_fired = true;
        errno = ENOSPC;
        return true;
    }
    return false;
}

bool isFullError(int err)
{
    return err == ENOSPC || err == EDQUOT || err == EFBIG;
}

// Whether the disk under `path` lacks room for `needed` more bytes.
bool lacksRoom(const QString& path, qint64 needed)
{
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    return disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < needed + 4096;
}

QString causeText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM: return u"書き込みが許可されていません"_s;
    case EROFS: return u"読み取り専用の場所です"_s;
    case ENOENT:
    case ENOTDIR: return u"フォルダが有りません"_s;
    case EIO: return u"装置の読み書きに失敗しました"_s;
    default: return u"書き込みに失敗しました"_s;
    }
}

struct Failure {
    bool diskFull = false;
    QString cause;
};

// What went wrong just now, read before anything else can change errno.
Failure currentFailure(const QString& path, qint64 needed, QFileDevice::FileError deviceError)
{
    const int err = errno;
    Failure f;
    f.diskFull = isFullError(err) || deviceError == QFileDevice::ResourceError || lacksRoom(path, needed);
    f.cause = causeText(err);
    return f;
}

bool fail(QString* error, const QString& path, const Failure& f)
{
    if (error)
        *error = failureText(path, f.diskFull, f.cause);
    return false;
}

// Makes sure the bytes written so far are on the disk, not only in a cache.
bool syncToDisk(QFileDevice& file)
{
    if (!file.flush())
        return false;
    const int fd = file.handle();
    return fd < 0 || ::fsync(fd) == 0;
}

QString stagedName(const QString& target)
{
    return target + u".tmp~"_s;
}

} // namespace

void failStep(int n)
{
    g_failAt = n;
    g_steps = 0;
    g_fired = false;
}

int stepsTaken()
{
    return g_steps;
}

bool failureFired()
{
    return g_fired;
}

void resetSteps()
{
    failStep(0);
}

QString failureText(const QString& path, bool diskFull, const QString& systemError)
{
    const QString name = QDir::toNativeSeparators(path);
    if (diskFull)
        return u"ディスクの空きが足りません: "_s + name;
    return (systemError.isEmpty() ? u"書き込みに失敗しました"_s : systemError) + u": "_s + name;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (injected(Step::Open) || !file.open(QIODevice::WriteOnly))
        return fail(error, path, currentFailure(path, bytes.size(), file.error()));
    if (injected(Step::Write) || file.write(bytes) != bytes.size()) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        file.cancelWriting();
        file.commit();
        return fail(error, path, f);
    }
    if (injected(Step::Flush) || !file.flush()) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        file.cancelWriting();
        file.commit();
        return fail(error, path, f);
    }
    if (injected(Step::Commit)) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        file.cancelWriting();
        file.commit();
        return fail(error, path, f);
    }
    if (!file.commit())
        return fail(error, path, currentFailure(path, bytes.size(), file.error()));
    return true;
}

bool writeTemporary(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (injected(Step::Open) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, path, currentFailure(path, bytes.size(), file.error()));
    if (injected(Step::Write) || file.write(bytes) != bytes.size() || injected(Step::Flush) || !file.flush()) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        file.close();
        QFile::remove(path);
        return fail(error, path, f);
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        QFile::remove(path);
        return fail(error, path, f);
    }
    return true;
}

bool copyFile(const QString& from, const QString& to, QString* error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = u"ファイルを読み込めません: "_s + QDir::toNativeSeparators(from);
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        if (error)
            *error = u"ファイルを読み込めません: "_s + QDir::toNativeSeparators(from);
        return false;
    }
    if (injected(Step::Copy) || QFileInfo::exists(to))
        return fail(error, to, currentFailure(to, bytes.size(), QFileDevice::CopyError));
    return writeFile(to, bytes, error);
}

bool removeFile(const QString& path, QString* error)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    if (injected(Step::Remove) || !QFile::remove(path)) {
        if (error)
            *error = u"ファイルを削除できません: "_s + QDir::toNativeSeparators(path);
        return false;
    }
    return true;
}

bool replaceableTarget(const QString& path, QString* resolved, QString* error)
{
    const auto refuse = [&](const QString& cause) {
        if (error)
            *error = failureText(path, false, cause);
        return false;
    };
    if (path.isEmpty())
        return refuse(u"ファイル名がありません"_s);
    // Follow links as far as the file they name, so that a link the user
    // keeps stays a link to the new file.
    QString file = path;
    for (int hops = 0; QFileInfo(file).isSymLink(); ++hops) {
        if (hops == 40)
            return refuse(u"書き込み先がファイルではありません"_s);
        file = QFileInfo(file).symLinkTarget();
    }
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return refuse(u"書き込み先がファイルではありません"_s);
        // Whether the file may be written, as the system answers for this
        // user (a read-only file, a program that is running); opening it
        // without truncating changes nothing.
        const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return refuse(causeText(errno));
        ::close(fd);
    }
    if (resolved)
        *resolved = file;
    return true;
}

bool createStaged(const QString& target, QString* staged, QString* error)
{
    const QString name = stagedName(target);
    QFile::remove(name);
    QFile file(name);
    // A new file (never one that appeared meanwhile), with the permissions
    // of the file it will replace, or the user's usual ones.
    if (injected(Step::Open) || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(error, target, currentFailure(target, 0, file.error()));
    if (QFileInfo::exists(target))
        file.setPermissions(QFile::permissions(target));
    file.close();
    if (staged)
        *staged = name;
    return true;
}

bool syncStaged(const QString& staged, const QString& target, QByteArray* bytes, QString* error)
{
    QFile file(staged);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, target, currentFailure(staged, 0, file.error()));
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(error, target, currentFailure(staged, 0, file.error()));
    if (injected(Step::Flush) || ::fsync(file.handle()) != 0)
        return fail(error, target, currentFailure(staged, 0, QFileDevice::WriteError));
    if (bytes)
        *bytes = std::move(content);
    return true;
}

bool renameStaged(const QString& staged, const QString& target, QString* error)
{
    if (injected(Step::Rename) ||
        std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData()) != 0)
        return fail(error, target, currentFailure(target, 0, QFileDevice::RenameError));
    return true;
}

bool diskIsFull(const QString& path)
{
    return lacksRoom(path, 0);
}

FileSet::~FileSet()
{
    for (const Entry& e : std::as_const(m_entries))
        if (!e.staged.isEmpty())
            QFile::remove(e.staged);
}

bool FileSet::stage(const QString& path, const QByteArray& bytes, QString* error)
{
    const QString staged = stagedName(path);
    QFile::remove(staged);
    QFile file(staged);
    if (injected(Step::Open) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, path, currentFailure(path, bytes.size(), file.error()));
    if (injected(Step::Write) || file.write(bytes) != bytes.size() || injected(Step::Flush) || !syncToDisk(file)) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        file.close();
        QFile::remove(staged);
        return fail(error, path, f);
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        const Failure f = currentFailure(path, bytes.size(), file.error());
        QFile::remove(staged);
        return fail(error, path, f);
    }
    m_entries.append({path, staged, false, {}});
    return true;
}

bool FileSet::commit(QString* error)
{
    // Keep what each target holds now, so a half-done commit can be undone.
    for (Entry& e : m_entries) {
        QFile old(e.target);
        e.hadTarget = old.exists();
        if (e.hadTarget) {
            if (!old.open(QIODevice::ReadOnly)) {
                if (error)
                    *error = u"ファイルを読み込めません: "_s + QDir::toNativeSeparators(e.target);
                return false;
            }
            e.previous = old.readAll();
        }
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        const bool renamed = !injected(Step::Rename) && std::rename(QFile::encodeName(e.staged).constData(),
                                                                    QFile::encodeName(e.target).constData()) == 0;
        if (renamed) {
            e.staged.clear();
            continue;
        }
        const Failure f = currentFailure(e.target, 0, QFileDevice::RenameError);
        // Put back the files already replaced, after freeing the space the
        // staged copies hold.
        for (qsizetype j = i; j < m_entries.size(); ++j) {
            QFile::remove(m_entries[j].staged);
            m_entries[j].staged.clear();
        }
        for (qsizetype j = 0; j < i; ++j) {
            const Entry& done = m_entries[j];
            if (done.hadTarget)
                writeFile(done.target, done.previous);
            else
                QFile::remove(done.target);
        }
        return fail(error, e.target, f);
    }
    return true;
}

} // namespace fileops
