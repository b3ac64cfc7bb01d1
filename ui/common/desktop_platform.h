#pragma once

#include "linux_platform.h"

// The desktop session's view of the machine: the Linux checks, plus the
// connection state as the desktop's network service reports it.
class DesktopPlatform : public LinuxPlatform {
public:
    bool internetConnected() override;
};
