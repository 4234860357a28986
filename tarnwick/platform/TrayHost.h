#pragma once

// Whether the desktop's tray is a StatusNotifierItem host (xfce4-panel, KDE, GNOME's
// AppIndicator extension), asked the way the toolkit asks before it picks that kind of
// icon over an embedded one. Such a host reports each click as an activation and never
// a double click.
bool StatusNotifierHostRegistered();
