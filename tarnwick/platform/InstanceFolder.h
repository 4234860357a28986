#pragma once

#include "common/PrivateFolders.h"

#include <QString>

// The folder of the instance's lock and command socket: the user's runtime folder when
// it is the user's own, else a folder made for the purpose that only the user can
// reach. Empty when there is none: then no other instance is given way to or reached.
QString InstanceFolder();

// A file of the program's instance in that folder (the lock, the command socket beside
// it); empty when there is no such folder.
QString InstanceFilePath(const QString& name, const QString& suffix);
