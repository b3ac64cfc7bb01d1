#pragma once

#include "roster_session.h"
#include "roster_store.h"
#include "user_notifier.h"
#include "window_position.h"

// What every window of the program is handed: the one roster, the way to
// talk to the user, the remembered window positions, and the session: what
// the windows hand each other, by code, beside the roster rather than in it.
struct AppContext {
    RosterStore& store;
    UserNotifier& notifier;
    WindowPositions& positions;
    RosterSession session{};
};
