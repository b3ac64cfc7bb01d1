#pragma once

#include "user_notifier.h"

#include <cstdio>

// The window-less front ends tell the user on the terminal; a question is
// answered "no", so nothing is overwritten or deleted without a window.
class StderrNotifier : public UserNotifier {
public:
    MessageAnswer ask(const UserMessage& m) override
    {
        std::fprintf(stderr, "%s%s%s\n", qPrintable(m.text), m.detail.isEmpty() ? "" : ": ", qPrintable(m.detail));
        return m.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
};
