#pragma once

#include <QIcon>
#include <QPixmap>

// The program icon (32 x 32, 16 colours) that every window and the tray show.
QPixmap ProgramPixmap();
QIcon ProgramIcon();
