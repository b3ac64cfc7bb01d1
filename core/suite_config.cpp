#include "suite_config.h"

#include <QFileInfo>
#include <QSettings>

using namespace Qt::StringLiterals;

QStringList SuiteConfig::portableSections() const
{
    return QStringList{u"SCHOOL"_s, u"Position"_s, u"Version"_s, u"TIME"_s} + siblingSections;
}

QString configFilePath(const QString& programFolder, const QString& name)
{
    const QString local = programFolder + u'/' + name;
    if (!programFolder.isEmpty() && QFileInfo::exists(local))
        return local;
    return u":/data/"_s + name;
}

SuiteConfig loadSuiteConfig(const QString& programFolder)
{
    QSettings s(configFilePath(programFolder, u"suite.ini"_s), QSettings::IniFormat);
    s.beginGroup(u"suite"_s);
    auto list = [&](const QString& key) {
        QStringList out;
        for (const QString& item : s.value(key).toStringList())
            if (!item.trimmed().isEmpty())
                out << item.trimmed();
        return out;
    };
    SuiteConfig c;
    c.launcherApp = s.value(u"launcherApp"_s, u"SC_MENU"_s).toString();
    c.schoolNameApps = list(u"schoolNameApps"_s);
    c.launcherExemptApps = list(u"launcherExemptApps"_s);
    c.siblingSections = list(u"siblingSections"_s);
    c.updateSite = s.value(u"updateSite"_s).toString();
    return c;
}
