#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

// The desktop's "open" action: a document goes to the viewer or player the desktop has
// chosen for its type (xdg-open). The real one is DesktopShell.h; tests use the recorder in
// FakeShell.h.
namespace lorvane {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a local file given by its file-system bytes; false when nothing could start.
    virtual bool openDocument(const QByteArray& path) = 0;
    // Opens a web address in the default browser.
    virtual bool openUrl(const QUrl& url) = 0;
    // The program the desktop opens a MIME type with (its desktop file's name), "" when
    // none is set, nothing when that cannot be told.
    virtual std::optional<QString> defaultProgram(const QString& /*mimeType*/) {
        return std::nullopt;
    }
};

} // namespace lorvane
