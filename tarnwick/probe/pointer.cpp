// tarnwick-probe pointer: where pointer positions lie in the captured picture.
#include "command.h"

#include "platform/PicturePixels.h"

#include <QTextStream>

namespace {

int run(const QStringList& args) {
    QTextStream out(stdout);
    for (const QString& arg : args) {
        const QStringList xy = arg.split(u',');
        bool okX = false;
        bool okY = false;
        const QPoint global(xy.value(0).toInt(&okX), xy.value(1).toInt(&okY));
        if (xy.size() != 2 || !okX || !okY) {
            QTextStream(stderr) << "usage: tarnwick-probe pointer X,Y...\n";
            return 2;
        }
        const QPoint p = PicturePoint(global);
        out << p.x() << ',' << p.y() << '\n';
    }
    return 0;
}

const bool registered = probe::registerCommand(
    "pointer", "X,Y...           each pointer position (Qt's pixels) in the picture's pixels", run);

} // namespace
