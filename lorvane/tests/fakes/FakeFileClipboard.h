// FakeFileClipboard.h: a FileClipboard that records what is put on it.
#pragma once

#include "platform/FileClipboard.h"

#include <QList>

namespace lorvane {

// A clipboard that only records the file lists put on it, for tests.
class FakeFileClipboard : public FileClipboard {
public:
    QList<QByteArrayList> copies;

    void setFiles(const QByteArrayList& paths) override { copies << paths; }
};

} // namespace lorvane
