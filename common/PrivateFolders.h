#pragma once

#include <QString>

// Where a program of this user keeps its lock and its sockets, and the checks that keep
// them out of another user's reach: a fixed name in a shared folder may have been made
// by someone else first.

// True when the path is a real folder (not a link) of this user that no one else may
// write into; strict also bars others from looking inside.
bool IsPrivateFolder(const QString& path, bool strict);

// True when the path is a socket (not a link to one) of this user.
bool IsOwnSocket(const QString& path);

// The user's runtime folder when it is the user's own, else <temporary folder>/
// <program>-runtime-<uid>, else the same name in the user's cache folder, made with mode
// 0700 and taken only when it turns out to be the user's own. A folder is taken only
// when a name of longestName bytes after it still fits a socket's address. Empty when
// there is none.
QString PrivateRuntimeFolder(const QString& program, qsizetype longestName);
