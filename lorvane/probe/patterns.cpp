#include "patterns.h"

namespace probe {

lorvane::NamePatterns noPatterns() {
    lorvane::NamePatterns patterns;
    patterns.track = patterns.bracket = patterns.custom = patterns.dash = false;
    return patterns;
}

bool takePatternSwitch(const QStringList& args, const QByteArrayList& raw, qsizetype& i,
                       lorvane::NamePatterns& patterns) {
    const QString& a = args[i];
    if (a == QLatin1String("--track"))
        patterns.track = true;
    else if (a == QLatin1String("--bracket"))
        patterns.bracket = true;
    else if (a == QLatin1String("--dash"))
        patterns.dash = true;
    else if (a == QLatin1String("--custom") && i + 1 < args.size()) {
        patterns.custom = true;
        patterns.separator = raw[++i];
    } else
        return false;
    return true;
}

} // namespace probe
