// ChildProcess.h: what every server or player a test rig starts shares.
#pragma once

#include <QDeadlineTimer>
#include <QThread>

#include <csignal>
#include <functional>
#include <sys/prctl.h>

namespace lorvane::test {

// Set as a QProcess child modifier: the child outlives no test, not even a killed one.
inline void endWithTest() {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

// Polls every 50 ms, without running the caller's events, until done() or ms have passed.
// (A player found on the bus sooner than that may not yet play the file it was given.)
inline bool waitForChild(const std::function<bool()>& done, int ms = 20000) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (done())
            return true;
        QThread::msleep(50);
    }
    return done();
}

} // namespace lorvane::test
