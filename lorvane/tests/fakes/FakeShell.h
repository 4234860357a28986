// FakeShell.h: a Shell that records what it was asked to open.
#pragma once

#include "player/Shell.h"

#include <QList>

namespace lorvane {

// A shell that only records what it was asked to open, for tests.
class FakeShell : public Shell {
public:
    QList<QByteArray> documents;
    QList<QUrl> urls;
    // What defaultProgram answers for every type; by default it cannot tell.
    std::optional<QString> program;
    // Whether opening a document succeeds.
    bool opens = true;

    bool openDocument(const QByteArray& path) override {
        documents << path;
        return opens;
    }
    bool openUrl(const QUrl& url) override {
        urls << url;
        return true;
    }
    std::optional<QString> defaultProgram(const QString&) override { return program; }
};

} // namespace lorvane
