#pragma once

#include <QString>

// The folder of the instance's lock and command socket: the user's runtime folder when
// it is the user's own, else a folder made for the purpose that only the user can
// reach. Empty when there is none: then no other instance is given way to or reached.
QString InstanceFolder();

// A file of the program's instance in that folder (the lock, the command socket beside
// it); empty when there is no such folder.
QString InstanceFilePath(const QString& name, const QString& suffix);

// True when the path is a real folder (not a link) of this user that no one else may
// write into; strict also bars others from looking inside.
bool IsPrivateFolder(const QString& path, bool strict);

// True when the path is a socket (not a link to one) of this user.
bool IsOwnSocket(const QString& path);
