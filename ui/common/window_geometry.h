#pragma once

class QWidget;
class WindowPositions;

// Every window opens where the user last left it and remembers where it was
// closed; the window's object name is its name in the settings.
void restoreWindowPosition(QWidget* window, const WindowPositions& positions);
void saveWindowPosition(const QWidget* window, WindowPositions& positions);
