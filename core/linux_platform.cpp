#include "linux_platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

using namespace Qt::StringLiterals;

LinuxPlatform::LinuxPlatform() = default;
LinuxPlatform::~LinuxPlatform() = default;

bool LinuxPlatform::deviceIsRemovable(const QString& device, const QString& sysRoot)
{
    if (!device.startsWith(u"/dev/"_s))
        return false;
    const QString name = QFileInfo(device).canonicalFilePath().section(u'/', -1);
    QString dir = QFileInfo(sysRoot + u"/class/block/"_s + (name.isEmpty() ? device.section(u'/', -1) : name))
                      .canonicalFilePath();
    if (dir.isEmpty())
        return false;
    // A partition's flag lives on the disk it belongs to.
    if (QFileInfo::exists(dir + u"/partition"_s))
        dir = QFileInfo(dir).absolutePath();
    QFile flag(dir + u"/removable"_s);
    if (!flag.open(QIODevice::ReadOnly))
        return false;
    return flag.readAll().trimmed() == "1";
}

bool LinuxPlatform::isRemovableDrive(const QString& folder)
{
    const QStorageInfo info(folder);
    if (!info.isValid())
        return false;
    return deviceIsRemovable(QString::fromLocal8Bit(info.device()));
}

bool LinuxPlatform::anotherInstanceRunning()
{
    if (m_instanceLock)
        return !m_instanceLock->isLocked();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    m_instanceLock = std::make_unique<QLockFile>(folder + u"/nakama-cho.lock"_s);
    m_instanceLock->setStaleLockTime(0); // only a live process holds it
    return !m_instanceLock->tryLock(0);
}

QStringList LinuxPlatform::shortcutCandidateFolders()
{
    const QString home = QDir::homePath();
    return {
        u"/usr/local/share/applications"_s,                                           // all users' menu
        u"/etc/skel/Desktop"_s,                                                       // a new user's desktop
        u"/etc/skel/.local/share/applications"_s,                                     // a new user's menu
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),            // the user's desktop
        QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation),       // the user's menu
        home + u"/デスクトップ"_s,                                                     // a Japanese desktop folder
        home + u"/Desktop"_s,
        u"/usr/share/applications"_s,
    };
}
