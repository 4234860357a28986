#include "InstanceFolder.h"

namespace {

// The longest file name of the instance: the socket's name must fit a socket address.
constexpr qsizetype kLongestName = 24;

} // namespace

QString InstanceFolder() {
    return PrivateRuntimeFolder(QStringLiteral("tarnwick"), kLongestName);
}

QString InstanceFilePath(const QString& name, const QString& suffix) {
    const QString folder = InstanceFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + name + suffix;
}
