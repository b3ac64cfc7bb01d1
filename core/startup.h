#pragma once

#include "platform.h"
#include "roster_store.h"
#include "settings_store.h"
#include "suite_config.h"
#include "user_notifier.h"

#include <QDate>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

struct ProgramVersion {
    int major = NAKAMA_VERSION_MAJOR;
    int minor = NAKAMA_VERSION_MINOR;
    int revision = NAKAMA_VERSION_PATCH;
};

// Everything the program settles with the suite before and after its main
// window: the single-instance and launcher checks, the shared settings, the
// portable settings of a removable drive, the user settings file and the
// write test of the data folders.
class SuiteSession {
public:
    static QString programName() { return QStringLiteral("NAKAMA-CHO"); }

    SuiteSession(SettingsStore& settings, PlatformServices& platform, UserNotifier& notifier, UserProfile& profile,
                 SuiteConfig config, QString programFolder, QString dataFolder, QStringList arguments);

    int startupChecks();
    void importPortableSettings();
    // Writes the portable settings file; false (and told) when it could not.
    bool exportPortableSettings();
    void loadSuiteSettings();
    void applyStartFlagRule(const QDate& today);
    void saveSuiteSettings(const QDate& today);
    // The user settings file into the profile: 1 read, 0 no file yet, -1
    // unreadable (the profile is left as it was).
    int readUserSettings();
    bool writeUserSettings(const QDate& today);
    int testDataFolders();
    void deleteProgramSettings();
    void maintainUpdaterShortcut();

    bool removable() const { return m_removable; }
    const QString& appKey() const { return m_appKey; }
    const QString& programFolder() const { return m_programFolder; }
    const QString& dataFolder() const { return m_dataFolder; }
    QString portableSettingsPath() const;
    QString userSettingsPath() const;

    QString secondDataFolder;
    QString thirdDataFolder;
    ProgramVersion version;

    // Set by tests to stand in for a removable drive without one.
    void setRemovable(bool removable);

private:
    bool writeTest(const QString& folder, const QString& name);

    SettingsStore& m_settings;
    PlatformServices& m_platform;
    UserNotifier& m_notifier;
    UserProfile& m_profile;
    SuiteConfig m_config;
    QString m_programFolder;
    QString m_dataFolder;
    QStringList m_arguments;
    bool m_removable = false;
    QString m_appKey;
};

// In removable mode, checks every second that the program's medium is still
// there; when it is gone, says so once through `mediumGone`.
class RemovableWatchdog : public QObject {
    Q_OBJECT
public:
    explicit RemovableWatchdog(QString programFolder, QObject* parent = nullptr);
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    bool isActive() const { return m_timer.isActive(); }

signals:
    void mediumGone();

private:
    void check();
    QString m_folder;
    QTimer m_timer;
};

// The portable settings file "NAKAMA-CHO.SIN": where it was written from,
// and (section, key, value) for each setting.
struct PortableSettings {
    struct Entry {
        QString section, key, value;
    };
    QString application;
    QString folder;
    QList<Entry> entries;
};
inline constexpr int kMaxPortableEntries = 4096;
std::optional<PortableSettings> parsePortableSettings(const QByteArray& bytes, QString* error);

// Parses the dates other suite programs write ("2024/05/01", "2024-05-01").
QDate parseSuiteDate(const QString& text);
