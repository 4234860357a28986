#pragma once

#include <QString>

// Why the program's windows have nowhere to go, asked before the toolkit starts:
// without a display, or without the toolkit's plugin for it, the toolkit would end the
// program with an abort and a misleading hint. Empty when an X11 display accepts a
// connection, or a Wayland socket does, and the plugin for it is installed; a
// QT_QPA_PLATFORM naming another kind of platform (offscreen, for instance) needs only
// its plugin.
QString GraphicalSessionProblem();

// A Wayland session (WAYLAND_DISPLAY set): X clients there see keys only while their
// own window has focus and read only X windows from the screen.
bool WaylandSession();
