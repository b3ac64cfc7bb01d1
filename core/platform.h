#pragma once

#include <QString>
#include <QStringList>

// What the start-up checks ask of the machine. The desktop implementation
// sits beside it (linux_platform.h); tests use a fake.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    // The drive behind `folder` is removable (a USB stick, a memory card).
    virtual bool isRemovableDrive(const QString& folder) = 0;
    // Another copy of the program is running. The first call also claims the
    // program for this process.
    virtual bool anotherInstanceRunning() = 0;
    virtual bool internetConnected() = 0;
    // The candidate folders for the suite's desktop and menu shortcuts, in
    // the order they are tried.
    virtual QStringList shortcutCandidateFolders() = 0;
};
