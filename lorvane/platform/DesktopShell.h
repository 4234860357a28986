#pragma once

#include "player/Shell.h"

namespace lorvane {

// The real desktop, through QDesktopServices.
class DesktopShell : public Shell {
public:
    bool openDocument(const QByteArray& path) override;
    bool openUrl(const QUrl& url) override;
    // Asks xdg-mime, which reads the same associations as the opener (xdg-open) does.
    std::optional<QString> defaultProgram(const QString& mimeType) override;

    static constexpr int QueryTimeoutMs = 2000;
};

} // namespace lorvane
