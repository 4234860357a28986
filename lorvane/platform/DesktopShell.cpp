#include "platform/DesktopShell.h"

#include "files/FileUrl.h"

#include <QDesktopServices>
#include <QProcess>

namespace lorvane {

bool DesktopShell::openDocument(const QByteArray& path) {
    return QDesktopServices::openUrl(FileUrl(path));
}

bool DesktopShell::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopShell::defaultProgram(const QString& mimeType) {
    QProcess query;
    query.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(QueryTimeoutMs)) {
        query.kill();
        query.waitForFinished(QueryTimeoutMs);
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(query.readAllStandardOutput())
        .section(QLatin1Char('\n'), 0, 0)
        .trimmed();
}

} // namespace lorvane
