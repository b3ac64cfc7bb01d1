#pragma once

#include <QStringList>

// The window-less front end: `nakama-cho --print JOB (--pdf FILE | --printer
// QUEUE) ...` prints one job of one year without any window or display, and
// `--help` / `--version` answer on the terminal.
namespace print_command {

// True when the arguments ask for the front end rather than the desktop.
bool wanted(const QStringList& arguments);
// Runs it on the QGuiApplication already made; the exit status: 0 only when
// the file was written (or the queue took the job), 1 on any failure with a
// message on stderr.
int run();

} // namespace print_command
