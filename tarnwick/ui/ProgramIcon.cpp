#include "ProgramIcon.h"

// The resource lives in a static library: register it before first use.
static void initResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(tarnwick);
        return true;
    }();
    (void)done;
}

QPixmap ProgramPixmap() {
    initResources();
    return QPixmap(QStringLiteral(":/tarnwick/tarnwick.xpm"));
}

QIcon ProgramIcon() {
    return QIcon(ProgramPixmap());
}
