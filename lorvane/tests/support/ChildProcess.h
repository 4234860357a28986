// ChildProcess.h: what every server or player a test rig starts shares.
#pragma once

#include <csignal>
#include <sys/prctl.h>

namespace lorvane::test {

// Set as a QProcess child modifier: the child outlives no test, not even a killed one.
inline void endWithTest() {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

} // namespace lorvane::test
