#include "store/StoreError.h"

#include "building/FileNameParsing.h"

namespace lorvane {

StoreError StoreError::cannotCreate(const QByteArray& path) {
    return StoreError(QStringLiteral("Cannot create file %1").arg(DisplayText(path)));
}

StoreError StoreError::cannotOpen(const QByteArray& path) {
    return StoreError(QStringLiteral("Cannot open file %1").arg(DisplayText(path)));
}

} // namespace lorvane
