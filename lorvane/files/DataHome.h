#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The data home: where the database folder, the association file, the playlist and
// the help text live. It stands in for the folder of the program file.
//
// ProgramFolder() always ends in "/", so every path of the collection is built by
// appending to it.
namespace lorvane {

// LORVANE_HOME when set (created when missing); else the folder of the executable when
// it is writable; else ~/.local/share/lorvane/ (created when missing). Always ends in "/".
// The result is the file system's bytes, never decoded.
QByteArray ProgramFolder();

// The decision itself, without touching the environment: envHome is LORVANE_HOME (empty
// when unset), exeDir the folder of the executable, userDataDir ~/.local/share/lorvane.
// A folder is usable when it exists (or can be created) and is writable.
QByteArray resolveDataHome(const QByteArray& envHome, const QByteArray& exeDir,
                           const QByteArray& userDataDir);

// Appends "/" when folder does not end in one; an empty folder becomes "/".
QByteArray withTrailingSlash(QByteArray folder);

// The places the help text may be, in the order to try them: the data home's own copy,
// the copy beside the program (a build tree, or a program run from its own folder), and
// the copy installed in share/lorvane/ beside the program's bin/ folder, which is all an
// installed program whose data home is ~/.local/share/lorvane/ has.
QByteArrayList HelpTextFiles(const QByteArray& dataHome);

} // namespace lorvane
