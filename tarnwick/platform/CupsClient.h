#pragma once

#include <QByteArray>
#include <QStringList>

// What one run of a CUPS client program (lp, lpstat) said.
struct CupsClientRun {
    bool started = false;  // false: the program is not installed
    bool answered = false; // ended within the time given
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a CUPS client program with C-locale messages, which are read below, and waits
// for it for no longer than timeoutMs while the program's events go on: a scheduler
// that is stopped but holds its socket takes the connection and never answers.
// A client that does not end in time is killed.
CupsClientRun RunCupsClient(const QString& program, const QStringList& arguments, int timeoutMs);

// Whether the scheduler is in doubt: a client has waited on it for more than a moment
// and is waiting still, or the last one that waited got no answer (and none has got one
// since, within kDoubtMs). The toolkit's own printer listing would then wait on it for
// half a minute or more, with the program's events held up.
inline constexpr int kDoubtMs = 30000;
bool SchedulerInDoubt();
