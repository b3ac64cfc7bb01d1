#pragma once

#include "app_context.h"
#include "sample_roster.h"
#include "settings_store.h"

#include <QTemporaryDir>

// What a window is handed, with a full roster: 1500 schools with all seven
// posts filled and 1500 staff, for timing the windows at their largest.
struct FullRosterContext {
    QTemporaryDir dir;
    SettingsStore settings{dir.path()};
    WindowPositions positions{settings, QStringLiteral("NAKAMA-CHO")};
    RosterStore store;
    RecordingNotifier notifier;
    AppContext context{store, notifier, positions};

    FullRosterContext()
    {
        store.profile.areaName = QStringLiteral("瑠璃県");
        SampleOptions o;
        o.schools = 1500;
        o.staff = 1500;
        o.fillAllPosts = true;
        generateSampleRoster(store, o);
    }
};
