#pragma once

// Whether a display is there for the program's windows, asked before the toolkit
// starts: without one it would end the program with an abort and a misleading hint.
// An X11 display that accepts a connection, or a Wayland socket that does; a
// QT_QPA_PLATFORM naming another kind of platform (offscreen, for instance) is taken
// at its word.
bool GraphicalSessionReachable();

// A Wayland session (WAYLAND_DISPLAY set): X clients there see keys only while their
// own window has focus and read only X windows from the screen.
bool WaylandSession();
