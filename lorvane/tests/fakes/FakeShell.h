// FakeShell.h: a Shell that records what it was asked to open.
#pragma once

#include "platform/Shell.h"

#include <QList>

namespace lorvane {

// A shell that only records what it was asked to open, for tests.
class FakeShell : public Shell {
public:
    QList<QByteArray> documents;
    QList<QUrl> urls;

    bool openDocument(const QByteArray& path) override {
        documents << path;
        return true;
    }
    bool openUrl(const QUrl& url) override {
        urls << url;
        return true;
    }
};

} // namespace lorvane
