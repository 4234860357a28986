// lorvane-probe volume [L R]: the default output's left and right volume, 0 ... 65535,
// read or set.
#include "cli/CommandRegistry.h"

#include "platform/PulseVolume.h"

#include <QTextStream>

using namespace lorvane;

namespace {

bool parsePosition(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0 && value <= 65535;
}

int run(const QStringList& args) {
    PulseVolume volume;
    if (args.isEmpty()) {
        const auto v = volume.read();
        if (!v)
            return 1;
        QTextStream(stdout) << v->left << '\t' << v->right << '\n';
        return 0;
    }
    StereoVolume v;
    if (args.size() != 2 || !parsePosition(args.at(0), v.left) ||
        !parsePosition(args.at(1), v.right))
        return 2;
    return volume.write(v) ? 0 : 1;
}

const bool registered = cli::registerCommand("volume", "[L R]", run);

} // namespace
