// FakeTaskbarEntry.h: a TaskbarEntry that records its calls.
#pragma once

#include "platform/TaskbarEntry.h"

#include <QHash>
#include <QList>

namespace lorvane {

// A task bar that only records what it was asked, for tests.
class FakeTaskbarEntry : public TaskbarEntry {
public:
    struct Call {
        QWindow* window;
        bool skipped;
    };
    QList<Call> calls;
    QHash<QWindow*, bool> skipped; // the last request per window

    void setSkipped(QWindow* window, bool skip) override {
        calls.append({window, skip});
        skipped[window] = skip;
    }
    bool isSkipped(QWindow* window) const { return skipped.value(window, false); }
};

} // namespace lorvane
