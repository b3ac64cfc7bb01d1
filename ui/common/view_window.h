#pragma once

#include <functional>

class QWidget;

// A list window shown as a view inside the main window: it fills the frame
// at the top left and runs `activate` each time it becomes the active view
// (not when a dialog over it closes). Returns false, having done nothing,
// when the window is not inside the frame.
bool attachViewWindow(QWidget* window, const std::function<void()>& activate);
