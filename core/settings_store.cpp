#include "settings_store.h"

#include <QDir>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

SettingsStore::SettingsStore(const QString& folder) : m_folder(folder.isEmpty() ? defaultFolder() : folder) {}

QString SettingsStore::defaultFolder()
{
    const QString env = qEnvironmentVariable("NAKAMA_SUITE_DIR");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/gakko-jimu"_s;
}

QString SettingsStore::fileFor(const QString& app) const
{
    // An application name is a file name: keep it to one path component.
    QString name = app;
    name.replace(u'/', u'_').replace(u'\\', u'_');
    if (name.isEmpty() || name == u"."_s || name == u".."_s)
        name = u"_"_s;
    return m_folder + u'/' + name + u".ini"_s;
}

QString SettingsStore::get(const QString& app, const QString& section, const QString& key,
                           const QString& defaultValue) const
{
    QSettings s(fileFor(app), QSettings::IniFormat);
    const QVariant v = s.value(section + u'/' + key);
    if (!v.isValid())
        return defaultValue;
    // A hand-edited list ("a, b") comes back as a list: give it back as text.
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(u", "_s);
    return v.toString();
}

bool SettingsStore::save(const QString& app, const QString& section, const QString& key, const QString& value)
{
    QDir().mkpath(m_folder);
    QSettings s(fileFor(app), QSettings::IniFormat);
    s.setValue(section + u'/' + key, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool SettingsStore::saveAll(const QString& app, const QList<Entry>& entries)
{
    QDir().mkpath(m_folder);
    QSettings s(fileFor(app), QSettings::IniFormat);
    for (const Entry& e : entries)
        s.setValue(e.section + u'/' + e.key, e.value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool SettingsStore::deleteSection(const QString& app, const QString& section)
{
    if (!QFile::exists(fileFor(app)))
        return true;
    QSettings s(fileFor(app), QSettings::IniFormat);
    s.remove(section);
    s.sync();
    return s.status() == QSettings::NoError;
}

QList<QPair<QString, QString>> SettingsStore::enumerateSection(const QString& app, const QString& section) const
{
    QList<QPair<QString, QString>> out;
    QSettings s(fileFor(app), QSettings::IniFormat);
    s.beginGroup(section);
    const QStringList keys = s.childKeys();
    for (const QString& key : keys) {
        const QVariant v = s.value(key);
        out.append({key, v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(u", "_s)
                                                                      : v.toString()});
    }
    return out;
}

std::unique_ptr<QLockFile> SettingsStore::lock(const QString& app) const
{
    QDir().mkpath(m_folder);
    auto lock = std::make_unique<QLockFile>(fileFor(app) + u".rmw-lock"_s);
    lock->setStaleLockTime(10000);
    lock->tryLock(3000); // a stuck lock must not stop the program from starting
    return lock;
}
