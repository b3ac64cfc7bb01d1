#pragma once

#include "sample_roster.h"
#include "window_context.h"

// A window's context holding a generated roster of the sample prefecture, its
// files kept in the context's own folder.
struct SampleWindowContext : WindowContext {
    explicit SampleWindowContext(int schools = 12, int staff = 30)
    {
        store.profile.areaName = QStringLiteral("瑠璃県");
        store.paths.dataFolder = dir.path();
        SampleOptions o;
        o.schools = schools;
        o.staff = staff;
        generateSampleRoster(store, o);
    }
};
