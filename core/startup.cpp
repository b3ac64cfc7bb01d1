#include "startup.h"

#include "file_ops.h"
#include "record_format.h"
#include "roster_files.h"
#include "text_width.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

using namespace Qt::StringLiterals;

namespace {
const QString kSchool = u"SCHOOL"_s;
const QString kRunFlag = u"RUN_FLAG"_s;
const QString kProgramTitle = u"なかま帳"_s;
const QString kShortcutFolder = u"学校事務"_s;
const QString kUpdaterShortcut = u"学校事務update.desktop"_s;
const QString kOwnShortcut = u"なかま帳.desktop"_s;

// Whether `value` is `folder` or a path inside it: /media/usb is not the
// start of /media/usb2/….
bool startsWithFolder(const QString& value, const QString& folder)
{
    if (!value.startsWith(folder, Qt::CaseInsensitive))
        return false;
    if (value.size() == folder.size() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return true;
    const QChar next = value.at(folder.size());
    return next == u'/' || next == u'\\';
}
} // namespace

std::optional<PortableSettings> parsePortableSettings(const QByteArray& bytes, QString* error)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    PortableSettings file;
    r.readString(file.application) && r.readString(file.folder) && r.skip(3);
    std::optional<std::vector<PortableSettings::Entry>> entries = readRecords<PortableSettings::Entry>(
        r, RecordLimit(size_t(kMaxPortableEntries), u"設定が多すぎます"_s),
        [](RecordReader& r, PortableSettings::Entry& e) {
            r.readString(e.section) && r.readString(e.key) && r.readString(e.value) && r.skip(4);
        },
        error);
    if (!entries)
        return std::nullopt;
    for (PortableSettings::Entry& e : *entries)
        file.entries.append(std::move(e));
    return file;
}

QDate parseSuiteDate(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& format : {u"yyyy/M/d"_s, u"yyyy-M-d"_s, u"yyyy/MM/dd"_s, u"yyyy-MM-dd"_s}) {
        const QDate d = QDate::fromString(t.left(t.indexOf(u' ') < 0 ? t.size() : t.indexOf(u' ')), format);
        if (d.isValid())
            return d;
    }
    return QDate();
}

SuiteSession::SuiteSession(SettingsStore& settings, PlatformServices& platform, UserNotifier& notifier,
                           UserProfile& profile, SuiteConfig config, QString programFolder, QString dataFolder,
                           QStringList arguments)
    : m_settings(settings), m_platform(platform), m_notifier(notifier), m_profile(profile),
      m_config(std::move(config)), m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder)),
      m_arguments(std::move(arguments)), m_appKey(programName())
{
}

void SuiteSession::setRemovable(bool removable)
{
    m_removable = removable;
    m_appKey = removable ? u"R-"_s + programName() : programName();
}

QString SuiteSession::portableSettingsPath() const
{
    return tempFilePath(m_programFolder, programName() + u".SIN"_s);
}

QString SuiteSession::userSettingsPath() const
{
    return tempFilePath(m_dataFolder, u"NKMCHO.SEW"_s);
}

