#pragma once

#include <QByteArray>
#include <QUrl>

namespace lorvane {

// A file URL that keeps the path's exact bytes, also when they are not valid UTF-8.
QUrl FileUrl(const QByteArray& path);

} // namespace lorvane
