#pragma once

#include <QString>
#include <QStringList>

// Starts a program as a separate process and does not wait for it.
bool StartProgram(const QString& program, const QStringList& arguments);

// Whether a file (not a folder) exists at the path.
bool FileExists(const QString& path);