int SuiteSession::startupChecks()
{
    // 1. Removable mode decides the application name.
    setRemovable(m_platform.isRemovableDrive(m_programFolder));

    // 2. One copy at a time.
    if (m_platform.anotherInstanceRunning()) {
        m_notifier.tell(u"すでに「"_s + kProgramTitle + u"」は実行されています、実行を中止します。"_s,
                        MessageIcon::Critical);
        return -1;
    }

    // 3. From a removable drive the program is started by the launcher, unless /D says otherwise.
    const bool exempt = m_config.launcherExemptApps.contains(programName());
    if (m_removable && !exempt && !m_arguments.join(u' ').toUpper().contains(u"/D"_s)) {
        const QString launcherPath = m_settings.get(m_config.launcherApp, kSchool, u"A_PATH"_s);
        if (launcherPath.isEmpty() || !m_programFolder.contains(launcherPath, Qt::CaseInsensitive)) {
            m_notifier.tell(kProgramTitle + u"は、学校事務メニューから起動してください"_s, MessageIcon::Critical);
            return -1;
        }
    }

    const auto guard = m_settings.lock(m_appKey);
    // 4. A run flag left standing: another copy, or the last run ended abnormally.
    if (m_settings.get(u"R-"_s + programName(), kSchool, kRunFlag) == u"RUN"_s ||
        m_settings.get(programName(), kSchool, kRunFlag) == u"RUN"_s) {
        if (m_notifier.askYesNo(kProgramTitle + u"は複数実行しないでください、実行を中止しますか？"_s))
            return -1;
    }

    // 5. The updater shortcut belongs to an installed copy only.
    if (!m_removable)
        maintainUpdaterShortcut();

    // 6. Running.
    m_settings.save(m_appKey, kSchool, kRunFlag, u"RUN"_s);
    if (m_removable && m_settings.get(programName(), kSchool, kRunFlag) == u"RUN"_s)
        m_settings.save(programName(), kSchool, kRunFlag, QString());
    return 1;
}

bool SuiteSession::exportPortableSettings()
{
    m_settings.save(m_appKey, kSchool, kRunFlag, QString());
    RecordWriter w;
    w.string(m_appKey);
    w.string(m_programFolder, u"プログラムのフォルダ"_s);
    w.strings(3);
    w.endRecord();
    int written = 0;
    for (const QString& section : m_config.portableSections()) {
        for (const auto& [key, value] : m_settings.enumerateSection(m_appKey, section)) {
            w.beginRecord(section + u" / "_s + key);
            w.string(section, u"項目"_s);
            w.string(key, u"項目"_s);
            w.string(value, u"値"_s);
            w.strings(4);
            w.endRecord();
            ++written;
        }
    }
    const QString path = portableSettingsPath();
    if (written == 0) {
        fileops::removeFile(path);
        return true;
    }
    // A value the file cannot hold, or a file that cannot be written, keeps
    // every setting on this machine and the earlier file as it was.
    QString error;
    if (!w.ok() || !writeFileAtomically(path, w.bytes(), &error)) {
        m_notifier.tell(u"設定ファイル（"_s + programName() + u".SIN）を保存できませんでした。"_s, MessageIcon::Warning,
                        kProgramTitle, w.ok() ? error : w.problems().join(u'\n'));
        return false;
    }
    if (m_removable) {
        // What travels on the medium need not stay on this machine.
        const QStringList sections = m_config.portableSections();
        for (qsizetype i = 1; i < sections.size(); ++i)
            m_settings.deleteSection(m_appKey, sections[i]);
        if (m_settings.get(m_config.launcherApp, kSchool, programName()) == u"ON"_s)
            m_settings.save(m_config.launcherApp, kSchool, programName(), QString());
    }
    return true;
}

void SuiteSession::importPortableSettings()
{
    if (!QFileInfo::exists(portableSettingsPath()))
        exportPortableSettings();
    if (!QFileInfo::exists(portableSettingsPath()))
        return;
    QByteArray bytes;
    QString error;
    std::optional<PortableSettings> file;
    if (readWholeFile(portableSettingsPath(), bytes, &error))
        file = parsePortableSettings(bytes, &error);
    if (!file) {
        // Nothing of a damaged file is taken; the program starts with what it has.
        m_notifier.tell(u"設定ファイル（"_s + programName() + u".SIN）を読み込めませんでした。"_s,
                        MessageIcon::Warning, kProgramTitle, error);
        return;
    }
    // The medium may now be mounted elsewhere: move paths along with it.
    const QString& oldFolder = file->folder;
    const bool rebase = !oldFolder.isEmpty() && oldFolder != m_programFolder;
    QList<SettingsStore::Entry> entries;
    for (PortableSettings::Entry& e : file->entries) {
        if (rebase && startsWithFolder(e.value, oldFolder))
            e.value = m_programFolder + e.value.mid(oldFolder.size());
        entries.append({e.section, e.key, e.value});
    }
    if (!m_settings.saveAll(m_appKey, entries))
        m_notifier.tell(u"設定ファイル（"_s + programName() + u".SIN）の設定を取り込めませんでした。"_s,
                        MessageIcon::Warning, kProgramTitle, m_settings.folder());
}

