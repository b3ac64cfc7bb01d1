#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <memory>

class QLockFile;

// The settings shared by the programs of the school-office suite:
// (application, section, key) -> text. Each application is one INI file in
// the suite folder, so the launcher and the sibling programs see the same
// values this program writes.
class SettingsStore {
public:
    // `folder` empty: $NAKAMA_SUITE_DIR, else the user's configuration folder.
    explicit SettingsStore(const QString& folder = QString());

    QString folder() const { return m_folder; }
    static QString defaultFolder();

    QString get(const QString& app, const QString& section, const QString& key,
                const QString& defaultValue = QString()) const;
    bool save(const QString& app, const QString& section, const QString& key, const QString& value);
    struct Entry {
        QString section, key, value;
    };
    // Many values of one application in one write.
    bool saveAll(const QString& app, const QList<Entry>& entries);
    bool deleteSection(const QString& app, const QString& section);
    // Every key of the section with its value, in the file's order.
    QList<QPair<QString, QString>> enumerateSection(const QString& app, const QString& section) const;

    // Holds the application against other processes for a read-modify-write.
    std::unique_ptr<QLockFile> lock(const QString& app) const;

private:
    QString fileFor(const QString& app) const;
    QString m_folder;
};
