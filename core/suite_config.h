#pragma once

#include <QString>
#include <QStringList>

// Names of the suite this program belongs to: configuration data supplied
// with the deployment.
struct SuiteConfig {
    QString launcherApp;           // "SC_MENU"
    QStringList schoolNameApps;    // 14, in the order they are asked for a school name
    QStringList launcherExemptApps; // 9
    QStringList siblingSections;   // 10 sections kept by sibling programs
    QString updateSite;

    // The program's own sections, then the siblings': the 14 portable ones.
    QStringList portableSections() const;
};

// Reads "suite.ini" from the program folder, or the copy built into the program.
SuiteConfig loadSuiteConfig(const QString& programFolder);

// The path of a configuration file: the program folder's copy when there is
// one, else the built-in one.
QString configFilePath(const QString& programFolder, const QString& name);
