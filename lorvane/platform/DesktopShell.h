#pragma once

#include "platform/Shell.h"

namespace lorvane {

// The real desktop, through QDesktopServices.
class DesktopShell : public Shell {
public:
    bool openDocument(const QByteArray& path) override;
    bool openUrl(const QUrl& url) override;
};

} // namespace lorvane
