#include "Pactl.h"

#include <QProcess>
#include <QRegularExpression>

namespace lorvane::test {

std::optional<QString> pactl(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("pactl"), args);
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::optional<SinkChannels> defaultSinkVolume() {
    const auto out = pactl({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")});
    if (!out)
        return std::nullopt;
    // "Volume: front-left: 32769 /  50% / -18.06 dB,   front-right: 65536 / 100% / 0.00 dB"
    static const QRegularExpression channel(QStringLiteral(R"(([a-z-]+): (\d+) /)"));
    SinkChannels sink;
    auto it = channel.globalMatch(*out);
    while (it.hasNext()) {
        const auto m = it.next();
        const int raw = m.captured(2).toInt();
        sink.all.append(raw);
        if (m.captured(1) == QLatin1String("front-left"))
            sink.frontLeft = raw;
        else if (m.captured(1) == QLatin1String("front-right"))
            sink.frontRight = raw;
    }
    if (sink.all.isEmpty())
        return std::nullopt;
    return sink;
}

bool setDefaultSinkVolume(const QList<int>& raw) {
    QStringList args{QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@")};
    for (int v : raw)
        args.append(QString::number(v));
    return pactl(args).has_value();
}

} // namespace lorvane::test