void SuiteSession::loadSuiteSettings()
{
    m_profile.suiteSchoolName = m_settings.get(m_appKey, kSchool, u"SC_NAME"_s);
    m_profile.suiteSchoolCode = m_settings.get(m_appKey, kSchool, u"SC_CODE"_s).toInt();
    m_profile.userId = m_settings.get(m_appKey, kSchool, u"ID_NOS"_s);
    secondDataFolder = m_settings.get(m_appKey, kSchool, u"SET_S_DIR"_s);
    thirdDataFolder = m_settings.get(m_appKey, kSchool, u"SET_D_DIR"_s);

    if (m_profile.suiteSchoolName.isEmpty()) {
        // Another program of the suite may know the school already.
        QStringList apps = m_config.schoolNameApps;
        if (m_removable) {
            apps = apps.mid(0, 12);
            for (QString& a : apps)
                a = u"R-"_s + a;
        }
        for (const QString& app : std::as_const(apps)) {
            if (app == m_appKey || app == programName())
                continue;
            const QString name = m_settings.get(app, kSchool, u"SC_NAME"_s);
            if (!name.isEmpty()) {
                m_profile.suiteSchoolName = name;
                m_profile.suiteSchoolCode = m_settings.get(app, kSchool, u"SC_CODE"_s).toInt();
                break;
            }
        }
    }
    if (m_settings.get(m_appKey, u"Version"_s, u"Major"_s) != QString::number(version.major))
        m_settings.save(m_appKey, u"TIME"_s, u"ST_F"_s, u"0"_s);
}

void SuiteSession::applyStartFlagRule(const QDate& today)
{
    const QString flag = m_settings.get(m_appKey, u"TIME"_s, u"ST_F"_s);
    bool okMajor = false;
    const int storedMajor = m_settings.get(m_appKey, u"Version"_s, u"Major"_s).toInt(&okMajor);
    if (flag == u"1"_s && okMajor && storedMajor > version.major) {
        const QDate last = parseSuiteDate(m_settings.get(m_appKey, u"TIME"_s, u"LAST"_s));
        const int fiscalStartYear = today.month() < 4 ? today.year() - 1 : today.year();
        if (last.isValid() && last.year() == fiscalStartYear && last.month() >= 4)
            return;
    }
    m_settings.save(m_appKey, u"TIME"_s, u"ST_F"_s, u"0"_s);
}

void SuiteSession::saveSuiteSettings(const QDate& today)
{
    m_settings.save(m_appKey, kSchool, u"DIR_ME"_s, m_programFolder);
    m_settings.save(m_appKey, kSchool, u"SC_NAME"_s, m_profile.suiteSchoolName);
    m_settings.save(m_appKey, kSchool, u"SC_CODE"_s, QString::number(m_profile.suiteSchoolCode));
    m_settings.save(m_appKey, kSchool, u"ID_NOS"_s, m_profile.userId);
    bool okMajor = false;
    const int storedMajor = m_settings.get(m_appKey, u"Version"_s, u"Major"_s).toInt(&okMajor);
    if (m_settings.get(m_appKey, kSchool, u"INST_DAY"_s).isEmpty() || (okMajor && storedMajor < version.major))
        m_settings.save(m_appKey, kSchool, u"INST_DAY"_s, today.toString(u"yyyy/MM/dd"_s));
    m_settings.save(m_appKey, u"Version"_s, u"Major"_s, QString::number(version.major));
    m_settings.save(m_appKey, u"Version"_s, u"Minor"_s, QString::number(version.minor));
    m_settings.save(m_appKey, u"Version"_s, u"Revision"_s, QString::number(version.revision));
    m_settings.save(m_appKey, kSchool, u"SET_S_DIR"_s, secondDataFolder);
    m_settings.save(m_appKey, kSchool, u"SET_D_DIR"_s, thirdDataFolder);
}

