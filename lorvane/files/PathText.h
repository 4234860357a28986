#pragma once

#include <QByteArray>

// Paths as text: one spelling for the ways of writing the same place, without asking the
// file system where links lead.
namespace lorvane {

// "a//b", "a/./b" and "a/b/" become "a/b"; "/" stays "/". ".." is kept: a link before
// it decides where it leads.
QByteArray plainPath(const QByteArray& path);

// A relative path taken from the current folder, then plainPath ("" stays ""). Links are not
// resolved, so the path keeps the names the user chose.
QByteArray absolutePath(const QByteArray& path);

// Where the path leads with every link followed (realpath); "" when it leads nowhere.
QByteArray resolvedPath(const QByteArray& path);

} // namespace lorvane
