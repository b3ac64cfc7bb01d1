// Writes a sample year into a data folder:
//   nakama-sample [--schools N] [--staff N] [--seed N] [--year NN] [--full] DIR
#include "roster_files.h"
#include "sample_roster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SampleOptions options;
    QString folder;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() { return i + 1 < args.size() ? args[++i].toInt() : 0; };
        if (a == u"--schools"_s)
            options.schools = value();
        else if (a == u"--staff"_s)
            options.staff = value();
        else if (a == u"--seed"_s)
            options.seed = quint32(value());
        else if (a == u"--year"_s)
            options.fiscalYear = value();
        else if (a == u"--full"_s)
            options.fillAllPosts = true;
        else
            folder = a;
    }
    if (folder.isEmpty() || options.fiscalYear <= 0) {
        std::fprintf(stderr, "usage: nakama-sample [--schools N] [--staff N] [--seed N] [--year NN] [--full] DIR\n");
        return 2;
    }
    QDir().mkpath(folder);
    RosterStore store;
    store.paths.dataFolder = QDir(folder).absolutePath();
    store.paths.setYear(options.fiscalYear);
    // A newcomer starts as a prefecture-level user, who sees every feature.
    const QString userSettings = tempFilePath(store.paths.dataFolder, u"NKMCHO.SEW"_s);
    if (readUserSettingsFile(userSettings, store.profile) != 1)
        store.profile.areaName = store.places.prefectureName;
    generateSampleRoster(store, options);
    RecordingNotifier notifier;
    if (saveStaff(store, notifier) != 1 || saveSchools(store, notifier) != 1 ||
        saveMunicipalities(store, notifier) != 1) {
        for (const UserMessage& m : notifier.messages)
            std::fprintf(stderr, "%s\n%s\n", qPrintable(m.text), qPrintable(m.detail));
        return 1;
    }
    if (!QFileInfo::exists(userSettings))
        writeUserSettingsFile(userSettings, store.profile);
    std::printf("%d schools, %d staff -> %s\n", int(store.schoolCount()), int(store.staffCount()),
                qPrintable(store.paths.staffFile));
    return 0;
}
