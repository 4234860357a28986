#pragma once

#include "building/FileNameParsing.h"

#include <QByteArrayList>
#include <QStringList>

// The name-pattern switches the probe's subcommands share:
// --track, --bracket, --dash, --custom SEP. Only the switches given are on.
namespace probe {

// All patterns off, as before any switch is read.
lorvane::NamePatterns noPatterns();

// When args[i] is a pattern switch, applies it to patterns (taking the separator of
// --custom from raw, the same arguments as bytes, and stepping i past it) and returns true.
bool takePatternSwitch(const QStringList& args, const QByteArrayList& raw, qsizetype& i,
                       lorvane::NamePatterns& patterns);

} // namespace probe
