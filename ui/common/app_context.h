#pragma once

#include "roster_store.h"
#include "user_notifier.h"
#include "window_position.h"

// What every window of the program is handed: the one roster, the way to
// talk to the user, and the remembered window positions.
struct AppContext {
    RosterStore& store;
    UserNotifier& notifier;
    WindowPositions& positions;
};
