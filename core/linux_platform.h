#pragma once

#include "platform.h"

#include <QLockFile>
#include <memory>

// The start-up checks on a Linux desktop.
class LinuxPlatform : public PlatformServices {
public:
    LinuxPlatform();
    ~LinuxPlatform() override;

    bool isRemovableDrive(const QString& folder) override;
    bool anotherInstanceRunning() override;
    // Without a way to ask, the program behaves as when it is offline.
    bool internetConnected() override { return false; }
    QStringList shortcutCandidateFolders() override;

    // The removable flag of the block device `device` (e.g. "/dev/sdb1"),
    // read under `sysRoot` ("/sys" on a real machine).
    static bool deviceIsRemovable(const QString& device, const QString& sysRoot = QStringLiteral("/sys"));

private:
    std::unique_ptr<QLockFile> m_instanceLock;
};
