#pragma once

#include "platform.h"

#include <QStringList>

// The desktop as a test wants it: a fixed drive type, no other instance, no
// connection and no shortcut folders unless the test says otherwise.
class FakePlatform : public PlatformServices {
public:
    bool removable = false;
    bool otherInstance = false;
    bool online = false;
    QStringList candidates;
    bool isRemovableDrive(const QString&) override { return removable; }
    bool anotherInstanceRunning() override { return otherInstance; }
    bool internetConnected() override { return online; }
    QStringList shortcutCandidateFolders() override { return candidates; }
};
