#pragma once

#include "print_framework.h"
#include "recording_device.h"

#include <optional>

// Looking things up on a recorded page, the way a user checks a printed form.
namespace recorded {

using Primitive = RecordingDevice::Primitive;

inline bool near(double a, double b)
{
    return std::abs(a - b) < 0.01;
}

// The text printed with its top-left at (x, y), if any.
inline std::optional<Primitive> textAt(const RecordingDevice& d, double x, double y)
{
    for (const auto& p : d.texts())
        if (near(p.x1, x) && near(p.y1, y) && !p.text.isEmpty())
            return p;
    return std::nullopt;
}

// The text that ends at x (right-aligned there) on the line at y.
inline std::optional<Primitive> textEndingAt(const RecordingDevice& d, double x, double y)
{
    for (const auto& p : d.texts())
        if (near(p.x2, x) && near(p.y1, y) && !p.text.isEmpty())
            return p;
    return std::nullopt;
}

// A progress dialog stand-in: answers "stop" once the test says so.
struct ScriptedProgress : PrintProgress {
    bool stop = false;
    bool stopRequested() override { return stop; }
};

} // namespace recorded
