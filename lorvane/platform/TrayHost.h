// TrayHost.h: which kind of tray the desktop has.
#pragma once

namespace lorvane {

// Whether the desktop's tray takes icons as StatusNotifierItems over the session bus
// (its watcher is there), as the toolkit tells it when it makes its first tray icon;
// otherwise icons go to an XEmbed tray, if any. Asked once.
bool StatusNotifierTray();

} // namespace lorvane