int SuiteSession::readUserSettings()
{
    return readUserSettingsFile(userSettingsPath(), m_profile);
}

bool SuiteSession::writeUserSettings(const QDate& today)
{
    saveSuiteSettings(today);
    QString error;
    if (writeUserSettingsFile(userSettingsPath(), m_profile, &error))
        return true;
    // The settings changed in this session would otherwise be gone at the
    // next start without a word.
    m_notifier.tell(u"環境設定を保存できませんでした。"_s, MessageIcon::Critical, kProgramTitle, error);
    return false;
}

bool SuiteSession::writeTest(const QString& folder, const QString& name)
{
    const QString path = tempFilePath(folder, name);
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("\r\n") != 2)
        return false;
    file.close();
    return QFile::remove(path);
}

int SuiteSession::testDataFolders()
{
    if (m_removable) {
        secondDataFolder = m_programFolder;
        thirdDataFolder = m_programFolder;
    }
    auto refuse = [this](int step) {
        m_notifier.tell(u"データ保存先にデータの書き込みが出来ません\n保存先のメディア・環境設定等を確認してください("_s +
                            QString::number(step) + u")"_s,
                        MessageIcon::Warning);
        return -1;
    };
    if (!writeTest(m_dataFolder, u"TEST.X"_s))
        return refuse(1);
    if (!thirdDataFolder.isEmpty() && !writeTest(thirdDataFolder, u"TEST.X"_s))
        return refuse(2);
    if (secondDataFolder.isEmpty() || !writeTest(secondDataFolder, u"TEST2.X"_s))
        secondDataFolder = m_dataFolder;
    return 1;
}

void SuiteSession::deleteProgramSettings()
{
    if (!m_notifier.askYesNo(u"レジストリデータを削除します。"_s))
        return;
    for (const QString& section : {kSchool, u"Version"_s, u"TIME"_s})
        m_settings.deleteSection(m_appKey, section);
}

void SuiteSession::maintainUpdaterShortcut()
{
    QStringList candidates;
    for (const QString& folder : m_platform.shortcutCandidateFolders()) {
        if (folder.isEmpty())
            continue;
        const QString suite = folder + u'/' + kShortcutFolder;
        candidates << suite;
        const QString narrow = toHalfWidth(suite);
        if (narrow != suite)
            candidates << narrow;
    }
    for (const QString& folder : std::as_const(candidates)) {
        const QString updater = folder + u'/' + kUpdaterShortcut;
        if (QFileInfo::exists(updater)) {
            QFile::remove(updater);
            break;
        }
    }
    if (!m_platform.internetConnected() || m_config.updateSite.isEmpty())
        return;
    for (const QString& folder : std::as_const(candidates)) {
        if (!QFileInfo(folder).isDir())
            continue;
        if (QFileInfo::exists(folder + u'/' + kOwnShortcut) && !QFileInfo::exists(folder + u'/' + kUpdaterShortcut)) {
            const QByteArray entry = "[Desktop Entry]\nType=Link\nName=" + u"学校事務update"_s.toUtf8() +
                                     "\nURL=" + m_config.updateSite.toUtf8() + "\nIcon=system-software-update\n";
            writeFileAtomically(folder + u'/' + kUpdaterShortcut, entry);
        }
        break;
    }
}

RemovableWatchdog::RemovableWatchdog(QString programFolder, QObject* parent)
    : QObject(parent), m_folder(std::move(programFolder))
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &RemovableWatchdog::check);
}

void RemovableWatchdog::check()
{
    if (QFileInfo(m_folder).isDir())
        return;
    m_timer.stop();
    emit mediumGone();
}
