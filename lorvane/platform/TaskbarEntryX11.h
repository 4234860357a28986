#pragma once

#include "platform/TaskbarEntry.h"

typedef struct _XDisplay Display;

namespace lorvane {

// The task-bar entry on X11: the window manager's _NET_WM_STATE_SKIP_TASKBAR state.
// A window the window manager has not taken over yet (before its first mapping, or after
// it was withdrawn, which clears the state) gets the state written into its own property,
// which Qt keeps when it maps the window; a managed one gets the request the window
// manager expects, a client message to the root window. Without an X11 display (Wayland,
// offscreen) nothing happens.
class TaskbarEntryX11 : public TaskbarEntry {
public:
    TaskbarEntryX11();
    ~TaskbarEntryX11() override;
    TaskbarEntryX11(const TaskbarEntryX11&) = delete;
    TaskbarEntryX11& operator=(const TaskbarEntryX11&) = delete;

    void setSkipped(QWindow* window, bool skipped) override;

private:
    Display* display();

    Display* m_display = nullptr;
    bool m_tried = false;
    bool m_ownDisplay = false;
};

} // namespace lorvane
