#pragma once

#include "app_context.h"
#include "settings_store.h"

#include <QTemporaryDir>

// What a window under test is handed: a roster, a recording notifier and
// window positions kept in a settings folder of its own.
struct WindowContext {
    QTemporaryDir dir;
    SettingsStore settings{dir.path()};
    WindowPositions positions{settings, QStringLiteral("NAKAMA-CHO")};
    RosterStore store;
    RecordingNotifier notifier;
    AppContext context{store, notifier, positions};
};
