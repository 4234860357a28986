#pragma once

class QWindow;

// The window's button in the desktop's task bar. "Only Show in Tray" takes it away so
// that the program is reachable from its tray icon only. The real one speaks to the X
// server (TaskbarEntryX11.h); tests use FakeTaskbarEntry.h.
namespace lorvane {

class TaskbarEntry {
public:
    virtual ~TaskbarEntry() = default;
    // Takes the window's entry out of the task bar (skipped) or gives it back. Works on a
    // window that is not on the screen yet as well as on a shown or minimised one.
    virtual void setSkipped(QWindow* window, bool skipped) = 0;
};

} // namespace lorvane
